#pragma once
// The colours the view and its overview strip share, so the two pictures
// of one recording read alike.
#include <QRgb>

namespace viewcolours {

constexpr QRgb BandFill = 0x003F00;
constexpr QRgb Channel0 = 0xFF0000;
constexpr QRgb Channel1 = 0x0000FF;
constexpr QRgb Lime = 0x00FF00;
constexpr QRgb Playhead = 0xFFFFFF;

} // namespace viewcolours
