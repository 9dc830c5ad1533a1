// Placeholder until the export and play commands land.
#include "Unit1.h"

void TForm1::ExtractArea(std::int32_t) {}
void TForm1::N6Click() {}
void TForm1::Playthistrimarea1Click() {}
