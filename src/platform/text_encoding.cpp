#include "platform/text_encoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tvr::platform {
namespace {

bool IsSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDFFF; }

bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char16_t* PutUtf16(char16_t* out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    *out++ = static_cast<char16_t>(codePoint);
    return out;
  }
  codePoint -= 0x10000;
  *out++ = static_cast<char16_t>(0xD800 + (codePoint >> 10));
  *out++ = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
  return out;
}

// Texts are mostly ASCII with an accented letter here and there: these take 16 bytes (8
// units) at a time, copy them all, and tell how many come before the first that is not
// ASCII, for the caller to move on past those; that one and the rest go one character
// at a time.
#if defined(__SSE2__)
std::size_t CopyAsciiBytes(const char* bytes, char16_t* out) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  const __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(block, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(block, zero));
  const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
  return high == 0 ? 16 : static_cast<std::size_t>(std::countr_zero(high));
}

std::size_t CopyAsciiUnits(const char16_t* units, char* out) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(block, block));
  const __m128i high = _mm_and_si128(block, _mm_set1_epi16(static_cast<short>(0xFF80)));
  const auto ascii =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())));
  return ascii == 0xFFFF ? 8 : static_cast<std::size_t>(std::countr_one(ascii)) / 2;
}
#else
std::size_t CopyAsciiBytes(const char* bytes, char16_t* out) {
  std::size_t ascii = 0;
  while (ascii < 16 && static_cast<unsigned char>(bytes[ascii]) < 0x80) {
    out[ascii] = static_cast<unsigned char>(bytes[ascii]);
    ++ascii;
  }
  return ascii;
}

std::size_t CopyAsciiUnits(const char16_t* units, char* out) {
  std::size_t ascii = 0;
  while (ascii < 8 && units[ascii] < 0x80) {
    out[ascii] = static_cast<char>(units[ascii]);
    ++ascii;
  }
  return ascii;
}
#endif

// Writes the UTF-8 form of a code point, U+FFFD for a non-character; returns the end.
char* PutUtf8(char* out, char32_t cp) {
  if (cp > 0x10FFFF || IsSurrogate(cp)) cp = kReplacementCharacter;
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(PutUtf8(bytes, cp) - bytes));
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

char16_t* Utf8ToUtf16(std::string_view text, char16_t* end) {
  const char* bytes = text.data();
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (pos + 16 <= text.size()) {
      // Units never outnumber the bytes read, so the 16 fit.
      const std::size_t ascii = CopyAsciiBytes(bytes + pos, end);
      pos += ascii;
      end += ascii;
      if (ascii == 16) continue;
    }
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80) {
      *end++ = lead;
      ++pos;
    } else if (lead >= 0xC2 && lead < 0xE0 && pos + 1 < text.size() &&
               (static_cast<unsigned char>(bytes[pos + 1]) & 0xC0) == 0x80) {
      *end++ = static_cast<char16_t>(((lead & 0x1F) << 6) |
                                     (static_cast<unsigned char>(bytes[pos + 1]) & 0x3F));
      pos += 2;
    } else {
      end = PutUtf16(end, DecodeUtf8(text, pos).value_or(kReplacementCharacter));
    }
  }
  return end;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  out.resize(static_cast<std::size_t>(Utf8ToUtf16(text, out.data()) - out.data()));
  return out;
}

char* Utf16ToUtf8(std::u16string_view text, char* end) {
  const char16_t* units = text.data();
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (pos + 8 <= text.size()) {
      const std::size_t ascii = CopyAsciiUnits(units + pos, end);
      pos += ascii;
      end += ascii;
      if (ascii == 8) continue;
    }
    const char16_t unit = units[pos];
    if (unit < 0x80) {
      *end++ = static_cast<char>(unit);
      ++pos;
    } else if (unit < 0x800) {
      *end++ = static_cast<char>(0xC0 | (unit >> 6));
      *end++ = static_cast<char>(0x80 | (unit & 0x3F));
      ++pos;
    } else {
      const std::optional<char32_t> codePoint = DecodeUtf16(text, pos);
      if (!codePoint) return nullptr;
      end = PutUtf8(end, *codePoint);
    }
  }
  return end;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
  std::string out(3 * text.size(), '\0');
  const char* end = Utf16ToUtf8(text, out.data());
  if (end == nullptr) return std::nullopt;
  out.resize(static_cast<std::size_t>(end - out.data()));
  if (out.capacity() > 2 * out.size() + 64) out.shrink_to_fit();  // the text is kept
  return out;
}

}  // namespace tvr::platform
