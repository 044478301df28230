#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// Message texts: the text of a message number in the program's language, and the
// numbered parameters %1..%4 of message texts.
//
// Every message number in code is written as a literal in one of these calls (or in
// SetMessageText / MessageBoxById on the window side), or as a constant named kMsg...:
// a test finds the numbers that way and checks that both language files hold them.

// The text of the message in the program's language, as the file holds it; empty when
// the language has no such message.
std::string LookupText(int number);

// The text as windows show it in menus, dialogs and controls: escapes turned into
// characters, "&" kept as the mnemonic mark. A message the language lacks shows its key
// ("MSG_0300"), so that a missing text is seen, never an empty control.
std::string ResourceText(int number);

// The text as message boxes, prompts and other string-table texts show it: like
// ResourceText, with every "&" removed from a translated text.
std::string StringText(int number);

// The key of a message: "MSG_" and the number with at least four digits ("MSG_0300").
std::string MessageKey(int number);

// A backslash and the character after it become one character: a 7, b 8, f 12, n 10,
// r 13, t 9, v 11; any other character (such as "\" or "?") stands for itself. A
// backslash at the very end ends the text there.
std::string UnescapeText(std::string_view text);

// One parameter of FormatMessageText; default-constructed it is a missing parameter,
// whose placeholders become empty.
class CMessageArg {
 public:
  CMessageArg() = default;
  template <typename T>
  requires std::integral<T> &&(!std::same_as<T, char>)&&(!std::same_as<T, bool>)CMessageArg(T value)
      : m_kind(Kind::Number), m_number(static_cast<std::int64_t>(value)) {}
  CMessageArg(char value) : m_kind(Kind::Character), m_number(static_cast<unsigned char>(value)) {}
  CMessageArg(std::string_view text) : m_kind(Kind::Text), m_text(text) {}
  CMessageArg(const char* text)
      : m_kind(text ? Kind::Text : Kind::None), m_text(text ? text : "") {}
  CMessageArg(const std::string& text) : m_kind(Kind::Text), m_text(text) {}

  // The value text for a type letter: "c" one character, "d" a signed number, "s" a
  // text, "u" an unsigned 32-bit number. A text given for a number letter (or a number
  // for "s") is shown as it is; an unknown letter or a missing parameter gives "".
  std::string Format(char type) const;

 private:
  enum class Kind { None, Number, Character, Text };
  Kind m_kind = Kind::None;
  std::int64_t m_number = 0;
  std::string m_text;
};

// Fills the placeholders %1..%4 of the text: for each i up to the number of type
// letters (at most four), every "%i" becomes parameter i formatted by the i-th letter.
// The text is read once from left to right, so nothing that a value brings in is ever
// replaced; placeholders without a type letter, "%5" and above, "%%" and a lone "%" stay.
std::string FormatMessageText(std::string_view text, std::string_view types,
                              const CMessageArg& p1 = {}, const CMessageArg& p2 = {},
                              const CMessageArg& p3 = {}, const CMessageArg& p4 = {});
std::string FormatMessageTextD(std::string_view text, int p1);
std::string FormatMessageTextDD(std::string_view text, int p1, int p2);
std::string FormatMessageTextS(std::string_view text, std::string_view p1);
std::string FormatMessageTextSS(std::string_view text, std::string_view p1, std::string_view p2);
std::string FormatMessageTextSSS(std::string_view text, std::string_view p1, std::string_view p2,
                                 std::string_view p3);

// The same on the message text of a number (StringText).
std::string FormatMessageText(int number, std::string_view types, const CMessageArg& p1 = {},
                              const CMessageArg& p2 = {}, const CMessageArg& p3 = {},
                              const CMessageArg& p4 = {});
std::string FormatMessageTextD(int number, int p1);
std::string FormatMessageTextDD(int number, int p1, int p2);
std::string FormatMessageTextS(int number, std::string_view p1);
std::string FormatMessageTextSS(int number, std::string_view p1, std::string_view p2);
std::string FormatMessageTextSSS(int number, std::string_view p1, std::string_view p2,
                                 std::string_view p3);

// The message of a file that failed, naming the file: the text of the message with %1
// as the path when it has that placeholder, else the path, a blank line and the text.
std::string FileProblemText(int number, std::string_view path);
