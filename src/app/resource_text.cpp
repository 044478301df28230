#include "app/resource_text.h"

#include <algorithm>

std::optional<std::u16string> ReadCountedText(std::span<const char16_t> block,
                                              std::size_t& offset) {
  if (offset >= block.size()) return std::nullopt;
  std::size_t length = block[offset];
  if (length > block.size() - offset - 1) return std::nullopt;
  const char16_t* text = block.data() + offset + 1;
  std::u16string result(text, std::min(length, kMaxResourceTextUnits));
  offset += 1 + length;
  return result;
}

std::size_t ZeroTerminatedLength(std::span<const char16_t> block, std::size_t offset) {
  if (offset >= block.size()) return 0;
  auto begin = block.begin() + static_cast<std::ptrdiff_t>(offset);
  return static_cast<std::size_t>(std::find(begin, block.end(), u'\0') - begin);
}

std::optional<std::u16string> ReadZeroTerminatedText(std::span<const char16_t> block,
                                                     std::size_t& offset) {
  std::size_t length = ZeroTerminatedLength(block, offset);
  if (offset + length >= block.size()) return std::nullopt;
  std::u16string result(block.data() + offset, std::min(length, kMaxResourceTextUnits));
  offset += length + 1;
  return result;
}

void AppendCountedText(std::u16string& block, std::u16string_view text) {
  std::size_t length = std::min<std::size_t>(text.size(), 0xFFFF);
  block += static_cast<char16_t>(length);
  block.append(text.substr(0, length));
}

void AppendZeroTerminatedText(std::u16string& block, std::u16string_view text) {
  block.append(text.substr(0, text.find(u'\0')));
  block += u'\0';
}
