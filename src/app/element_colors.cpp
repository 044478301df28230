#include "app/element_colors.h"

namespace {

// Exact integer form of "times 0.8, cut to an integer".
int Darken(int component) { return component * 4 / 5; }

}  // namespace

CColor GetColor(const std::array<CColor, kColorCount>& colors, int kind) {
  switch (kind) {
    case 1: return colors[kColorStraight2];
    case 2: return colors[kColorStraight3];
    case 3: return colors[kColorStraight4];
    case 4: {
      const CColor base = colors[kColorStraight2];
      return MakeColor(Darken(base.red), Darken(base.green), Darken(base.blue));
    }
    case 5: return colors[kColorEnding];
    case 6: return colors[kColorSpecial];
    case 7: return colors[kColorPassThrough];
    case 8: return MakeColor(0, 0, 0);
    case 9: return colors[kColorUserJoint];
    case 10: return colors[kColorUnknown];
    case 11: return colors[kColorTapOff];
    case 12: return colors[kColorSystemJoint];
    case 13: return colors[kColorFireBarrier];
    case 14: return colors[kColorSupport];
    default: return colors[kColorStraight1];
  }
}
