// QG runs in the 3D exchange file: their feeds and ends, the centre distances and bars
// that the range works out for them, and the extra device of their joints.
#include "export/z3d_coding.h"
#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"

namespace {

// The centre distance from "ENTRAX"; 115 by default for the first connection, else none
// and the marker that the distances are the range's own.
void QgEntrax(CZ3dCoding& state, const CDev& element) {
  TakeZ3dEntrax(state, element);
  if (state.entrax == 0 && state.q1 == 3) state.entrax = 115;
  else state.p208 = 1;
}

int QgBusDuctDevice(CZ3dCoding& state, const CDev& element, int& side) {
  state.q1 = Z3dConnectionChoice(element) + 5;
  state.entrax = 1;
  state.p208 = 1;
  const bool flipped = StyleBit(element.GetStyle(), 12);
  if (state.q1 == 8) {
    const bool ahead = element.GetNeighbour(element.GetDirection()) != nullptr;
    side = flipped != ahead ? 1 : 2;
  } else {
    side = flipped ? 3 : 4;
  }
  return 10;
}

int QgEndDevice(CZ3dCoding& state, const CDev& element, int& side) {
  const int choice = Z3dConnectionChoice(element);
  state.q1 = choice == 1 ? 3 : choice + 3;
  if (state.q1 == 5 && StyleBit(element.GetStyle(), 13)) state.q1 = 10;
  QgEntrax(state, element);
  const bool flipped = StyleBit(element.GetStyle(), 12);
  side = state.q1 < 5 ? (flipped ? 2 : 1) : (flipped ? 3 : 4);
  return 3;
}

int QgAccessoryDevice(CZ3dCoding& state, const CDev& element) {
  int accessory = Z3dInteger(element.GetFieldText("QGACC").value_or(""));
  if (accessory == 0) accessory = Z3dInteger(state.run->GetPropText("Neutral"));
  state.q1 = accessory + 2;
  return 8;
}

}  // namespace

int QgFeedDevice(CZ3dCoding& state, const CDev& element, int& side) {
  switch (element.GetVariant()) {
    case 2: {
      const int choice = Z3dConnectionChoice(element);
      state.q1 = choice == 1 ? 3 : choice == 3 ? 9 : choice + 3;
      QgEntrax(state, element);
      return 1;
    }
    case 3: return QgBusDuctDevice(state, element, side);
    case 5:
      state.q1 = 11;
      state.entrax = 115;
      return 4;
    case 6: return QgEndDevice(state, element, side);
    case 7: return QgAccessoryDevice(state, element);
    default: return -1;
  }
}

std::string QgCentreDistances(const CZ3dCoding& state) {
  const auto* run = dynamic_cast<const CRunQG*>(state.run);
  if (run == nullptr || state.entraxElement == nullptr) return {};
  // The range rules take the element to fill in what it lacks; the export only reads.
  CDev& element = const_cast<CDev&>(*state.entraxElement);
  const auto [a, b, c, d] = run->GetCentreDistances(element);
  const int neutral = Z3dInteger(run->GetPropText("Neutral"));
  std::string text;
  if (neutral == 3) {
    text = DecimalParameter(204, a) + DecimalParameter(205, 0) + DecimalParameter(206, -b);
  } else if (neutral == 4) {
    const double y = 0.5 * b;
    text = DecimalParameter(204, a + y) + DecimalParameter(205, y) + DecimalParameter(206, -y) +
           DecimalParameter(207, -y - c);
  } else if (neutral == 5) {
    text = DecimalParameter(204, a + b) + DecimalParameter(205, b) + DecimalParameter(206, 0) +
           DecimalParameter(207, -c) + DecimalParameter(219, -c - d);
  }
  int length = 0, width = 0, thickness = 0;
  run->GetBarGeometry(length, width, thickness, &element);
  return text + IntegerParameter(220, length) + IntegerParameter(221, width) +
         IntegerParameter(222, thickness);
}

int QgJointExtra(const CZ3dCoding& state, const CDev& element) {
  const auto* run = dynamic_cast<const CRunQG*>(state.run);
  if (run == nullptr) return 0;
  switch (run->ClassifyKind9Element(&element)) {
    case 1: return 1;
    case 6: return 2;
    case 2: return -1;
    default: return 0;
  }
}
