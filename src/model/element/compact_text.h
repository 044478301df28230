#pragma once

#include <memory>
#include <string>
#include <string_view>

// A text that is most often empty, held in one pointer: an element keeps a few such
// texts and a document tens of thousands of elements.
class CCompactText {
 public:
  CCompactText() = default;
  CCompactText(const CCompactText& other) { *this = other.str(); }
  CCompactText& operator=(const CCompactText& other) {
    if (this != &other) *this = other.str();
    return *this;
  }
  CCompactText& operator=(std::string text) {
    if (text.empty()) m_text.reset();
    else if (m_text) *m_text = std::move(text);
    else m_text = std::make_unique<std::string>(std::move(text));
    return *this;
  }

  const std::string& str() const { return m_text ? *m_text : Empty(); }
  operator const std::string&() const { return str(); }
  std::size_t size() const { return m_text ? m_text->size() : 0; }
  bool empty() const { return size() == 0; }
  char operator[](std::size_t i) const { return (*m_text)[i]; }
  bool operator==(std::string_view text) const { return str() == text; }

 private:
  static const std::string& Empty() {
    static const std::string kEmpty;
    return kEmpty;
  }
  std::unique_ptr<std::string> m_text;
};
