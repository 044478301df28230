#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// A text kept with a bill, in one block with its length and room ahead of it: the bill
// holds a single pointer, and reading the text back reaches one place in memory.
class CBOMKeptText {
 public:
  std::string_view View() const {
    return m_block ? std::string_view(m_block.get() + kHead, Field(0)) : std::string_view();
  }
  // The room of the text kept before serves again when the new one fits.
  void Assign(std::string_view text) {
    if (!m_block || Field(1) < text.size()) {
      m_block = std::make_unique_for_overwrite<char[]>(kHead + text.size());
      SetField(1, text.size());
    }
    SetField(0, text.size());
    if (!text.empty()) std::memcpy(m_block.get() + kHead, text.data(), text.size());
  }

 private:
  static constexpr std::size_t kHead = 2 * sizeof(std::size_t);  // length, room
  std::size_t Field(std::size_t index) const {
    std::size_t value = 0;
    std::memcpy(&value, m_block.get() + index * sizeof value, sizeof value);
    return value;
  }
  void SetField(std::size_t index, std::size_t value) {
    std::memcpy(m_block.get() + index * sizeof value, &value, sizeof value);
  }

  std::unique_ptr<char[]> m_block;
};
