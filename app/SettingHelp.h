#pragma once
// A tooltip on every row of the tool window's settings: what the setting
// does, its unit and its name on redivev-split's command line. A designed
// hint keeps its place on its scroll bar.
class TForm1;

void DescribeSettings(TForm1 &Form);
