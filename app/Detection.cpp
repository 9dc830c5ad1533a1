// Placeholder until the detection command lands.
#include "Unit1.h"

void TForm1::N5Click() {}
std::int32_t TForm1::SampleLevel(std::int32_t) { return 0; }
