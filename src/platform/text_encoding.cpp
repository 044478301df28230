#include "platform/text_encoding.h"

namespace tvr::platform {
namespace {

bool IsSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDFFF; }

bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf16(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  codePoint -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || IsSurrogate(cp)) cp = kReplacementCharacter;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos) {
  if (pos >= text.size()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  std::size_t extra = 0;
  char32_t value = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, value = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() - pos < extra) return std::nullopt;
  for (std::size_t i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (next & 0x3F);
  }
  static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  if (value < kMinimum[extra] || value > 0x10FFFF || IsSurrogate(value)) return std::nullopt;
  pos += extra;
  return value;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
  const std::size_t start = pos;
  return DecodeUtf8(text, pos) ? pos - start : 0;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    if (!DecodeUtf8(text, pos)) return false;
  }
  return true;
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

std::optional<char32_t> DecodeUtf16(std::u16string_view text, std::size_t& pos) {
  if (pos >= text.size()) return std::nullopt;
  const char32_t unit = text[pos++];
  if (!IsSurrogate(unit)) return unit;
  if (!IsHighSurrogate(unit) || pos >= text.size() || !IsLowSurrogate(text[pos])) {
    return std::nullopt;
  }
  const char32_t low = text[pos++];
  return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) AppendUtf16(out, DecodeUtf8(text, pos).value_or(kReplacementCharacter));
  return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::optional<char32_t> codePoint = DecodeUtf16(text, pos);
    if (!codePoint) return std::nullopt;
    AppendUtf8(out, *codePoint);
  }
  return out;
}

}  // namespace tvr::platform
