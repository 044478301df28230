#include "export/z3d_coding.h"
#include "model/dev.h"
#include "model/run.h"

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

std::string IntegerParameter(int number, int value) {
  return Z3dNumber("/%05d", number) + Z3dNumber("@@%06d", value);
}

std::string DecimalParameter(int number, double value) {
  return Z3dNumber("/%05d", number) + "@." + Z3dDecimal(value);
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
  if (state.entrax == 0 || state.family == 5) return {};
  double x = 0, y = 0, z = 0, w = 0;
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
    if (std::atoi(state.run->GetPropText("Neutral").c_str()) == 3) w = 0;
  }
  return DecimalParameter(204, x) + DecimalParameter(205, y) + DecimalParameter(206, z) +
         DecimalParameter(207, w);
}

// The name as the line carries it, p208 set by an "=" in it.
std::string LineName(CZ3dCoding& state) {
  std::string name = state.name;
  const std::size_t equals = name.find('=', 1);
  if (equals != std::string::npos && name.find("\nGroup=") + 6 != equals && state.p208 == 0)
    state.p208 = 1;
  const std::size_t blank = name.find(' ', 1);
  if (blank != std::string::npos) name.resize(blank);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::string Parameters(CZ3dCoding& state) {
  const std::string name = LineName(state);
  std::string text;
  if (state.p208 != 0) text += IntegerParameter(208, state.p208);
  if (state.p202 >= 0) {
    const int lengths[] = {state.p200, state.p201, state.p202, state.p203};
    for (int i = 0; i < 4; ++i)
      if (lengths[i] != 0) text += IntegerParameter(200 + i, lengths[i]);
  }
  text += CentreDistances(state);
  if (state.p6 != 0) text += IntegerParameter(6, state.p6);
  if (state.p128 != 0) text += IntegerParameter(128, state.p128);
  if (state.family == 2 && name.starts_with("QP") && name.size() >= 2) {
    const std::string end = name.substr(name.size() - 2);
    if (end == "AM" || end == "FM") text += IntegerParameter(16384, 1);
  }
  if (!name.empty()) text += Z3dNumber("/%05d", 214) + "@$" + name;
  return text;
}

void AddMarks(CZ3dCoding& state, std::string& file) {
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
  state.entrax = 0;
  state.entraxText.clear();
  state.name.clear();
  state.cut = 0;
}

}  // namespace

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
  if (state.device == 7 && state.family == 2) state.name = " ";
  if (state.device <= 0 || state.name.empty()) {
    const bool error = state.device > 0 || state.device < -5 || state.device == -1;
    file += "dev:" + StatusWord(error ? -1 : state.device) + "\n";
    if (error && !state.name.empty()) ++state.count;
  } else {
    const std::string code =
        Z3dNumber("%02d", state.device) + Z3dNumber("%02d", state.q1) + Z3dNumber("%02d", state.q2);
    ++state.count;
    file += "dev:" + code + Parameters(state) + "\n";
  }
  const bool ended = state.pathEnds && state.pending.empty();
  file += "pos:" + (ended ? std::string("end") : state.position) + "\n";
  state.position.clear();
  Reset(state, state.cut);
}
