#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "reference/ref_line_edit.h"

// One option of the choice panel: the check box it stands on (0..5), the code it stores
// and its caption.
struct CRefChoiceOption {
  int box = 0;
  int code = 0;
  std::string caption;
  bool checked = false;
};

// The fixing spacing of the panel in centimetres: its limits and whether it shows.
struct CRefPitch {
  bool shown = false;
  bool readOnly = false;
  int spinMin = 1, spinMax = 3;  // whole metres of the spin
  int minCm = 50, maxCm = 300;   // what OK accepts
};

// What the panel shows for a choice kind 0..9 of the line being edited.
struct CRefChoicePanelView {
  int titleMessage = 0;
  std::vector<CRefChoiceOption> options;
  CRefPitch pitch;
  bool poleCombo = false;  // "2" / "4" for the straight members of QPA, Qpa and QPC
  int pole = 0;            // 0 "2", 1 "4"
};
CRefChoicePanelView RefChoicePanelFor(CRefLineEditContext& context, int kind);

// What the user left in the panel: the checked box (-1 none), the pitch in centimetres
// (-1 when the pitch is not shown) and the pole entry.
struct CRefChoicePanelInput {
  int box = -1;
  int pitchCm = -1;
  int pole = 0;
};

// Stores the choice into the family choices or the line. Returns whether anything
// changed; member is the component a family now holds (or the code stored).
bool RefChoicePanelStore(CRefLineEditContext& context, int kind, const CRefChoicePanelInput& input,
                         int& member);

// The pitch as the panel shows it: whole metres, or metres with the decimal character
// and two digits of centimetres.
std::string RefPitchText(int centimetres, char decimal);
// A typed pitch (the user's decimal character or "." or ",") rounded to one decimal, as
// centimetres; nothing when it is not a number within the limits.
std::optional<int> RefParsePitch(const std::string& text, const CRefPitch& pitch);
