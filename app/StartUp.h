#pragma once
// The windows as the program opens them: the remembered session put back,
// each window fitted to its screen, the tool window shown before the main
// window; the session is written when the program ends.
class TForm1;
class TForm2;

void ShowAtStart(TForm1 &Form1, TForm2 &Form2);
