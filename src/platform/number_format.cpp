#include "platform/number_format.h"

#include <cmath>

#include "platform/number_text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits at pos into value; false when it exceeds the limit.
bool ReadSmallNumber(std::string_view text, std::size_t& pos, int& value) {
  value = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    value = value * 10 + (text[pos] - '0');
    if (value > CNumberFormat::kMaxWidth) return false;
    ++pos;
  }
  return true;
}

// Literal text up to the next lone '%' (at pos afterwards); "%%" becomes '%'.
std::string ReadLiteral(std::string_view text, std::size_t& pos) {
  std::string literal;
  while (pos < text.size()) {
    if (text[pos] != '%') {
      literal.push_back(text[pos++]);
    } else if (pos + 1 < text.size() && text[pos + 1] == '%') {
      literal.push_back('%');
      pos += 2;
    } else {
      break;
    }
  }
  return literal;
}

std::chars_format CharsFormat(char conversion) {
  switch (conversion) {
    case 'e':
    case 'E': return std::chars_format::scientific;
    case 'g':
    case 'G': return std::chars_format::general;
    default: return std::chars_format::fixed;
  }
}

}  // namespace

std::optional<CNumberFormat> CNumberFormat::Parse(std::string_view format) {
  CNumberFormat result;
  result.m_text = std::string(format);
  std::size_t pos = 0;
  result.m_prefix = ReadLiteral(format, pos);
  if (pos >= format.size()) return std::nullopt;  // no conversion
  ++pos;
  for (; pos < format.size(); ++pos) {
    const char c = format[pos];
    if (c == '-') result.m_leftAlign = true;
    else if (c == '+') result.m_plusSign = true;
    else if (c == ' ') result.m_blankSign = true;
    else if (c == '0') result.m_zeroPad = true;
    else break;
  }
  if (!ReadSmallNumber(format, pos, result.m_width)) return std::nullopt;
  if (pos < format.size() && format[pos] == '.') {
    ++pos;
    if (!ReadSmallNumber(format, pos, result.m_precision)) return std::nullopt;
  }
  if (pos < format.size() && format[pos] == 'l') ++pos;
  if (pos >= format.size()) return std::nullopt;
  const char conversion = format[pos++];
  if (std::string_view("fFeEgG").find(conversion) == std::string_view::npos) return std::nullopt;
  result.m_conversion = conversion;
  result.m_suffix = ReadLiteral(format, pos);
  if (pos < format.size()) return std::nullopt;  // a second conversion
  return result;
}

std::string CNumberFormat::ConvertNumber(double value) const {
  if (!std::isfinite(value)) {
    const bool upper = m_conversion == 'F' || m_conversion == 'E' || m_conversion == 'G';
    std::string text = std::isnan(value) ? "nan" : "inf";
    if (upper)
      for (char& c : text) c = static_cast<char>(c - 'a' + 'A');
    return text;
  }
  std::string buffer = PrecisionText(std::fabs(value), CharsFormat(m_conversion), m_precision);
  if (m_conversion == 'E' || m_conversion == 'G') {
    for (char& c : buffer)
      if (c == 'e') c = 'E';
  }
  return buffer;
}

std::string CNumberFormat::Apply(double value) const {
  // Built in one text: every priced cell of every bill refreshed is formatted here.
  const std::string digits = ConvertNumber(value);
  char sign = '\0';
  if (std::signbit(value) && !std::isnan(value)) sign = '-';
  else if (m_plusSign) sign = '+';
  else if (m_blankSign) sign = ' ';
  const std::size_t length = (sign != '\0' ? 1 : 0) + digits.size();
  const auto width = static_cast<std::size_t>(m_width);
  const std::size_t pad = width > length ? width - length : 0;
  const bool zeros = !m_leftAlign && m_zeroPad && std::isfinite(value);
  std::string text;
  text.reserve(m_prefix.size() + length + pad + m_suffix.size());
  text += m_prefix;
  if (!m_leftAlign && !zeros) text.append(pad, ' ');
  if (sign != '\0') text += sign;
  if (zeros) text.append(pad, '0');
  text += digits;
  if (m_leftAlign) text.append(pad, ' ');
  text += m_suffix;
  return text;
}
