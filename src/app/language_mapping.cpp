#include "app/language_mapping.h"

#include <cstdint>
#include <limits>
#include <memory>

#include "app/current_language.h"
#include "app/language_file.h"
#include "app/message_text.h"

namespace {

constexpr int kFirstShortS = 32115;
constexpr int kLastShortS = 32124;
constexpr int kFirstShortIt = 32125;
constexpr int kLastShortIt = 32164;

// The document-template text that message 18 of a file becomes.
constexpr std::string_view kDocumentTemplate =
    "\n\n%APP\n%1 (*.run)\n.run\n%APP.Document\n%APP Document";

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0;;) {
    const std::size_t found = text.find(what, at);
    out.append(text.substr(at, found - at));
    if (found == std::string_view::npos) return out;
    out.append(with);
    at = found + what.size();
  }
}

// "%1" becomes "%u" (first occurrence of each of %1, %2, %3), so the text can serve as
// a numeric format.
std::string WithUnsignedPlaceholders(std::string text) {
  for (const char* placeholder : {"%1", "%2", "%3"}) {
    const std::size_t found = text.find(placeholder);
    if (found != std::string::npos) text[found + 1] = 'u';
  }
  return text;
}

std::string Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// The number of a line key: "00365", "S3" or "IT05"; nothing when the line is no message.
std::optional<int> MessageNumberOfLine(std::string_view line) {
  const std::optional<int> value = LeadingInt(line);
  if (!value) return std::nullopt;
  long long number = *value;
  if (number == 0) {
    if (line.starts_with("IT")) {
      const std::optional<int> index = LeadingInt(line.substr(2));
      if (!index) return std::nullopt;
      number = *index + 32124LL;
      if (number < kFirstShortIt || number > kLastShortIt) return std::nullopt;
    } else if (line.starts_with("S")) {
      const std::optional<int> index = LeadingInt(line.substr(1));
      if (!index) return std::nullopt;
      number = *index + 32114LL;
      if (number < kFirstShortS || number > kLastShortS) return std::nullopt;
    }
  }
  if (number <= 0) return std::nullopt;
  return static_cast<int>(number);
}

std::string PaddedNumber(int value, int width) {
  std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
  const int room = width - (value < 0 ? 1 : 0);
  if (static_cast<int>(digits.size()) < room) digits.insert(0, room - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

}  // namespace

std::optional<int> LeadingInt(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  long long value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
    return std::nullopt;
  return static_cast<int>(value);
}

std::string LanguageNumberText(int number) { return PaddedNumber(number, 3); }

std::string FileVersionText(const std::array<int, 4>& fileVersion) {
  std::string text = std::to_string(fileVersion[0]) + "." + std::to_string(fileVersion[1]);
  if (fileVersion[2] != 0 || fileVersion[3] != 0) {
    text += "." + std::to_string(fileVersion[2]);
    if (fileVersion[3] != 0) text += "." + std::to_string(fileVersion[3]);
  }
  return text;
}

CApplicationName ApplicationNameAndVersion(std::string_view appNameSetting,
                                           const std::array<int, 4>& fileVersion) {
  CApplicationName result;
  std::string text = Trim(appNameSetting);
  if (text.empty()) text = CLanguageMapping::kDefaultApplicationName;
  const std::size_t lastBlank = text.rfind(' ');
  if (lastBlank != std::string::npos && lastBlank > 0) {
    result.version = text.substr(lastBlank + 1);
  } else {
    result.version = FileVersionText(fileVersion);
  }
  const std::size_t firstBlank = text.find(' ');
  result.name =
      firstBlank != std::string::npos && firstBlank > 0 ? text.substr(0, firstBlank) : text;
  return result;
}

void CLanguageMapping::LoadLanguage(std::string_view languageNumberText) {
  CCurrentLanguage& current = CCurrentLanguage::Instance();
  m_language = LanguageNumberText(LeadingInt(languageNumberText).value_or(0));
  m_texts.clear();
  m_loaded = false;
  const std::shared_ptr<const CLanguageFile> file = current.TextFile(m_language, &m_shipped);
  m_charset = file ? CharsetFromName(file->ProfileText("LANG", "CHARS")) : 1;
  const CApplicationName name =
      ApplicationNameAndVersion(current.Setup().appNameSetting, current.Setup().fileVersion);
  m_applicationName = name.name;
  m_versionText = name.version;
  if (!file) return;
  for (const std::string& line : file->Lines()) AddLine(line);
  AddComputedTexts();
  m_loaded = true;
}

void CLanguageMapping::AddLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0 || equals + 1 == line.size()) return;
  const std::optional<int> number = MessageNumberOfLine(line);
  if (!number || m_texts.contains(*number)) return;  // the first occurrence wins
  std::string text(line.substr(equals + 1));
  if (*number == 18) {
    text = FormatMessageTextS(kDocumentTemplate, text);
  } else if (*number == 8056 || *number == 8057) {
    text = WithUnsignedPlaceholders(std::move(text));
  }
  m_texts.emplace(*number, ReplaceAll(text, "%APP", m_applicationName));
}

void CLanguageMapping::AddComputedTexts() {
  const auto twice = [this](int number) {
    const auto found = m_texts.find(number);
    const std::string text = found == m_texts.end() ? std::string() : found->second;
    return text + "\n" + text;
  };
  // Computed before inserting, so that each sees only the file's texts.
  std::string catalogue = "Cat" + m_language;
  std::string prompt5093 = twice(365);
  std::string prompt5094 = twice(366);
  std::string prompt5092 = twice(32023);
  m_texts.emplace(7575, std::move(catalogue));
  m_texts.emplace(17, m_applicationName);
  m_texts.emplace(5093, std::move(prompt5093));
  m_texts.emplace(5094, std::move(prompt5094));
  m_texts.emplace(5092, std::move(prompt5092));
}

std::string CLanguageMapping::LookupText(std::string_view numberText) const {
  const std::optional<int> number = LeadingInt(numberText);
  if (numberText.empty() || !number) return {};
  return LookupText(*number);
}

std::string CLanguageMapping::LookupText(int number) const {
  if (!m_loaded) return ReadDirectly(number);
  const auto found = m_texts.find(number);
  return found == m_texts.end() ? std::string() : found->second;
}

std::string CLanguageMapping::ReadDirectly(int number) const {
  CCurrentLanguage& current = CCurrentLanguage::Instance();
  const std::shared_ptr<const CLanguageFile> file = current.TextFile(current.LanguageNumber());
  if (!file) return {};
  std::string text = file->ProfileText("MSG", PaddedNumber(number, 5));
  if (text.empty() && number >= kFirstShortS && number <= kLastShortS) {
    text = file->ProfileText("MSG", "S" + std::to_string(number - 32114));
  } else if (text.empty() && number >= kFirstShortIt && number <= kLastShortIt) {
    text = file->ProfileText("MSG", "IT" + PaddedNumber(number - 32124, 2));
  }
  // Before any language loaded (the first messages of start-up) the name comes from the
  // setup, as LoadLanguage will settle it.
  const CLanguageSetup& setup = current.Setup();
  return ReplaceAll(text, "%APP",
                    ApplicationNameAndVersion(setup.appNameSetting, setup.fileVersion).name);
}
