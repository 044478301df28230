#include "export/z3d_path.h"

#include "export/z3d_coding.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace {

// Run-on pieces that count as part of a straight stretch.
bool IsPlainStraight(const CDev& element) {
  return (element.GetKind() == CDev::kInLine && element.GetVariant() == 0) ||
         (element.GetKind() == CDev::kStraight && element.GetVariant() == 123);
}

int FaceTowards(const CDev& element, const CDev* neighbour) {
  for (int face = 0; face < CDev::kFaceCount; ++face)
    if (element.GetNeighbour(face) == neighbour) return face;
  return element.GetBackFace();
}

int IntegerField(const CDev& element, std::string_view field) {
  const std::string text = element.GetFieldText(field).value_or("");
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string TurnToken(int turn, const CDev& element) {
  if (turn < 1 || turn > 4) return {};
  int angle = IntegerField(element, "ELBOW_ANGL");
  if (angle == 0) angle = 90;
  return std::string(1, "LRUD"[turn - 1]) + Z3dNumber("%04d", angle);
}

// The face the path goes on by, and the faces of its branches.
int ScanSides(const CDev& element, int entry, std::vector<int>& branches) {
  const int own = element.GetDirection();
  int next = -1;
  for (int face = 0; face <= CDev::kFaceCount; ++face) {
    const int side = face == CDev::kFaceCount ? own : face;
    if (side < 0 || side >= CDev::kFaceCount || element.GetNeighbour(side) == nullptr) continue;
    if (face < CDev::kFaceCount && (side == entry || side == own)) continue;
    if (next < 0) next = side;
    else branches.push_back(side);
  }
  return next;
}

void CaptureName(CZ3dCoding& state, const CDev& element) {
  const std::string& reference = element.GetReference();
  if (reference == state.run->GetKindText(element.GetKind(), element.GetVariant())) return;
  const bool keptOut = element.GetKind() == CDev::kInLine &&
                       (reference.find("CF") != std::string::npos || element.GetActive() == 2);
  if (!keptOut) state.name = reference;
}

void Measure(CZ3dCoding& state, const CDev& element, int entry, int next) {
  state.element = &element;
  state.entry = entry;
  state.next = next;
  state.lengthBack = StraightLengthTowards(element, element.GetBackFace());
  state.lengthOn = next < 0 ? state.lengthBack : StraightLengthTowards(element, next);
  state.turn = next < 0 ? 0 : state.run->GetTurnCode(element, entry, next, state.tState);
}

struct CStep {
  const CDev* element;
  int entry;
};

// Takes the first pending branch in hand; the next element is then the one it leaves to.
CStep TakeBranch(CZ3dCoding& state, int& next) {
  const CZ3dBranch branch = state.pending.front();
  state.pending.erase(state.pending.begin());
  state.position = Z3dNumber("st%03d", branch.group);
  state.tState = branch.tState;
  const std::string& reference = branch.element->GetReference();
  if (state.family == 1 && branch.element->GetKind() == CDev::kJunction2 && reference.size() >= 7 &&
      reference.compare(5, 2, "PB") == 0) {
    state.carried = branch.element->GetLength();
    state.carriedHere = true;
  } else if (state.cut > 0) {
    state.cut = 10;
  } else {
    state.device = -2;
  }
  next = branch.side;
  Measure(state, *branch.element, branch.entry, next);
  return {branch.element, branch.entry};
}

// QJF: whether the run turns over on its way on, the next element past tees and joints
// standing the other way up.
bool TurnsOver(const CDev& element, int next) {
  constexpr int kMostSteps = 10000;  // a damaged file may link elements in a ring
  if (element.GetKind() == CDev::kElbow || next < 0) return false;
  const CDev* beyond = element.GetNeighbour(next);
  for (int step = 0; beyond != nullptr && step < kMostSteps; ++step) {
    const int kind = beyond->GetKind();
    if (kind != CDev::kJunction2 && kind != CDev::kJoint) break;
    beyond = beyond->GetNeighbour(next);
  }
  return beyond != nullptr && ((beyond->GetStyle() ^ element.GetStyle()) >> 12 & 1) != 0;
}

// The tokens of the element in hand: its length, its turn, and a QJF turn over.
void AddElementTokens(CZ3dCoding& state, int next) {
  const CDev& element = *state.element;
  if (state.carriedHere) {
    // The tap-off box tee's length is carried to the next device instead.
  } else if (state.family != 3 || state.device != 3) {
    state.position += StraightTokens(element.GetLength());
  }
  state.position += TurnToken(state.turn, element);
  if (state.family != 1 || !TurnsOver(element, next)) return;
  state.position += "T0180n0180";
  state.tState = state.tState == 0 ? 2 : 0;
  if (state.q2 == 8) state.q2 = 7;
  else if (state.q2 == 9) state.q2 = 10;
}

void OpenBranchGroup(CZ3dCoding& state, const CDev& element, int entry,
                     const std::vector<int>& branches) {
  if (branches.empty()) return;
  ++state.groups;
  state.position += Z3dNumber("gt%03d", state.groups);
  for (int side : branches)
    state.pending.push_back({state.groups, &element, entry, side, state.tState});
}

// The coding state of the run and the path's first line.
void StartCoding(CZ3dCoding& state, const CRun& run, const CDev& first, std::string& file) {
  state.run = &run;
  state.family = Z3dRangeFamily(run.GetPropText("Catalog"));
  state.calibre = Z3dInteger(run.GetPropText("Calibre"));
  const bool flipped = state.family == 3 || (state.family == 1 && (first.GetStyle() >> 12 & 1));
  if (flipped && state.family == 1) state.tState = 2;
  file += std::string("pos:?0000") + (flipped ? "T0180n0180" : "") + "\n";
  state.extraDevices = CountExtraDevices(run, state.family);
  const std::vector<CDev*>& devices = run.GetDevices();
  state.hasTapOffUnits = std::any_of(devices.begin(), devices.end(),
                                     [](const CDev* d) { return d->GetKind() == CDev::kTapOff; });
}

}  // namespace

