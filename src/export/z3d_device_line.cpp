#include "export/z3d_coding.h"
#include "model/element/dev.h"
#include "model/run/path_tokens.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_path_section.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string StatusWord(int device) {
  switch (device) {
    case -5: return "#Pk#";
    case -4: return "#Jt#";
    case -3: return "#00#";
    case -2: return "#st#";
    default: return "##ERR##";
  }
}

// The numbers of an "ENTRAX" text "a/b/c/d"; reading stops at a 0.
std::vector<int> EntraxNumbers(const std::string& text) {
  std::vector<int> numbers;
  std::size_t at = 0;
  while (numbers.size() < 4 && at <= text.size()) {
    int value = 0;
    std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (value == 0) break;
    numbers.push_back(value);
    const std::size_t slash = text.find('/', at);
    if (slash == std::string::npos) break;
    at = slash + 1;
  }
  numbers.resize(4, 0);
  return numbers;
}

std::string CentreDistances(const CZ3dCoding& state) {
  if (state.entrax == 0) return {};
  if (state.family == 5) return QgCentreDistances(state);
  double x = 0, y = 0, z = 0, w = 0;
  std::string extra;
  if (state.entraxText.find('/') == std::string::npos) {
    y = 0.5 * state.entrax;
    x = state.entrax + y;
    z = -y;
    w = -x;
  } else {
    const std::vector<int> n = EntraxNumbers(state.entraxText);
    const int q1 = state.q1;
    if (q1 == 1 || (q1 >= 3 && q1 <= 6)) {
      y = 0.5 * n[1];
      x = n[0] + y;
      z = -y;
      w = z - n[2];
    } else if (q1 == 2 || (q1 >= 7 && q1 <= 10)) {
      x = n[0], y = n[1], z = -n[2], w = -n[3];
    } else {
      return {};  // no form for this qualifier: the distances are left out
    }
    if (state.family == 3 && state.device == 3) extra = QmConnectionDistances(state, x, y, z, w);
    if (std::atoi(state.run->GetPropText("Neutral").c_str()) == 3) w = 0;
  }
  return DecimalParameter(204, x) + DecimalParameter(205, y) + DecimalParameter(206, z) +
         DecimalParameter(207, w) + extra;
}

