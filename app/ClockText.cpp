#include "app/ClockText.h"

#include <algorithm>

QString ClockTextMs(std::int64_t Ms)
{
    Ms = std::max<std::int64_t>(Ms, 0);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(Ms / 3'600'000)
        .arg(Ms / 60'000 % 60, 2, 10, QLatin1Char('0'))
        .arg(Ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(Ms % 1000, 3, 10, QLatin1Char('0'));
}
