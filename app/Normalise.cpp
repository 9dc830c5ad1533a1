// Placeholder until the normalisation command lands.
#include "Unit1.h"

void TForm1::N3Click() {}
