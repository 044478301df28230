#pragma once

#include <array>

#include "app/app_settings.h"
#include "platform/draw_types.h"

// What the element drawing takes from the application and the output: the element
// colours and label styles of the settings, the support display switch, the system
// highlight colour and whether the output is monochrome (black-and-white printing, picture
// and DXF exports: black pens and white fills).
struct CElementDrawOptions {
  std::array<CColor, kColorCount> colors{};
  std::array<CLabelStyle, kLabelStyleCount> labels{};
  int supportDisplay = 2;  // 0 hides the supports
  bool monochrome = false;
  // The drawing is being recorded into a DXF file: marks the file cannot hold (pictures)
  // give way to figures it can.
  bool dxfRecording = false;
  CColor highlight{0, 120, 215};
  // The quick picture shown while the view moves under the mouse (DrawLightBox): the
  // faces' fills alone. The full picture follows once the view rests.
  bool light = false;

  static CElementDrawOptions FromSettings(const CAppSettings& settings, bool monochrome);
  bool operator==(const CElementDrawOptions&) const = default;
};
