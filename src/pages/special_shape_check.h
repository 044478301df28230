#pragma once

#include "ranges/qg/qg_end_sizes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The limits of the special-shape page's six dimension fields (edits 1494, 1496, 1499,
// 1502, 1507, 1509): what each field may hold for the shape, the range and the other
// fields, shown when a field takes the focus and enforced when it is left or applied.

inline constexpr int kShapeFieldCount = 6;
inline constexpr int kShapeChant = 0;   // range QM "EMBOUT_CHANT"
inline constexpr int kShapePlate1 = 1;  // range QM "EMBOUT_PLAT1"
inline constexpr int kShapePlate2 = 2;  // range QM "EMBOUT_PLAT2"
inline constexpr int kShapeQGEnd = 9;   // every range QG end piece
inline constexpr int kShapeVariant6 = 100;

// Who asks: a field taking the focus (kShow), leaving it (kLeave) or the page applying
// (kApply).
enum class ECheckMode { kShow = 0, kLeave = 1, kApply = 2 };

// The page's members that the limits depend on, and the limits that one call leaves to
// the next.
struct CShapeCheckState {
  int shape = -1;      // -1 none; end piece: position (+100 with the variant-6 level)
  int position = 0;    // the end piece's list position on range QG
  bool cover = false;  // the cover page
  bool rangeQG = false;
  int qgKind = 0;         // 1, 2 or 3 on range QG
  bool variant3 = false;  // range QM variant 3
  int variant6Level = 0;
  bool largeCalibre = false;
  int neutralCount = 4;
  int coverCode = 0;  // range QM cover: its code
  int calibre = 0;    // range QM cover: "Calibre" (4 less on "QMC")
  // The bars of the element from the range (size, value).
  int barSize = 0;
  int barValue = 0;
  int referenceSecond = 0;  // second number of the run's reference row
  // Dimension members.
  std::int64_t J = 0, K = 0, M = 0, P = 0, Q = 0, R = 0, S = 0;
  std::int64_t coverA = 0, coverB = 0, coverM = 0, coverN = 0, coverC = 0, coverD = 0;
  std::int64_t width = 0, height = 0;
  // The edits as the page shows them.
  std::array<bool, kShapeFieldCount> shown{};
  std::array<bool, kShapeFieldCount> enabled{};
  bool switching = false;  // the property window is switching objects
  // Kept between calls.
  std::int64_t lower = 0;
  std::int64_t upper = 0;
};

// What a refusal in the apply mode tells the user.
enum class ECheckMessage { kNone, kRange, kQGTooSmall, kQGTooLarge };

// What a mode-0 call shows: a limit text in static 1498, or in static 1501 (or message
// 30034 there on variant 3).
struct CLimitText {
  int control = 0;  // 0: nothing shown
  int message = 0;  // a message number instead of the text
  std::string text;
};

struct CCheckResult {
  bool accepted = true;
  ECheckMessage message = ECheckMessage::kNone;
  char letter = 0;  // the field's letter in the range QG messages
  CLimitText limits;
};

// Formats whole millimetres as the page shows lengths.
using CLengthFormat = std::function<std::string(std::int64_t)>;

// One check: field -1 is no field. In kLeave and kApply the typed value (whole
// millimetres; nothing typed is 0) is stored into its member first.
CCheckResult CheckDimensions(CShapeCheckState& state, int field, ECheckMode mode,
                             std::int64_t typed, const CLengthFormat& format);

// The text of an apply-mode refusal: the range message with the limits, or on a range
// QG end piece the rule that failed.
std::string RefusalText(const CCheckResult& result, const CShapeCheckState& state,
                        const CLengthFormat& format);

// The limits of a range QM cover by its code.
struct CCoverLimits {
  std::int64_t lower;
  std::int64_t upper;
  std::int64_t base;
};
CCoverLimits QMCoverLimits(int code, int calibre, bool largeCalibre);
