// Straight and feed elements (kind 0) of the 3D exchange file: the device each variant
// gives in each range family, the side its feed is mounted on and the extra feed devices.
#include "export/z3d_coding.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "ranges/range_run.h"

namespace {

int MountSide(const CZ3dCoding& state, const CDev& element) {
  const auto* range = dynamic_cast<const CRangeRun*>(state.run);
  return range == nullptr ? 0 : range->IsMountReversed(&element, 0);
}

// Side 3 or 4 by the cover: which way the cover faces, seen through the run's turn.
int CoverSide(const CZ3dCoding& state, const CDev& element) {
  const int direction = element.GetDirection();
  bool cover = false;
  if (direction != 2 && direction != 3)
    cover = (((element.GetStyle() >> 26) & 3) == 1) != (element.GetRotation() == 64);
  if (state.tState != 0) cover = !cover;
  return cover ? 3 : 4;
}

// QJF feed boxes (variant 3): the centre distance by connection choice and rating.
int QjfBoxDevice(CZ3dCoding& state, const CDev& element, int& side) {
  const int choice = Z3dConnectionChoice(element);
  state.q1 = choice;
  TakeZ3dEntrax(state, element);
  if (state.entrax != 0) {
    state.p208 = 1;
  } else if (choice == 1 || choice == 2) {
    state.entrax = 124;
  } else if (choice == 4 || choice == 6) {
    state.entrax = 120;
  } else if (choice == 3 || choice == 5) {
    state.entrax = state.calibre >= 36 ? 120 : 80;
  }
  side = CoverSide(state, element);
  return 3;
}

int QjfFeed(CZ3dCoding& state, const CDev& element, int variant, int& side) {
  switch (variant) {
    case 2: return 4;
    case 3: return QjfBoxDevice(state, element, side);
    case 4: state.entrax = 80; return 1;
    case 5:
      state.q1 = Z3dConnectionChoice(element);
      state.p208 = -1;
      side = CoverSide(state, element);
      return 3;
    default: return -1;
  }
}

int QpFeed(CZ3dCoding& state, const CDev& element, int variant, int& side) {
  const int mount = MountSide(state, element);
  switch (variant) {
    case 2:
      state.q1 = mount == 2 ? 11 : 12;
      if (mount != 2) side = mount == 1 ? 1 : 2;
      return 4;
    case 3:
      if (state.calibre > 25) state.entrax = 80;
      return 1;
    case 4: state.p208 = -1; return 6;
    case 5:
      state.q1 = 13;
      side = mount != 0 ? 1 : 2;
      return 4;
    case 8:
    case 9:
      state.q1 = variant == 8 ? 15 : 14;
      side = mount != 0 ? 1 : 2;
      return 9;
    default: return -1;
  }
}

int QwFeed(CZ3dCoding& state, int variant) {
  switch (variant) {
    case 2: state.entrax = 70; return 1;
    case 3: return 4;
    case 5: state.p208 = -1; return 6;
    default: return -1;
  }
}

int FeedDevice(CZ3dCoding& state, const CDev& element, int& side) {
  const int variant = element.GetVariant();
  if (variant == 0) return -3;
  if (variant == 1) return 7;
  if (variant == 10) {
    const bool backFree = element.GetBackNeighbour() == nullptr;
    side = backFree != (element.GetDirection() == 2) ? 4 : 3;
    return 10;
  }
  switch (state.family) {
    case 1: return QjfFeed(state, element, variant, side);
    case 2: return QpFeed(state, element, variant, side);
    case 3: return QmFeedDevice(state, element);
    case 4: return QwFeed(state, variant);
    case 5: return QgFeedDevice(state, element, side);
    default: return -1;
  }
}

}  // namespace

void TakeZ3dEntrax(CZ3dCoding& state, const CDev& element) {
  state.entraxText = element.GetFieldText("ENTRAX").value_or("");
  state.entrax = Z3dInteger(state.entraxText);
}

int Z3dConnectionChoice(const CDev& element) {
  return static_cast<int>((element.GetStyle() >> 20) & 0xF);
}

int CountExtraDevices(const CRun& run, int family) {
  if (family != 3 && family != 4) return 0;
  int count = 1;
  for (const CDev* element : run.GetDevices()) {
    const int kind = element->GetKind();
    const int variant = element->GetVariant();
    if (kind == CDev::kEnd && (variant == 0 || variant == 1 || variant == (family == 3 ? 4 : 7)))
      --count;
    if (family == 3 && kind == CDev::kJunction2) ++count;
  }
  return count < 0 ? 0 : count;
}

void CodeFeed(CZ3dCoding& state, const CDev& element, int pending, std::string& file) {
  if (pending != 0) {
    if (QmMergeElbowAndFeed(state, element, pending) || state.cut == 2)
      WriteExtraDevices(state, file);
    return;
  }
  int side = 0;
  state.device = FeedDevice(state, element, side);
  if (state.entrax != 0) state.entraxElement = &element;
  const bool qualified = state.device > 0 && state.device != 7;
  if (state.cut == -1) {
    state.cut = 0;
    state.p200 = state.lengthOn;
    static constexpr int kFirst[] = {1, 7, 8, 3, 4};
    if (qualified) state.q2 = kFirst[side];
    if (qualified && state.second > 0) state.second = -state.second;
    return;
  }
  state.cut = 2;
  state.p200 = state.lengthBack;
  static constexpr int kLater[] = {2, 9, 10, 5, 6};
  if (qualified) state.q2 = kLater[side];
  WriteExtraDevices(state, file);
}
