#pragma once

#include <array>

#include "app/app_settings.h"
#include "platform/text_conversions.h"

// The display colour of an element colour kind, from the application's colour settings:
// 1 straight 2, 2 straight 3, 3 straight 4, 4 straight 2 darkened (each of red, green and
// blue times 0.8, cut to an integer), 5 ending, 6 special, 7 pass-through, 8 black,
// 9 user joint, 10 unknown, 11 tap-off, 12 system joint, 13 fire barrier, 14 support;
// any other kind straight 1.
CColor GetColor(const std::array<CColor, kColorCount>& colors, int kind);
