#include "z3d_grammar_support.h"

#include <cctype>
#include <regex>
#include <string_view>

namespace {

std::vector<std::string> SplitCrLf(const std::string& bytes, std::vector<std::string>& faults) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      faults.push_back("last line without CR LF");
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  for (const std::string& line : lines)
    for (char c : line)
      if (static_cast<unsigned char>(c) < 0x20) faults.push_back("control byte in: " + line);
  return lines;
}

bool DigitsAt(const std::string& text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return false;
  for (std::size_t i = at; i < at + count; ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

// The length of the path token at `at`, 0 when none starts there.
std::size_t TokenAt(const std::string& text, std::size_t at) {
  const char head = text[at];
  if (head == 'S' && DigitsAt(text, at + 1, 4)) return 5;
  if (std::string_view("LRUD").find(head) != std::string_view::npos)
    return DigitsAt(text, at + 1, 4) || text.compare(at + 1, 4, "-180") == 0 ? 5 : 0;
  if (text.compare(at, 5, "T0180") == 0 || text.compare(at, 5, "n0180") == 0) return 5;
  if ((text.compare(at, 2, "gt") == 0 || text.compare(at, 2, "st") == 0) &&
      DigitsAt(text, at + 2, 3))
    return 5;
  if (head != 'X') return 0;
  std::size_t end = at;
  for (const char axis : {'X', 'Y', 'Z'}) {
    const bool signed_ = end + 1 < text.size() && (text[end + 1] == '+' || text[end + 1] == '-');
    if (text[end] != axis || !signed_ || !DigitsAt(text, end + 2, 14) ||
        text.compare(end + 16, 1, ".") != 0 || !DigitsAt(text, end + 17, 5))
      return 0;
    end += 22;
    if (axis != 'Z' && end >= text.size()) return 0;
  }
  return end - at;
}

// "pos:end", or "pos:" with an optional start marker and path tokens (a scan rather than
// a regular expression, which would overflow its stack on the long lines of a long stretch).
bool IsPositionLine(const std::string& line) {
  if (line == "pos:end") return true;
  std::size_t at = line.compare(0, 9, "pos:?0000") == 0 ? 9 : 4;
  while (at < line.size()) {
    const std::size_t length = TokenAt(line, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

const std::regex kDevice(
    R"(dev:(#Pk#|#Jt#|#00#|#st#|##ERR##|\d{6}()"
    R"(/(00128|00256|00512|0020[0-3]|00208|00212|00215|00216|0022[0-2]|16384|00006)@@-?\d{5,6})"
    R"(|/00211@@-?\d{5,6}@@-?\d{5,6})"
    R"(|/00(204|205|206|207|219)@\.(\d{14}|-\d{13})\.\d)"
    R"()*(/00214@\$[^\r\n]*)?))");

void CheckHeader(const std::vector<std::string>& lines, std::vector<std::string>& faults) {
  static const char* const kKeys[] = {
      "fver:1", "name:", "comment:", "prod:", "rating:", "pol:", "opt:"};
  if (lines.size() < 11) {
    faults.push_back("header too short");
    return;
  }
  for (int i = 0; i < 7; ++i)
    if (!lines[i].starts_with(kKeys[i])) faults.push_back("header line " + lines[i]);
  if (lines[7] != "" || lines[8] != "") faults.push_back("opt: not followed by two empty lines");
  if (!std::regex_match(lines[9], std::regex(R"(nbdev:\d{5})")))
    faults.push_back("nbdev line " + lines[9]);
  if (lines[10] != "") faults.push_back("nbdev: not followed by an empty line");
}

// Device lines with a code (and "##ERR##" lines, which the writer may count).
struct CSection {
  int coded = 0, errors = 0;
};

void CheckBody(const std::vector<std::string>& lines, std::size_t from, std::size_t to,
               CSection& section, std::vector<std::string>& faults) {
  for (std::size_t i = from; i < to; ++i) {
    const std::string& line = lines[i];
    if (line.starts_with("pos:")) {
      if (!IsPositionLine(line)) faults.push_back("position " + line);
      if (line.find("?0000") != std::string::npos && i != from)
        faults.push_back("start marker after the first line");
    } else if (line.starts_with("dev:")) {
      if (!std::regex_match(line, kDevice)) faults.push_back("device " + line);
      if (line == "dev:##ERR##") ++section.errors;
      if (line.size() >= 10 && std::isdigit(static_cast<unsigned char>(line[4]))) ++section.coded;
    } else {
      faults.push_back("unknown line " + line);
    }
  }
}

int CountOf(const std::string& line) { return std::stoi(line.substr(line.find(':') + 1)); }

}  // namespace

std::vector<std::string> CheckZ3dGrammar(const std::string& bytes) {
  std::vector<std::string> faults;
  const std::vector<std::string> lines = SplitCrLf(bytes, faults);
  CheckHeader(lines, faults);
  if (!faults.empty()) return faults;
  std::size_t tapOff = lines.size();
  for (std::size_t i = 11; i < lines.size(); ++i)
    if (lines[i].starts_with("nbtpf:")) tapOff = i;
  const std::size_t pathEnd = tapOff == lines.size() ? lines.size() : tapOff - 1;
  if (pathEnd <= 11 || lines[11].rfind("pos:?0000", 0) != 0) faults.push_back("no start line");
  if (pathEnd > 0 && lines[pathEnd - 1] != "pos:end") faults.push_back("path without pos:end");
  CSection path;
  CheckBody(lines, 11, pathEnd, path, faults);
  const int declared = CountOf(lines[9]);
  if (declared < path.coded || declared > path.coded + path.errors)
    faults.push_back("nbdev " + std::to_string(declared) + " for " + std::to_string(path.coded) +
                     " coded lines");
  if (tapOff == lines.size()) return faults;
  if (lines[tapOff - 1] != "" || tapOff + 1 >= lines.size() || lines[tapOff + 1] != "")
    faults.push_back("nbtpf not between empty lines");
  if (lines.back() != "pos:end") faults.push_back("tap-off section without pos:end");
  CSection units;
  CheckBody(lines, tapOff + 2, lines.size(), units, faults);
  if (CountOf(lines[tapOff]) != units.coded) faults.push_back("nbtpf count");
  return faults;
}

std::vector<std::string> Z3dDeviceLines(const std::string& bytes) {
  std::vector<std::string> faults;
  std::vector<std::string> devices;
  for (const std::string& line : SplitCrLf(bytes, faults))
    if (line.starts_with("dev:")) devices.push_back(line.substr(4));
  return devices;
}
