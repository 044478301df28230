#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Conversions between the UTF-8 texts of the program and the encodings of stored files.
namespace tvr::model {

// UTF-16 code units of a UTF-8 text; invalid UTF-8 (bad bytes, overlong forms,
// surrogates, values past U+10FFFF) becomes U+FFFD, one per offending byte run.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-8 of UTF-16 code units; no value when a surrogate is unpaired.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);

// Appends the UTF-8 form of one code point (which must be a valid scalar value).
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace tvr::model
