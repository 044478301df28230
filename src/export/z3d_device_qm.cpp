// QM runs in the 3D exchange file: their feeds and ends, an elbow and a feed made one
// device, the options of their lengths with outlets and the centre distances the range
// works out for its connection units.
#include "export/z3d_coding.h"
#include "model/element/dev.h"
#include "model/run/phase_order.h"
#include "ranges/qm/run_qm.h"

namespace {

const CRunQM* QmRun(const CZ3dCoding& state) { return dynamic_cast<const CRunQM*>(state.run); }

// The adapter of the run's rating to the neighbouring ranges, as the unit stands.
int AdapterCode(const CZ3dCoding& state, const CDev& element) {
  const CRunQM* run = QmRun(state);
  int mode = 2;
  if (run != nullptr) run->CrossRangeAdapters(element, mode);
  return run == nullptr ? -1 : mode;
}

// A transformer connection: its first centre distance, worked out by the range.
void TakeConnectionDistance(CZ3dCoding& state, const CDev& element) {
  const CRunQM* run = QmRun(state);
  state.entraxText.clear();
  state.entrax = run == nullptr ? 0 : run->GetCentreDistances(element, 'A')[0];
  state.p208 = 1;
}

// Variants 2 and 20: the centre distance given, 115 by default for the first connection;
// false when there is none.
bool TakeFeedDistance(CZ3dCoding& state, const CDev& element) {
  if (element.GetVariant() == 20) {
    TakeConnectionDistance(state, element);
    return true;
  }
  TakeZ3dEntrax(state, element);
  if (state.entrax != 0) {
    state.p208 = 1;
    return true;
  }
  if (Z3dConnectionChoice(element) != 1) return false;
  state.entrax = 115;
  return true;
}

int EndBoxQualifier(const CDev& element) {
  switch (Z3dConnectionChoice(element)) {
    case 1: {
      const std::string& reference = element.GetReference();
      return reference.size() > 10 && reference[10] == '2' ? 4 : 3;
    }
    case 2: return StyleBit(element.GetStyle(), 12) ? 5 : 6;
    case 3: return 7;
    default: return 0;
  }
}

void SetSecond(CZ3dCoding& state, int device, int r1, int r2) {
  state.second = device;
  state.r1 = r1;
  state.r2 = r2;
}

}  // namespace

int QmFeedDevice(CZ3dCoding& state, const CDev& element) {
  const int variant = element.GetVariant();
  const bool secondChoice = Z3dConnectionChoice(element) == 2;
  switch (variant) {
    case 2:
    case 20: state.q1 = secondChoice ? 2 : 1; return TakeFeedDistance(state, element) ? 1 : -1;
    case 3:
      state.q1 = secondChoice ? 2 : 1;
      state.p208 = -1;
      return 1;
    case 4: return -5;
    case 5:
      state.q1 = 1;
      state.entrax = 115;
      SetSecond(state, 42, 0, 1);
      return 1;
    case 6:
      state.q1 = EndBoxQualifier(element);
      TakeZ3dEntrax(state, element);
      state.p208 = 1;
      return 3;
    case 7:
      state.q1 = 1;
      state.entrax = 115;
      SetSecond(state, 46, 0, AdapterCode(state, element) + 1);
      return 1;
    case 8: {
      state.q1 = StyleBit(element.GetStyle(), 13) ? 3 : 4;
      const bool backFree = element.GetBackNeighbour() == nullptr;
      if (backFree == StyleBit(element.GetStyle(), 14)) state.q1 += 2;
      return 4;
    }
    case 9: state.q1 = AdapterCode(state, element) + 2; return 8;
    default: return -1;
  }
}

bool QmMergeElbowAndFeed(CZ3dCoding& state, const CDev& element, int pending) {
  const int variant = element.GetVariant();
  const bool merges =
      variant == 2 || variant == 3 || variant == 5 || variant == 7 || variant == 9 || variant == 20;
  if (pending != 21 || state.family != 3 || !merges) return false;
  state.device = 2;
  state.q1 += Z3dConnectionChoice(element) == 2 ? 6 : 2;
  state.q2 = 2;
  state.p201 = state.lengthBack;
  state.cut = 2;
  if (variant == 2 || variant == 20) {
    if (!TakeFeedDistance(state, element)) state.device = -1;
  } else if (variant == 3) {
    state.p208 = -1;
  } else {
    state.entrax = 115;
    state.p208 = 1;
    if (variant == 5) SetSecond(state, 42, 0, 1);
    else SetSecond(state, 46, variant == 9 ? 2 : 0, AdapterCode(state, element) + 1);
  }
  if (state.entrax != 0) state.entraxElement = &element;
  return true;
}

int QmJointDevice(CZ3dCoding& state, const CDev& element, int device) {
  const CRunQM* run = QmRun(state);
  if (run == nullptr) return device;
  // The range reads the options from the element that holds them; the export only reads.
  CDev& holder = const_cast<CDev&>(element);
  const bool stepped = run->GetPropText("QM_ED_STEP") != "0";
  switch (element.GetVariantIndex()) {
    case 1:
      if (!stepped) return device;
      if (run->AccessEH44Option(holder, -1)) state.q1 = 5;
      if (run->AccessED31Option(holder, -1) && AddLengths(state.lengthBack, state.p128) == 2000) {
        state.q1 = 6;
        return 13;
      }
      return device;
    case 3:
      if (stepped && run->AccessED31Option(holder, -1)) state.q1 = 6;
      return device;
    case 4: state.q1 = run->AccessEH44Option(holder, -1) ? 5 : 0; return device;
    default: return device;
  }
}

std::string QmConnectionDistances(const CZ3dCoding& state, double& x, double& y, double& z,
                                  double& w) {
  const CRunQM* run = QmRun(state);
  if (run == nullptr || state.entraxElement == nullptr) return {};
  auto [a, b, c, d] = run->GetCentreDistances(*state.entraxElement, 'A');
  if (state.q1 != 7 && state.element != nullptr && GetPhaseOrderAt(*state.element, 0) != 0) {
    static constexpr int kTurned[] = {0, 3, 4, 1, 2};
    if (a >= 1 && a <= 4) a = kTurned[a];
  }
  x = a > 2 ? -b : b;
  z = -x;
  y = 0;
  w = a == 2 || a == 4 ? -c : c;
  std::string text = IntegerParameter(215, a);
  if (state.q1 == 5 || state.q1 == 6) text += IntegerParameter(216, d);
  return text;
}
