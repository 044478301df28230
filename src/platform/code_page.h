#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Conversions between the program's UTF-8 texts and the 8-bit code pages of catalogue
// tables and legacy stored strings. The tables are built once (through iconv) and then
// shared, so converting is cheap and thread-safe.
//
// No conversion ever fails or reads out of bounds: a byte that has no character in the
// code page decodes to '?', and a character (or an invalid UTF-8 sequence) that the code
// page cannot hold encodes to '?'.
namespace tvr::platform {

enum class CodePage {
  Cp437,   // original IBM PC
  Cp850,   // OEM, the default of catalogue tables
  Cp1252,  // ANSI
};

// Decodes 8-bit text of the code page into UTF-8. A zero byte decodes to U+0000. When
// lossy is given it is set to true if any byte had no character in the code page (and
// became '?'), else false.
std::string ToUtf8(std::string_view bytes, CodePage page, bool* lossy = nullptr);

// Encodes UTF-8 text into the code page, one byte per character. When lossy is given it
// is set to true if any character became '?' for want of room in the code page (or was
// not valid UTF-8), else false.
std::string FromUtf8(std::string_view text, CodePage page, bool* lossy = nullptr);

// The code page named by a dBase header's language-driver byte (byte 29):
// 0x01 CP437; 0x02 CP850; 0x03, 0x57, 0x58, 0x59 CP1252; 0 and any other value CP850.
CodePage CodePageFromLdid(std::uint8_t ldid);

// The language-driver byte written for a code page: CP437 0x01, CP850 0x02, CP1252 0x03.
std::uint8_t LdidOf(CodePage page);

// "CP437", "CP850", "CP1252" (letter case ignored); nothing for any other name.
std::optional<CodePage> CodePageFromName(std::string_view name);

// "CP437", "CP850" or "CP1252".
std::string_view CodePageName(CodePage page);

// The ANSI code page (CP1252) for legacy 8-bit strings of stored files.
std::string ToAnsi(std::string_view text);
std::string FromAnsi(std::string_view ansi);

// The OEM code page (CP850).
std::string ToOem(std::string_view text);
std::string FromOem(std::string_view oem);

}  // namespace tvr::platform
