#pragma once
// A window placed where the screen has room for it: a designed or
// remembered size larger than the screen's usable area (a small screen, a
// scale factor, a screen gone since the last run) would open with its
// frame, its menu or its edges out of reach.
class QWidget;

// Shrinks Window so that its frame fits the usable area of its screen and
// moves it inside that area where it stood partly outside.
void FitToScreen(QWidget &Window);
