#pragma once
// The detection command's settings from the tool window's bars.
#include "engine/TrimArea.h"

class TForm1;

TTrimSettings ReadTrimSettings(const TForm1 &Form);
