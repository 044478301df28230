#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/text_conversions.h"

class CProfile;

// The display colours of element kinds, in the order the application keeps them.
enum ColorIndex : std::size_t {
  kColorSystemJoint,
  kColorUserJoint,
  kColorPassThrough,
  kColorStraight1,
  kColorStraight2,
  kColorStraight3,
  kColorStraight4,
  kColorSpecial,
  kColorEnding,
  kColorUnknown,
  kColorTapOff,
  kColorFireBarrier,
  kColorSupport,
  kColorCount
};

// The label styles of the layout view, in index order.
enum LabelStyleIndex : std::size_t {
  kLabelBranch,
  kLabelDimension,
  kLabelPosition,
  kLabelBom,
  kLabelRun,
  kLabelBusbar,
  kLabelText,
  kLabelImage,
  kLabelCartouche,
  kLabelDistance,
  kLabelStyleCount
};

// One label style. The image style keeps only its visible switch in the settings file.
struct CLabelStyle {
  bool visible = false;
  bool opaque = false;
  CLogFont font;  // height in points
  CColor fontColor;
  CColor background;
  int flags = 0;
  friend bool operator==(const CLabelStyle&, const CLabelStyle&) = default;
};

// The settings the program reads at start-up. A default-constructed value holds what
// a missing settings file gives.
struct CAppSettings {
  // The defaults of the settings keys (settings_keys.h) and of the colour and label tables.
  CAppSettings();

  std::string userName;  // "User"/"Name"
  // The name a new design is drawn by: the user's, none while the setting still holds
  // its placeholder.
  std::string AuthorName() const;
  std::array<CColor, kColorCount> colors{};
  float zoomIn = 0;  // "Zooms"
  float zoomOut = 0;
  float zoomAll = 0;
  float moveLeft = 0;  // "Moves"
  float moveRight = 0;
  float moveUp = 0;
  float moveDown = 0;
  int jointOverhang = 0;      // "Design"/"JointDebord"
  int realJoint = 0;          // "Design"/"RealJoint"
  int boxOverhang = 0;        // "Design"/"BoxDebord"
  int support = 0;            // "Design"/"Support"
  int backBuffer = 0;         // "Design"/"BackBuffer"
  int printFrame = 0;         // "Design"/"ImpFrm"
  int printBlackWhite = 0;    // "Design"/"ImpBW"
  int displayBlackWhite = 0;  // "Design"/"AffBW"
  int packaging = 0;          // "Database"/"Packaging"
  int special = 0;            // "Design"/"Special"
  std::array<CLabelStyle, kLabelStyleCount> labels{};
  std::string languageId;  // "Language"/"ID"
  int copper = 0;          // "Design"/"Copper"
  int apod = 0;            // "Design"/"APOD"

  friend bool operator==(const CAppSettings&, const CAppSettings&) = default;
};

// Reads every start-up key in the order the program reads them; missing keys give the
// defaults above, unreadable texts what their conversion gives (0, false, black).
CAppSettings ReadAppSettings(const CProfile& profile);

// Writes the six keys of one label style (the image style: its visible key only).
[[nodiscard]] bool WriteLabelStyle(CProfile& profile, LabelStyleIndex index,
                                   const CLabelStyle& style);

// The keys of a colour and of a label style in the settings file.
const char* ColorKey(ColorIndex index);
