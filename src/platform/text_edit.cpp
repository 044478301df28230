#include "platform/text_edit.h"

std::string TrimLeadingChar(std::string text, char c) {
  std::size_t first = text.find_first_not_of(c);
  if (first != std::string::npos) text.erase(0, first);
  return text;
}

std::string TrimTrailingChar(std::string text, char c) {
  std::size_t last = text.find_last_not_of(c);
  text.erase(last == std::string::npos ? 0 : last + 1);
  return text;
}

std::string TrimChar(std::string text, char c) {
  return TrimLeadingChar(TrimTrailingChar(std::move(text), c), c);
}

std::string PadWithChar(std::string text, std::size_t length, char c) {
  if (text.size() < length) text.append(length - text.size(), c);
  return text;
}
