#pragma once
// The Help menu: a short guide to what the window's less obvious parts do
// (Auto, Trim!, the guide marks in the view, the fade rows), in a window of
// its own beside the main one (F1).
class TForm1;

void CreateHelpMenu(TForm1 &Form);
