#include "export/z3d_export.h"

#include "export/z3d_path.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_path_section.h"
#include "platform/code_page.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && Upper(text.substr(text.size() - end.size())) == Upper(end);
}

std::string QjfRating(std::string_view code) {
  static constexpr std::pair<std::string_view, std::string_view> kRatings[] = {
      {"14", "1000"}, {"16", "1200"}, {"18", "1450"}, {"26", "2200"}, {"28", "2500"},
      {"36", "3000"}, {"38", "3400"}, {"46", "4000"}, {"48", "4500"}};
  for (const auto& [from, to] : kRatings)
    if (code == from) return std::string(to);
  return std::string(code);
}

std::string QgRating(std::string_view catalog, std::string_view code) {
  static constexpr std::string_view kHalfRatings[] = {"A12", "C13", "C31", "C42", "C52"};
  const std::string key = catalog.size() > 2 ? catalog[2] + std::string(code) : std::string();
  const bool half =
      std::find(std::begin(kHalfRatings), std::end(kHalfRatings), key) != std::end(kHalfRatings);
  return std::string(code) + (half ? "50" : "00");
}

std::string HeaderText(const CRun& run) {
  const std::string catalog = run.GetPropText("Catalog");
  const std::string optionKey = catalog == "QJF" ? "Ground" : catalog == "QMA" ? "RAL" : "IP";
  const std::string stepKey = catalog.starts_with("QM")   ? "QM_ED_STEP"
                              : catalog.starts_with("QP") ? "QP_STEP"
                                                          : "";
  std::string text = "fver:1\n";
  text += "name:" + CleanZ3dRunName(run.GetPropText("Name")) + "\n";
  text += "comment:" + BlankControlCharacters(run.GetPropText("Comment")) + "\n";
  text += "prod:" + Z3dProductText(catalog) + "\n";
  text += "rating:" + Z3dRatingText(catalog, run.GetPropText("Calibre")) + "\n";
  text += "pol:" + Z3dPoleCode(catalog, run.GetPropText("Neutral")) + "\n";
  text += "opt:" + Z3dOptionCode(catalog, run.GetPropText(optionKey),
                                 stepKey.empty() ? "" : run.GetPropText(stepKey));
  return text + "\n\n\n";
}

// The first number after mark in the line with more digits than its field holds, with
// its mark and the parameter before it; empty when none.
std::string OverlongNumberAfter(std::string_view line, std::string_view mark, std::size_t width) {
  for (std::size_t at = line.find(mark); at != std::string_view::npos;
       at = line.find(mark, at + mark.size())) {
    std::size_t from = at + mark.size();
    if (from < line.size() && line[from] == '-') ++from;
    std::size_t end = from;
    while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
    if (end - from <= width) continue;
    const std::size_t parameter = line.rfind('/', at);
    const std::size_t begin = parameter == std::string_view::npos ? at : parameter;
    return std::string(line.substr(begin, end - begin));
  }
  return {};
}

}  // namespace

std::string CleanZ3dRunName(std::string_view name) {
  std::string result = BlankControlCharacters(name);
  for (char& c : result)
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  return result;
}

std::string Z3dProductText(std::string_view catalog) {
  std::string text = Upper(catalog);
  if (catalog == "QPA") text += "new";
  if (catalog.starts_with("Qp")) text += "-APOD";
  return text;
}

std::string Z3dRatingText(std::string_view catalog, std::string_view code) {
  if (catalog == "QJF") return QjfRating(code);
  if (catalog.starts_with("QG")) return QgRating(catalog, code);
  std::string text = code == "99" ? "100" : std::string(code);
  text += code == "13" || code == "31" ? "5" : "0";
  if (catalog == "QMA" || catalog == "QMC") text += "0";
  return text;
}

std::string Z3dPoleCode(std::string_view catalog, std::string_view neutral) {
  std::string value = Trimmed(neutral);
  if (value != "5" && !catalog.starts_with("QM") && !catalog.starts_with("QG"))
    value = catalog.starts_with("QP") ? "4" : "2";
  if (value == "0") return "3";
  if (value == "0.5") return "5";
  if (value == "1") return "4";
  return value;
}

std::string Z3dOptionCode(std::string_view catalog, std::string_view value, std::string_view step) {
  const std::string trimmed = Trimmed(value);
  std::string code = "1";
  if (trimmed == "A1") code = "2";
  if (trimmed == "2") code = "3";
  if (trimmed == "3") code = "4";
  double number = 0;
  const auto read = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), number);
  if (read.ec == std::errc() && number == 7035.0) code = "5";
  const bool stepped = catalog.starts_with("QM") || catalog.starts_with("QP");
  if (stepped && Trimmed(step) == "0") code += ".0";
  return code;
}

std::string WriteZ3dText(const CRun& run) {
  std::string text = HeaderText(run) + "nbdev:";
  const std::size_t countAt = text.size();
  text += "00000\n\n";
  const int devices = EncodeRunGeometry(text, run);
  if (devices > 0) {
    char count[16];
    std::snprintf(count, sizeof count, "%05d", std::min(devices, 99999));
    text.replace(countAt, 5, count);
  }
  WriteRunPathSection(text, run);
  return text;
}

std::string Z3dFileBytes(std::string_view text) {
  const std::string narrow = tvr::platform::FromUtf8(text, tvr::platform::CodePage::Cp1252);
  std::string bytes;
  bytes.reserve(narrow.size() + narrow.size() / 16);
  for (char c : narrow) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

std::string Z3dFileName(std::string_view title, std::string_view runName) {
  std::string stem(title);
  if (EndsWithNoCase(stem, ".run")) stem.resize(stem.size() - 4);
  return stem + " - " + CleanZ3dRunName(runName) + ".Z3D";
}

std::string FindOverlongZ3dValue(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.starts_with("dev:")) {
      // A name is the line's last parameter and may hold anything.
      line = line.substr(0, line.find("/00214@$"));
      const std::string overlong = OverlongNumberAfter(line, "@@", 6);
      if (!overlong.empty()) return overlong;
    } else if (line.starts_with("pos:")) {
      for (const std::string_view mark : {"gt", "st"}) {
        const std::string overlong = OverlongNumberAfter(line, mark, 3);
        if (!overlong.empty()) return overlong;
      }
    }
  }
  return {};
}

int CountUncodedZ3dDevices(std::string_view text) {
  constexpr std::string_view kUncoded = "dev:##ERR##\n";
  int count = 0;
  for (std::size_t at = 0; (at = text.find(kUncoded, at)) != std::string_view::npos;
       at += kUncoded.size())
    if (at == 0 || text[at - 1] == '\n') ++count;
  return count;
}

bool SaveZ3dFile(const CRun& run, const std::string& path, std::string* overlong, int* uncoded) {
  const std::string text = WriteZ3dText(run);
  if (uncoded != nullptr) *uncoded = CountUncodedZ3dDevices(text);
  const std::string tooWide = FindOverlongZ3dValue(text);
  if (!tooWide.empty()) {
    if (overlong != nullptr) *overlong = tooWide;
    return false;
  }
  const std::string bytes = Z3dFileBytes(text);
  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) std::filesystem::remove(temporary, error);
  return !error;
}
