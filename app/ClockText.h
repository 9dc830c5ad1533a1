#pragma once
// A time in a recording as a clock reading, h:mm:ss.mmm.
#include <QString>

#include <cstdint>

// Ms in milliseconds; below 0 reads as the start.
QString ClockTextMs(std::int64_t Ms);
