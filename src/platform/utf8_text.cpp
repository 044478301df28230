#include "platform/utf8_text.h"

namespace {

// Bytes taken by the character that starts at text[i] (1 for a stray byte).
std::size_t CharacterLength(std::string_view text, std::size_t i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  if (lead >= 0xF5) length = 1;
  if (i + length > text.size()) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) ++count;
  return count;
}

std::string CutToCharacters(std::string_view text, std::size_t maxCharacters) {
  std::size_t end = 0;
  for (std::size_t count = 0; end < text.size() && count < maxCharacters; ++count) {
    end += CharacterLength(text, end);
  }
  return std::string(text.substr(0, end));
}