int Z3dRangeFamily(const std::string& catalog) {
  if (catalog == "QJF") return 1;
  if (catalog.starts_with("QP") || catalog.starts_with("Qp")) return 2;
  if (catalog == "QMA" || catalog == "QMC") return 3;
  if (catalog == "QWA" || catalog == "QWC") return 4;
  if (catalog == "QGA" || catalog == "QGC") return 5;
  return 0;
}

int StraightLengthTowards(const CDev& element, int face) {
  constexpr int kMaxRunOn = 10000;  // a damaged file may link elements in a ring
  long long length = 0;
  const CDev* at = &element;
  if (face == element.GetBackFace()) length = element.GetLength();
  for (int step = 0; step < kMaxRunOn; ++step) {
    const CDev* next = at->GetNeighbour(face);
    if (next == nullptr || next == &element) break;
    if (at != &element || face == element.GetBackFace()) {
      if (!IsPlainStraight(*next)) break;
    }
    length += next->GetLength();
    if (!IsPlainStraight(*next)) break;
    at = next;
  }
  return static_cast<int>(std::clamp<long long>(length, -1000000000, 1000000000));
}

int EncodeRunGeometry(std::string& file, const CRun& run) {
  CZ3dCoding state;
  const CDev* element = run.GetFirstElement();
  if (element == nullptr) return 0;
  StartCoding(state, run, *element, file);
  int entry = element->GetBackFace();
  std::set<const CDev*> visited;
  while (element != nullptr && visited.insert(element).second) {
    std::vector<int> branches;
    int next = ScanSides(*element, entry, branches);
    OpenBranchGroup(state, *element, entry, branches);
    CaptureName(state, *element);
    Measure(state, *element, entry, next);
    CodeElement(state, *element, file);
    if (next < 0 && !state.pending.empty()) {
      const CStep step = TakeBranch(state, next);
      element = step.element;
      entry = step.entry;
    }
    AddElementTokens(state, next);
    state.pathEnds = next < 0;
    if (state.cut > 0) WriteDeviceLine(state, file);
    state.carriedHere = false;
    const CDev* following = next < 0 ? nullptr : element->GetNeighbour(next);
    if (following != nullptr) entry = FaceTowards(*following, element);
    element = following;
  }
  if (!file.ends_with("pos:end\n")) {
    if (!state.position.empty()) file += "pos:" + state.position + "\n";
    file += "pos:end\n";
  }
  return state.count;
}
