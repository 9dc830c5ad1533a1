#pragma once
// A .wav file dropped on the main window opens as if chosen in the open
// dialog.

class TForm1;

// The main window takes drags that carry exactly one local file whose name
// ends in .wav (in any case); other drags are refused.
void AcceptWaveDrops(TForm1 &Form);
