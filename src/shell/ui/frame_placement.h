#pragma once

#include <vector>

#include "app/window_placement.h"

class CProfile;
class QWidget;

// The main window's placement in section "Application Layout" of the settings file:
// "Flags" and "ShowCmd" in decimal, "MinPos", "MaxPos" and "NormalPos" as rectangle
// texts. Keys that are missing or cannot be read keep their defaults.
CWindowPlacement ReadWindowPlacement(const CProfile& profile);
[[nodiscard]] bool WriteWindowPlacement(CProfile& profile, const CWindowPlacement& placement);

// The available rectangles of the screens of this desktop.
std::vector<CRect> ScreenRectangles();

// Reads the placement, keeps it on the screens and applies it to the window (a
// maximised show command maximises it once it is shown).
void RestoreWindowPlacement(QWidget& window, const CProfile& profile);
// The window's current placement written back.
[[nodiscard]] bool SaveWindowPlacement(const QWidget& window, CProfile& profile);
