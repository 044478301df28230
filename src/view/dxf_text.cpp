#include "view/dxf_text.h"

#include <algorithm>
#include <cstdio>

#include "platform/code_page.h"
#include "platform/text_encoding.h"

namespace {

using tvr::platform::CodePage;

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool PlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x7F && c != '\\';
  });
}

void AppendEscape(std::string& out, char32_t unit) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "\\U+%04X", static_cast<unsigned>(unit));
  out += buffer;
}

// Whether the backslash at pos starts what a reader takes for an escape.
bool LooksLikeEscape(std::string_view text, std::size_t pos) {
  if (pos + 2 >= text.size()) return false;
  const char letter = static_cast<char>(text[pos + 1] & ~0x20);
  return (letter == 'U' || letter == 'M') && text[pos + 2] == '+';
}

void AppendCharacter(std::string& out, char32_t c) {
  std::string utf8;
  tvr::platform::AppendUtf8(utf8, c);
  bool lossy = false;
  const std::string ansi = tvr::platform::FromUtf8(utf8, CodePage::Cp1252, &lossy);
  if (!lossy) {
    out += ansi;
  } else if (c > 0xFFFF) {
    AppendEscape(out, 0xD800 + ((c - 0x10000) >> 10));
    AppendEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    AppendEscape(out, c);
  }
}

}  // namespace

std::string DxfTextValue(std::string_view text) {
  if (PlainAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t at = pos;
    const std::optional<char32_t> c = tvr::platform::DecodeUtf8(text, pos);
    if (!c) {
      out += '?';
    } else if (IsControl(*c)) {
      out += ' ';
    } else if (*c == '\\') {
      if (LooksLikeEscape(text, at)) {
        AppendEscape(out, '\\');
      } else {
        out += '\\';
      }
    } else {
      AppendCharacter(out, *c);
    }
  }
  return out;
}
