#pragma once

#include <array>
#include <optional>

class C3DProjection;

// The fourteen preset orientations of the layout view and the angles the view angle
// dialog shows. Angles are whole degrees; every conversion uses floor modulo, so any
// integer (negative or beyond a turn) lands on the same direction.
using CViewAngles = std::array<int, 3>;

inline constexpr int kViewPresetCount = 14;

// The projection angles of preset 0..13; none for any other number.
std::optional<CViewAngles> ViewPresetAngles(int preset);
// The command of preset 0..13 (33016..33023, then 33006..33011); 0 otherwise.
int ViewPresetCommand(int preset);
// The preset whose angles equal these (compared from 13 down to 0, each angle taken
// modulo 360), or -1.
int DetectViewPreset(const CViewAngles& angles);
CViewAngles ProjectionAngles(const C3DProjection& projection);

// An angle in 0..359.
int NormalizeDegrees(long long degrees);

// The dialog shows -s(a0), s(a1), s(a2) with s(a) in -179..180; and back.
CViewAngles DialogAnglesFromProjection(const CViewAngles& projection);
CViewAngles ProjectionAnglesFromDialog(const CViewAngles& dialog);

// The dialog's combo box: entries 0..3 stand for presets 0..3 and entries 4..9 for
// presets 8..13. The preset of an entry (-1 outside 0..9) and the entry of a preset
// (-1 for a preset the combo does not list or none).
int PresetOfDialogEntry(int entry);
int DialogEntryOfPreset(int preset);
