#pragma once

#include <optional>
#include <string>
#include <string_view>

// A C-library style format for one double ("%.0f", "%8.2f", "%g m"), applied without
// the C library and without the user's locale: the point is always ".". Formats come
// from catalogue tables, so only a safe subset is accepted: literal text, "%%", and
// exactly one conversion "%[-+ 0][width][.precision][l]{f,F,e,E,g,G}" with width and
// precision of at most kMaxWidth. Anything else ("%s", "%n", "%d", "*", two
// conversions, none) is refused.
class CNumberFormat {
 public:
  static constexpr int kMaxWidth = 100;

  // The format, or nothing when the text is not an acceptable format.
  static std::optional<CNumberFormat> Parse(std::string_view format);

  // The text printf would give for this format and value in the "C" locale.
  std::string Apply(double value) const;

  const std::string& Text() const { return m_text; }

 private:
  CNumberFormat() = default;
  std::string ConvertNumber(double value) const;

  std::string m_text;    // the format as given
  std::string m_prefix;  // literal text before the conversion ("%%" already undone)
  std::string m_suffix;  // literal text after it
  bool m_leftAlign = false;
  bool m_plusSign = false;
  bool m_blankSign = false;
  bool m_zeroPad = false;
  int m_width = 0;
  int m_precision = 6;
  char m_conversion = 'f';
};
