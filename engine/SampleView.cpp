#include "SampleView.h"

TSampleView SampleViewOf(TZuWave &Wave)
{
    TSampleView View;
    const TZuInternalWAVE *Internal = Wave.InternalWave();
    if (Internal == nullptr)
        return View;
    View.Format = Internal->FFormat;
    View.Data = Internal->FData;
    View.DataSize = Internal->FData != nullptr ? Internal->FDataSize : 0;
    return View;
}
