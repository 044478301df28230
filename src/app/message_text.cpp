#include "app/message_text.h"

#include <algorithm>
#include <array>

#include "app/current_language.h"
#include "platform/text_encoding.h"

namespace {

std::string Utf8OfCode(std::int64_t code) {
  if (code <= 0) return {};
  std::string out;
  // Checked here: a value past char32_t must not wrap round to a valid character.
  tvr::platform::AppendUtf8(
      out, code > 0x10FFFF ? tvr::platform::kReplacementCharacter : static_cast<char32_t>(code));
  return out;
}

// The first character of a UTF-8 text, with its continuation bytes.
std::string FirstCharacter(std::string_view text) {
  if (text.empty()) return {};
  std::size_t length = 1;
  while (length < text.size() && length < 4 &&
         (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
    ++length;
  return std::string(text.substr(0, length));
}

std::string WithoutAmpersands(std::string text) {
  std::erase(text, '&');
  return text;
}

}  // namespace

std::string LookupText(int number) {
  return CCurrentLanguage::Instance().Mapping().LookupText(number);
}

std::string MessageKey(int number) {
  std::string digits = std::to_string(number);
  if (number >= 0 && digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  return "MSG_" + digits;
}

std::string ResourceText(int number) {
  const std::string text = LookupText(number);
  return text.empty() ? MessageKey(number) : UnescapeText(text);
}

std::string StringText(int number) {
  const std::string text = LookupText(number);
  return text.empty() ? MessageKey(number) : WithoutAmpersands(UnescapeText(text));
}

std::string UnescapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) break;
    switch (text[i]) {
      case 'a': out += '\a'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'v': out += '\v'; break;
      default: out += text[i]; break;
    }
  }
  return out;
}

std::string CMessageArg::Format(char type) const {
  if (m_kind == Kind::None) return {};
  if (m_kind == Kind::Text) {
    return type == 'c'                                   ? FirstCharacter(m_text)
           : (type == 'd' || type == 's' || type == 'u') ? m_text
                                                         : std::string();
  }
  switch (type) {
    case 'c': return Utf8OfCode(m_number);
    case 'd': return std::to_string(m_number);
    case 's': return m_kind == Kind::Character ? Utf8OfCode(m_number) : std::to_string(m_number);
    case 'u': return std::to_string(static_cast<std::uint32_t>(m_number));
    default: return {};
  }
}

std::string FormatMessageText(std::string_view text, std::string_view types, const CMessageArg& p1,
                              const CMessageArg& p2, const CMessageArg& p3, const CMessageArg& p4) {
  const std::array<const CMessageArg*, 4> args = {&p1, &p2, &p3, &p4};
  const std::size_t count = std::min<std::size_t>(types.size(), args.size());
  std::array<std::string, 4> values;
  for (std::size_t i = 0; i < count; ++i) values[i] = args[i]->Format(types[i]);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next >= '1' && static_cast<std::size_t>(next - '1') < count) {
      out += values[static_cast<std::size_t>(next - '1')];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string FormatMessageTextD(std::string_view text, int p1) {
  return FormatMessageText(text, "d", p1);
}
std::string FormatMessageTextDD(std::string_view text, int p1, int p2) {
  return FormatMessageText(text, "dd", p1, p2);
}
std::string FormatMessageTextS(std::string_view text, std::string_view p1) {
  return FormatMessageText(text, "s", p1);
}
std::string FormatMessageTextSS(std::string_view text, std::string_view p1, std::string_view p2) {
  return FormatMessageText(text, "ss", p1, p2);
}
std::string FormatMessageTextSSS(std::string_view text, std::string_view p1, std::string_view p2,
                                 std::string_view p3) {
  return FormatMessageText(text, "sss", p1, p2, p3);
}

std::string FormatMessageText(int number, std::string_view types, const CMessageArg& p1,
                              const CMessageArg& p2, const CMessageArg& p3, const CMessageArg& p4) {
  return FormatMessageText(StringText(number), types, p1, p2, p3, p4);
}
std::string FormatMessageTextD(int number, int p1) {
  return FormatMessageTextD(StringText(number), p1);
}
std::string FormatMessageTextDD(int number, int p1, int p2) {
  return FormatMessageTextDD(StringText(number), p1, p2);
}
std::string FormatMessageTextS(int number, std::string_view p1) {
  return FormatMessageTextS(StringText(number), p1);
}
std::string FormatMessageTextSS(int number, std::string_view p1, std::string_view p2) {
  return FormatMessageTextSS(StringText(number), p1, p2);
}
std::string FormatMessageTextSSS(int number, std::string_view p1, std::string_view p2,
                                 std::string_view p3) {
  return FormatMessageTextSSS(StringText(number), p1, p2, p3);
}

std::string FileProblemText(int number, std::string_view path) {
  const std::string text = StringText(number);
  if (text.find("%1") != std::string::npos) return FormatMessageTextS(text, path);
  return std::string(path) + "\n\n" + text;
}
