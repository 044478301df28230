#include "export/z3d_coding.h"
#include "export/z3d_path.h"
#include "model/dev.h"
#include "model/run.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

int IntegerOf(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  int value = 0;
  std::from_chars(text.data() + first, text.data() + text.size(), value);
  return value;
}

bool Bit(std::uint32_t word, int bit) { return ((word >> bit) & 1) != 0; }

// Side s of the qualifier rules: 0 for none.
int StraightFeed(CZ3dCoding& state, const CDev& element, int& side) {
  const int variant = element.GetVariant();
  const int family = state.family;
  if (variant == 0) return -3;
  if (variant == 1) return 7;
  if (variant == 2 && family == 4) {
    state.entrax = 70;
    return 1;
  }
  if (variant == 4 && family == 1) {
    state.entrax = 80;
    return 1;
  }
  if (variant == 10) {
    const bool backFree = element.GetBackNeighbour() == nullptr;
    side = backFree != (element.GetDirection() == 2) ? 4 : 3;
    return 10;
  }
  return -1;
}

void CodeFeed(CZ3dCoding& state, const CDev& element, int pending) {
  if (pending != 0) return;
  int side = 0;
  state.device = StraightFeed(state, element, side);
  const bool qualified = state.device > 0 && state.device != 7;
  if (state.cut == -1) {
    state.cut = 0;
    state.p200 = state.lengthOn;
    static constexpr int kFirst[] = {1, 7, 8, 3, 4};
    if (qualified) state.q2 = kFirst[side];
  } else {
    state.cut = 2;
    state.p200 = state.lengthBack;
    static constexpr int kLater[] = {2, 9, 10, 5, 6};
    if (qualified) state.q2 = kLater[side];
  }
}

void CodeElbow(CZ3dCoding& state, const CDev& element, int pending) {
  const int t = state.turn;
  if (pending == 0) {
    if (t == 0) return;
    state.device = 21;
    state.q1 = t;
    state.p200 = state.lengthBack;
    state.p201 = state.lengthOn;
    const int angle = IntegerOf(element.GetFieldText("ELBOW_ANGL").value_or(""));
    state.p6 = angle == 90 ? 0 : angle;
    return;
  }
  if (pending == 21 && state.p6 == 0) {
    if (t == state.q1 || t == 0) return;
    const bool opposite =
        (state.q1 + t == 3 && t != state.q1 && state.q1 <= 2 && t <= 2) || (state.q1 + t == 7);
    if (opposite) {
      state.device = 23;
    } else {
      static constexpr int kPairs[5][5] = {
          {0, 0, 0, 0, 0}, {0, 0, 0, 5, 6}, {0, 0, 0, 7, 8}, {0, 9, 10, 0, 0}, {0, 11, 12, 0, 0}};
      state.device = 24;
      state.q1 = kPairs[state.q1][t];
    }
    state.q2 = 0;
    state.p202 = state.lengthOn;
    return;
  }
  const bool sideTurn = t == 1 || t == 2;
  if (pending == 23 && (state.q1 == 3 || state.q1 == 4) && sideTurn && state.p6 == 0) {
    state.device = 25;
    state.q1 = t + (state.q1 == 3 ? 8 : 10);
    state.p203 = state.lengthOn;
    return;
  }
  const bool fits = (state.q1 == 5 && t == 4) || (state.q1 == 6 && t == 3) ||
                    (state.q1 == 7 && t == 4) || (state.q1 == 8 && t == 3);
  if (pending == 24 && fits && state.p6 == 0) {
    state.device = 25;
    state.p203 = state.lengthOn;
  }
}

int FirstBranchSide(const CDev& element, int entry, int next) {
  for (int face = 0; face < CDev::kFaceCount; ++face)
    if (face != entry && face != next && element.GetNeighbour(face) != nullptr) return face;
  return -1;
}

