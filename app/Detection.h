#pragma once
// The two ways the detection command reads levels. Both rebuild the form's
// FAreas/FAreaCount from ZU and the detection bars and give the same list
// and the same errors; the direct one is the fast path.
class TForm1;

// Every level through TForm1::SampleLevel and the checked sample access.
void ScanTrimAreasPerSample(TForm1 &Form);
// Levels straight from ZU's sample bytes. False, with nothing changed, when
// ZU's layout is not one it reads (the per-sample scan then reports it).
bool ScanTrimAreasDirect(TForm1 &Form);
