#include "ranges/qm/part_builder_qm.h"

#include <cctype>

std::size_t FindQMParameter(std::string_view text, std::string_view key) {
  for (std::size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, at + 1)) {
    if (at == 0 || text[at - 1] == ',' || text[at - 1] == ' ') return at;
  }
  return std::string_view::npos;
}

std::optional<int> QMParameterValue(std::string_view text, std::string_view key) {
  const std::size_t at = FindQMParameter(text, key);
  if (at == std::string_view::npos) return std::nullopt;
  return ReadBoundedInt(text.substr(at + key.size()), CPartBuilderQM::kMaxCount);
}

std::string WithQMParameter(std::string text, std::string_view key, int value) {
  const std::size_t at = FindQMParameter(text, key);
  if (at == std::string::npos) return text;
  const std::size_t from = at + key.size();
  std::size_t to = from;
  if (to < text.size() && (text[to] == '-' || text[to] == '+')) ++to;
  while (to < text.size() && std::isdigit(static_cast<unsigned char>(text[to])) != 0) ++to;
  return text.replace(from, to - from, std::to_string(value));
}
