#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 and UTF-16 primitives shared by every reader and writer of text. Each caller keeps
// its own policy (what to do with a NUL or an invalid sequence); these only say what the
// bytes and units mean.
namespace tvr::platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Appends the UTF-8 form of a code point; a surrogate or a value past U+10FFFF is not a
// character and becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the UTF-8 sequence at text[pos] and moves pos past it. No value when it is not a
// valid one (bad or stray byte, overlong form, surrogate, value past U+10FFFF, cut short):
// pos then moves past its first byte only. No value and pos unchanged at the end of text.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos);

// Bytes of the valid UTF-8 sequence at text[pos], 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

// Whether the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

// Whether a UTF-16 unit is the first half of a surrogate pair.
bool IsHighSurrogate(char32_t unit);

// Decodes the code point at text[pos], a unit or a surrogate pair, and moves pos past it.
// No value for an unpaired surrogate (pos then moves one unit) or at the end of text.
std::optional<char32_t> DecodeUtf16(std::u16string_view text, std::size_t& pos);

// UTF-16 code units of a UTF-8 text; invalid UTF-8 becomes U+FFFD, one per offending byte.
std::u16string Utf8ToUtf16(std::string_view text);
// The same written to out, which has room for text.size() units; returns the end.
char16_t* Utf8ToUtf16(std::string_view text, char16_t* out);

// UTF-8 of UTF-16 code units; no value when a surrogate is unpaired.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);
// The same written to out, which has room for 3 * text.size() bytes; returns the end,
// null when a surrogate is unpaired.
char* Utf16ToUtf8(std::u16string_view text, char* out);

}  // namespace tvr::platform
