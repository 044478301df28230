#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Texts inside resource blocks (string tables, menu and dialog templates), which hold
// 16-bit code units: counted strings (a 16-bit length, then that many units, no
// terminator) and zero-terminated strings. Every reader checks the block's end.

constexpr std::size_t kMaxResourceTextUnits = 1023;

// The counted string at offset, cut to 1023 units; offset moves past the whole string.
// Nothing (offset unchanged) when the block ends before the length or the text does.
std::optional<std::u16string> ReadCountedText(std::span<const char16_t> block, std::size_t& offset);

// The units before the first zero unit from offset, or up to the block's end when there is none.
std::size_t ZeroTerminatedLength(std::span<const char16_t> block, std::size_t offset);

// The zero-terminated string at offset, cut to 1023 units; offset moves past its zero.
// Nothing (offset unchanged) when the block ends before the zero.
std::optional<std::u16string> ReadZeroTerminatedText(std::span<const char16_t> block,
                                                     std::size_t& offset);

// Appends the text as a counted string; a text longer than a 16-bit length can count
// is cut to 65535 units.
void AppendCountedText(std::u16string& block, std::u16string_view text);
// Appends the text and a zero unit; the text ends at a zero unit of its own.
void AppendZeroTerminatedText(std::u16string& block, std::u16string_view text);
