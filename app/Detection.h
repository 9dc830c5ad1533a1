#pragma once
// The detection command's settings from the tool window's bars, and the
// per-sample definition of the scan that the engine's direct scan is
// checked against.
#include "TrimArea.h"

class TForm1;

TTrimSettings ReadTrimSettings(const TForm1 &Form);
// Every level through TForm1::SampleLevel and the checked sample access.
void ScanTrimAreasPerSample(TForm1 &Form);