void CodeTee(CZ3dCoding& state, const CDev& element, int entry, int next) {
  const int branch = FirstBranchSide(element, entry, next);
  const int branchLength = branch < 0 ? 0 : StraightLengthTowards(element, branch);
  int t = state.turn;
  state.p200 = state.lengthBack;
  if (t != 0) {
    state.p201 = state.lengthOn;
    state.p202 = branchLength;
  } else {
    t = branch < 0 ? 0 : state.run->GetTurnCode(element, entry, branch, state.tState);
    state.p201 = branchLength;
    state.p202 = state.lengthOn;
  }
  if (t == 0) return;
  state.device = 22;
  state.q1 = t;
  if (state.family != 1) return;
  if (t == 3 || t == 4) state.q2 = t == 3 ? 9 : 8;
  if (t == 1 || t == 2) state.device = -1;  // the QJF tap-off box is not coded yet
}

void CodePhase(CZ3dCoding& state, const CDev& element) {
  const int variant = element.GetVariant();
  const bool flip = Bit(element.GetStyle(), 12);
  const int total = state.lengthOn + state.lengthBack;
  int device = -1;
  if (state.family == 1 && variant == 3) device = 14;
  if (state.family == 2 && (variant == 3 || variant == 4)) {
    device = variant == 3 ? 5 : 30;
    if (flip) state.marks |= 1;
  }
  if (state.family == 4 && variant == 1 && total == 1000) device = 27;
  if (device > 0) {
    state.device = device;
    state.p200 = total;
  }
}

int JointDevice(CZ3dCoding& state, const CDev& element) {
  const int family = state.family;
  switch (element.GetVariantIndex()) {
    case 0: return 11;
    case 1:
      if (family == 2) state.q1 = 3;
      return family == 4 ? 11 : 12;
    case 2:
      if (family == 2) state.q1 = 4;
      return family == 2 ? 12 : -1;
    case 3:
      if (family == 2) state.q2 = element.GetLength() == 800 ? 3 : 8;
      return family == 1 ? -1 : 13;
    default: return -1;
  }
}

void CodeJoint(CZ3dCoding& state, const CDev& element, int pending) {
  if (!element.IsActive()) {
    state.device = -4;
    return;
  }
  state.cut = 1;
  if (pending != 0) {
    if (pending > 0) state.device = pending;
    return;
  }
  if (state.lengthBack == 0) {
    state.cut = 0;
    state.device = 0;
    return;
  }
  state.device = JointDevice(state, element);
  state.p200 = state.lengthBack + state.p128;
}

void CodeFixing(CZ3dCoding& state, const CDev& element, int pending) {
  const int variant = element.GetVariant();
  if (variant == 0 || variant == 2) {
    state.device = pending;
    return;
  }
  if (variant != 1 || pending != 0 || state.p128 != 0) return;
  state.p128 = state.lengthBack;
  state.device = 0;
  if (state.family == 2) {
    state.device = 15;
    state.p200 = state.lengthOn + state.lengthBack;
  }
}

}  // namespace

void CodeElement(CZ3dCoding& state, const CDev& element) {
  const int pending = state.device;
  if (pending >= 0) state.device = -1;
  switch (element.GetKind()) {
    case CDev::kEnd: CodeFeed(state, element, pending); break;
    case CDev::kStraight:
    case CDev::kBend: state.device = pending; break;
    case CDev::kElbow: CodeElbow(state, element, pending); break;
    case CDev::kJunction2:
      if (pending == 0) CodeTee(state, element, state.entry, state.next);
      break;
    case CDev::kJunction3:
      if (pending == 0) {
        state.device = 26;
        state.p200 = state.p201 = state.p202 = state.p203 = state.lengthBack;
      }
      break;
    case CDev::kInLine: CodeFixing(state, element, pending); break;
    case CDev::kInLineVariant:
      if (pending == 0) CodePhase(state, element);
      break;
    case CDev::kJoint:
    case CDev::kJoint2: CodeJoint(state, element, pending); break;
    default: break;
  }
}
