#pragma once

#include <array>

#include "view/scene_drawing.h"

class CProfile;
struct CAppSettings;

// The display layers the user switches on and off: ten flags of the application (the
// visible switches of the label styles), written back to section "Label" when toggled.
inline constexpr int kSupportLayer = 6;  // its command switches the support display
inline constexpr int kRunLayer = 4;

// The settings key of layer 0..9; null otherwise.
const char* DisplayLayerKey(int index);
// The layer a view command toggles, or -1 (commands 32994..32998, 32992, 33063, 33001).
int DisplayLayerOfCommand(int command);

// What a toggle changed.
struct CLayerToggle {
  bool changed = false;         // false: the index switches nothing
  bool supportChanged = false;  // the support display changed: the bill-of-materials grids follow
  bool written = true;          // false: the settings file could not keep the change
};

// Switches layer index of the settings and writes what changed to the profile (when
// given); a change the file cannot keep still holds for this run of the program. Index 6 switches
// the support display between 0 and 2 ("Design"/"Support") and sets the run layer to follow it;
// indexes 0..5, 7 and 8 invert their flag; 9 and anything else change nothing (the dimension tool
// keeps layer 9).
CLayerToggle ToggleDisplayLayer(CAppSettings& settings, CProfile* profile, int index);

// The drawing options of the application's settings.
CSceneDrawOptions SceneOptionsFromSettings(const CAppSettings& settings, bool monochrome);