// A reference as a line carries it: up to its first blank after the first character, and
// up to a line break, which would start a line of its own in the file.
std::string NameUpToBlank(std::string name) {
  const std::size_t blank = name.find(' ', 1);
  if (blank != std::string::npos) name.resize(blank);
  const auto control = std::find_if(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  name.erase(control, name.end());
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::string KitLength(const CZ3dCoding& state, const std::string& name) {
  if (state.kit == 0) return {};
  for (const char* part : {"CF", "41F", "42F", "43F"})
    if (name.find(part, 1) != std::string::npos)
      return IntegerParameter(128 << state.kitSlot, state.kit);
  return {};
}

// The name as the line carries it, p208 set by an "=" in it.
std::string LineName(CZ3dCoding& state) {
  std::string name = state.name;
  std::size_t equals = name.find('=', 1);
  if (state.family == 5 && equals != std::string::npos && name[equals - 1] == 'n')
    equals = name.find('=', equals + 1);
  if (equals != std::string::npos && name.find("\nGroup=") + 6 != equals && state.p208 == 0)
    state.p208 = 1;
  return NameUpToBlank(name);
}

std::string Parameters(CZ3dCoding& state) {
  const std::string name = LineName(state);
  std::string text;
  if (state.p208 != 0) text += IntegerParameter(208, state.p208);
  if (state.carried != 0 && !state.carriedHere) {
    state.p200 = AddLengths(state.p200, state.carried);
    state.carried = 0;
  }
  if (state.p202 >= 0) {
    const int lengths[] = {state.p200, state.p201, state.p202, state.p203};
    for (int i = 0; i < 4; ++i)
      if (lengths[i] != 0) text += IntegerParameter(200 + i, lengths[i]);
    const bool twinElbow = state.device == 21 && (state.q1 == 1 || state.q1 == 2);
    if (state.family == 3 && twinElbow) text += IntegerParameter(212, 1);
  }
  text += CentreDistances(state);
  if (state.p6 != 0) text += IntegerParameter(6, state.p6);
  if (state.p128 != 0) text += IntegerParameter(128, state.p128);
  text += KitLength(state, name);
  if (state.family == 2 && name.starts_with("QP") && name.size() >= 2) {
    const std::string end = name.substr(name.size() - 2);
    if (end == "AM" || end == "FM") text += IntegerParameter(16384, 1);
  }
  if (!name.empty()) text += Z3dNumber("/%05d", 214) + "@$" + name;
  return text;
}

// QP elbows whose leg ("a=" in the reference) differs from the straight length behind
// them are turned over.
void MarkQpElbowLeg(CZ3dCoding& state) {
  const bool elbow = (state.device == 21 && (state.q1 == 3 || state.q1 == 4)) ||
                     (state.device == 23 && (state.q1 == 1 || state.q1 == 2));
  if (state.family != 2 || !elbow) return;
  std::size_t at = state.name.find("a=", 1);
  if (at == std::string::npos) at = state.name.find("A=", 1);
  if (at == std::string::npos) return;
  const int leg = Z3dInteger(std::string_view(state.name).substr(at + 2));
  if (leg > 0 && leg != state.p200) state.marks |= 1;
}

void AddMarks(CZ3dCoding& state, std::string& file) {
  MarkQpElbowLeg(state);
  if (state.device == 14 && state.q1 == 3) state.position += "T0180";
  if (state.marks == 0) return;
  const std::string tokens =
      std::string(state.marks & 1 ? "n0180" : "") + (state.marks & 2 ? "T0180" : "");
  // The last position line is reopened in memory, where its end is one line feed; the
  // CR LF of the file is made only when the whole text is written.
  if (file.ends_with("\n")) file.pop_back();
  file += tokens + "\n";
  state.position += tokens;
  state.marks = 0;
}

void Reset(CZ3dCoding& state, int cut) {
  state.device = cut == 10 ? -2 : 0;
  state.q1 = state.q2 = 0;
  state.p200 = state.p201 = state.p202 = state.p203 = state.p6 = state.p128 = state.p208 = 0;
  state.kit = state.kitSlot = 0;
  state.entrax = 0;
  state.entraxText.clear();
  state.entraxElement = nullptr;
  state.name.clear();
  state.kitTokens.clear();
  state.tapOffBox.clear();
  state.cut = 0;
}

bool FitsACode(int device, int q1, int q2) {
  return device >= 0 && device <= 99 && q1 >= 0 && q1 <= 99 && q2 >= 0 && q2 <= 99;
}

// "%02d%02d%02d"; a number that two digits cannot hold (an adapter the rating lacks)
// leaves the device uncoded.
std::string DeviceCode(int device, int q1, int q2) {
  if (!FitsACode(device, q1, q2)) return "##ERR##";
  return Z3dNumber("%02d", device) + Z3dNumber("%02d", q1) + Z3dNumber("%02d", q2);
}

// The name the line carries; empty when it carries a status word.
std::string NameOfLine(const CZ3dCoding& state) {
  if (state.device == 41 && state.family == 1) return state.tapOffBox;
  if (state.device == 7 && state.family == 2) return " ";  // a code without a name
  return state.name;
}

// The device line: a code with its parameters, or a status word.
void WriteCodeOrStatus(CZ3dCoding& state, std::string& file) {
  state.name = NameOfLine(state);
  if (state.device <= 0 || state.name.empty() || !FitsACode(state.device, state.q1, state.q2)) {
    const bool error = state.device > 0 || state.device < -5 || state.device == -1;
    file += "dev:" + StatusWord(error ? -1 : state.device) + "\n";
    if (error && !state.name.empty()) ++state.count;
    return;
  }
  ++state.count;
  const std::string code = DeviceCode(state.device, state.q1, state.q2);
  file += "dev:" + code + Parameters(state) + "\n";
}

// The neighbour of a QJF tap-off box's joint on its way on, when it is the box's adapter.
std::string BoxAdapterReference(const CZ3dCoding& state) {
  if (state.element == nullptr || state.next < 0) return {};
  const CDev* adapter = state.element->GetNeighbour(state.next);
  if (adapter == nullptr || adapter->GetKind() != CDev::kJoint || adapter->GetLength() != 0)
    return {};
  const std::string& reference = adapter->GetReference();
  if (reference.size() < 7 || reference.compare(5, 2, "FA") != 0) return {};
  return Z3dNumber("/%05d", 214) + "@$" + NameUpToBlank(reference);
}

// A QJF tap-off box: the way out to the box and back, the box's cable end and its elbow.
void WriteTapOffBoxLines(CZ3dCoding& state, std::string& file) {
  const std::string turn = state.turnAtBox == 1 ? "L0090" : "R0090";
  const long long across = static_cast<long long>(state.p201) - state.p200;
  file += "pos:" + state.position.substr(0, 5) + turn + StraightTokens(across) + turn + "\n";
  file += "dev:" + DeviceCode(7, 0, 0) + BoxAdapterReference(state) + "\n";
  file += "pos:L0090L0090\n";
  file += "dev:" + DeviceCode(21, state.turnAtBox, 0) + IntegerParameter(200, state.p200) +
          IntegerParameter(201, state.p200) + "\n";
  state.count += 2;
  const std::string stretch = StraightTokens(state.p200);
  state.position = stretch + (state.turnAtBox == 2 ? "R0090" : "L0090") + stretch;
}

// The tap-off units of a joint the path goes on from take the next group number as their
// station, which the tap-off section refers to.
void NumberStations(CZ3dCoding& state) {
  if (!state.hasTapOffUnits || state.pathEnds || state.element == nullptr) return;
  if (NumberTapOffStations(*state.element, state.groups + 1) == 0) return;
  state.position += Z3dNumber("gt%03d", ++state.groups);
}

// A second device in a group of its own: a kit at its distance, or a device deferred.
void WriteGroupedSecondDevice(CZ3dCoding& state, std::string& file) {
  const int group = ++state.groups;
  const std::string tokens = state.kitTokens.empty() ? "L0090L0090" : state.kitTokens;
  file += Z3dNumber("pos:gt%03d", group) + tokens + "\n";
  file += "dev:" + DeviceCode(-state.second, state.r1, state.r2) + "\n";
  ++state.count;
  state.position = Z3dNumber("st%03d", group) + state.position;
}

// A device that follows the one just written, with a position line of its own.
void WriteFollowingDevice(CZ3dCoding& state, const std::string& code, std::string& file) {
  const bool ended = state.pathEnds && state.pending.empty();
  file += "dev:" + code + "\n";
  ++state.count;
  file += "pos:" + (ended ? std::string("end") : std::string()) + "\n";
}

}  // namespace

std::string IntegerParameter(int number, int value) {
  return Z3dNumber("/%05d", number) + Z3dNumber("@@%06d", value);
}

std::string DecimalParameter(int number, double value) {
  return Z3dNumber("/%05d", number) + "@." + Z3dDecimal(value);
}

void WriteExtraDevices(CZ3dCoding& state, std::string& file) {
  for (; state.extraDevices > 0; --state.extraDevices) {
    file += "dev:" + DeviceCode(41, 0, 1) + "\n" + "pos:\n";
    ++state.count;
  }
}

std::string Z3dNumber(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Z3dDecimal(double value) {
  char digits[64];
  const double rounded = std::round(std::fabs(value) * 10.0) / 10.0;
  const auto result =
      std::to_chars(digits, digits + sizeof digits, rounded, std::chars_format::fixed, 1);
  std::string text(digits, result.ptr);
  const bool negative = value < 0 && rounded != 0.0;
  const std::size_t width = negative ? 15 : 16;
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return negative ? "-" + text : text;
}

void WriteDeviceLine(CZ3dCoding& state, std::string& file) {
  AddMarks(state, file);
  const bool tapOffBox = state.p202 < 0 && state.device == 41 && state.family == 1;
  WriteCodeOrStatus(state, file);
  if (tapOffBox) WriteTapOffBoxLines(state, file);
  NumberStations(state);
  const int second = state.second;
  if (second < 0) WriteGroupedSecondDevice(state, file);
  const bool ended = state.pathEnds && state.pending.empty();
  const bool endsHere = ended && second == 0 && state.jointExtra == 0;
  file += "pos:" + (endsHere ? std::string("end") : state.position) + "\n";
  state.position = state.carried != 0 ? StraightTokens(state.carried) : std::string();
  if (second > 0) WriteFollowingDevice(state, DeviceCode(second, state.r1, state.r2), file);
  state.second = state.r1 = state.r2 = 0;
  const int extra = state.jointExtra;
  if (extra != 0)
    WriteFollowingDevice(state, extra > 0 ? DeviceCode(41, 0, extra) : DeviceCode(46, 0, -extra),
                         file);
  state.jointExtra = 0;
  Reset(state, state.cut);
}
