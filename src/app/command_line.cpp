#include "app/command_line.h"

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

class CommandLineSplitter {
 public:
  explicit CommandLineSplitter(std::string_view text) : m_text(text) {}

  std::vector<std::string> Split() {
    while (m_pos < m_text.size()) {
      char c = m_text[m_pos];
      if (IsSeparator(c) && !m_quoted) {
        EndWord();
        ++m_pos;
      } else if (c == '\\') {
        Backslashes();
      } else if (c == '"') {
        Quote();
      } else {
        m_word += c;
        m_inWord = true;
        ++m_pos;
      }
    }
    EndWord();
    return std::move(m_words);
  }

 private:
  void EndWord() {
    if (m_inWord) m_words.push_back(std::move(m_word));
    m_word.clear();
    m_inWord = false;
  }

  void Backslashes() {
    std::size_t count = 0;
    while (m_pos < m_text.size() && m_text[m_pos] == '\\') ++count, ++m_pos;
    m_inWord = true;
    bool beforeQuote = m_pos < m_text.size() && m_text[m_pos] == '"';
    if (!beforeQuote) {
      m_word.append(count, '\\');
      return;
    }
    m_word.append(count / 2, '\\');
    if (count % 2 == 1) {
      m_word += '"';
      ++m_pos;
    }  // an even count leaves the quote to Quote()
  }

  void Quote() {
    m_inWord = true;
    ++m_pos;
    if (m_quoted && m_pos < m_text.size() && m_text[m_pos] == '"') {
      m_word += '"';
      ++m_pos;
      return;
    }
    m_quoted = !m_quoted;
  }

  std::string_view m_text;
  std::size_t m_pos = 0;
  std::string m_word;
  bool m_inWord = false;
  bool m_quoted = false;
  std::vector<std::string> m_words;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
  return CommandLineSplitter(text).Split();
}
