#include "engine/SampleView.h"

TSampleView SampleViewOf(TZuWave &Wave)
{
    TSampleView View;
    if (Wave.StoredData() == nullptr)
        return View;
    View.Format = Wave.StoredFormat();
    View.Data = Wave.StoredData();
    View.DataSize = Wave.StoredDataSize();
    return View;
}
