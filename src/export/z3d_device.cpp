#include "export/z3d_coding.h"
#include "export/z3d_path.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool HasAt(std::string_view text, std::size_t at, std::string_view part) {
  return text.size() >= at + part.size() && text.substr(at, part.size()) == part;
}

// The first elbow of a possible pair, or a QW "EF" elbow that is a device of its own.
bool CodeSingleElbow(CZ3dCoding& state, const CDev& element, int pending) {
  if (state.family == 4 && HasAt(state.name, 5, "EF")) {
    state.device = 27;
    state.q1 = state.q2 = 0;
    state.p200 = HasAt(state.name, 8, "20") ? 2000 : 1000;
    state.p201 = state.p202 = state.p203 = state.p6 = 0;
    return true;
  }
  if (pending != 0) return false;
  const int t = state.turn;
  if (t == 0) return true;
  state.device = 21;
  state.q1 = t;
  state.p200 = state.lengthBack;
  state.p201 = state.lengthOn;
  const int angle = Z3dInteger(element.GetFieldText("ELBOW_ANGL").value_or(""));
  state.p6 = angle == 90 ? 0 : angle;
  if (state.family == 3 && state.name.size() > 10) {
    if (state.name[10] == 'D') state.p208 = 2;
    if (state.name[10] == 'E') state.p208 = 3;
  }
  if (state.family == 5) state.q2 = t <= 2 ? 5 : 2;  // the mark that would give 4 or 1 is not kept
  return true;
}

void CodeElbowPair(CZ3dCoding& state, int t) {
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
}

void CodeElbow(CZ3dCoding& state, const CDev& element, int pending) {
  if (CodeSingleElbow(state, element, pending)) return;
  const int t = state.turn;
  if (pending == 21 && state.p6 == 0) {
    CodeElbowPair(state, t);
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
    return;
  }
  if (pending == 1 && state.family == 3) {
    state.device = 2;
    state.p201 = state.lengthOn;
    state.q1 = t + (state.q1 == 1 ? 2 : 6);
  }
}

int FirstBranchSide(const CDev& element, int entry, int next) {
  for (int face = 0; face < CDev::kFaceCount; ++face)
    if (face != entry && face != next && element.GetNeighbour(face) != nullptr) return face;
  return -1;
}

// A QJF tee turning to a side is a tap-off box; only a box reference ("PB") can code it.
void CodeTapOffBox(CZ3dCoding& state, const CDev& element, int t) {
  if (!HasAt(element.GetReference(), 5, "PB")) {
    state.device = -1;
    return;
  }
  state.device = 41;
  state.q1 = t == 1 ? 2 : 1;
  state.q2 = state.calibre / 10;
  state.p202 = -1;
  state.tapOffBox = element.GetReference();
  state.turnAtBox = t;
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
  if (t == 1 || t == 2) CodeTapOffBox(state, element, t);
}

void CodePhase(CZ3dCoding& state, const CDev& element) {
  const int variant = element.GetVariant();
  const bool flip = StyleBit(element.GetStyle(), 12);
  const int total = AddLengths(state.lengthOn, state.lengthBack);
  int device = -1;
  if (state.family == 1 && variant == 3) device = 14;
  if (state.family == 2 && (variant == 3 || variant == 4)) {
    device = variant == 3 ? 5 : 30;
    if (flip) state.marks |= 1;
  }
  if ((state.family == 3 || state.family == 5) && variant >= 5 && variant <= 16) {
    device = 14;
    state.q1 = variant - 4;
    if (flip) state.marks = 3;
    if (state.q1 == 7) state.q2 = StyleBit(element.GetStyle(), 13) ? 2 : 1;
    if (state.q1 == 11) state.q2 = 1;  // the mark that would give 2 is not kept
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
    case 0:
      if (family == 5) state.q2 = 7;  // the mark that would give 6 is not kept
      return 11;
    case 1:
      if (family == 2) state.q1 = 3;
      if (family == 3) state.q1 = 1;
      return family == 4 ? 11 : 12;
    case 2:
      // The second outlet layout is a length with outlets like the first; only QM and QP
      // tell it apart by a qualifier, the others by the reference alone.
      if (family == 2) state.q1 = 4;
      if (family == 3) state.q1 = 2;
      return 12;
    case 3:
      if (family == 2) state.q2 = element.GetLength() == 800 ? 3 : 8;
      if (family == 3) state.q1 = 3;
      return family == 1 ? -1 : 13;
    case 4: return family == 3 ? 17 : -1;
    default: return -1;
  }
}

void CodeJoint(CZ3dCoding& state, const CDev& element, int pending) {
  if (!element.IsActive()) {
    state.device = -4;
    return;
  }
  state.cut = 1;
  if (state.family == 5) state.jointExtra = QgJointExtra(state, element);
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
  if (state.family == 3) state.device = QmJointDevice(state, element, state.device);
  state.p200 = AddLengths(state.lengthBack, state.p128);
  if (state.family == 3 && element.GetVariantIndex() > 0 && StyleBit(element.GetStyle(), 12))
    state.marks = 3;
}

// QM and QG fixings carry a kit: a further device in a group of its own at the kit's
// distance from the fixing.
bool CodeKit(CZ3dCoding& state, const CDev& element, int pending) {
  if (state.family != 3 && state.family != 5) return false;
  state.device = pending;
  const std::string kit = element.GetFieldText("KITCF").value_or("");
  if (kit.empty() || state.second != 0) return true;
  state.kitTokens =
      state.position + StraightTokens(AddLengths(Z3dInteger(kit), element.GetLength()));
  state.second = -44;
  state.r1 = 0;
  state.r2 = 1;
  return true;
}

// QP fixings: the kit length of the fixing after a pair of elbows, an elbow or before one.
void NoteQpKitLength(CZ3dCoding& state, const CDev& element, int pending) {
  if (state.family != 2 || element.GetActive() <= 1 || state.kit != 0) return;
  const CDev* ahead = element.GetNeighbour(element.GetDirection());
  if (pending == 23 || pending == 24) {
    state.kitSlot = 2;
  } else if (pending == 21) {
    state.kitSlot = 1;
  } else if (ahead != nullptr && ahead->GetKind() == CDev::kElbow) {
    state.kitSlot = 0;
  } else {
    return;
  }
  state.kit = state.lengthBack;
}

void CodeFixing(CZ3dCoding& state, const CDev& element, int pending) {
  if (CodeKit(state, element, pending)) return;
  const int variant = element.GetVariant();
  if (variant == 0 || variant == 2) {
    state.device = pending;
  } else if (variant == 1 && pending == 0 && state.p128 == 0) {
    state.p128 = state.lengthBack;
    state.device = 0;
    if (state.family == 2) {
      state.device = 15;
      state.p200 = AddLengths(state.lengthOn, state.lengthBack);
    }
  }
  NoteQpKitLength(state, element, pending);
}

}  // namespace

int AddLengths(long long first, long long second) {
  constexpr long long kLongest = 1'000'000'000;
  return static_cast<int>(std::clamp(first + second, -kLongest, kLongest));
}

int Z3dInteger(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  int value = 0;
  std::from_chars(text.data() + first, text.data() + text.size(), value);
  return value;
}

void CodeElement(CZ3dCoding& state, const CDev& element, std::string& file) {
  const int pending = state.device;
  if (pending >= 0) state.device = -1;
  switch (element.GetKind()) {
    case CDev::kEnd: CodeFeed(state, element, pending, file); break;
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
