#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The small expression language of the linear price formulas: operands separated by
// "+", "-", "*", "/" and "=", no parentheses ("(" and ")" are letters of names).
//
// An operand is trimmed of blanks and its first "," becomes "."; its value is the
// decimal number it begins with (digits, point and exponent only: no sign, "inf", "nan"
// or hex, and a number too large for a double is held at the largest one). When that
// value is 0 the operand is a name, which the caller resolves.
//
// Evaluation runs left to right over two registers, sum and term: "*" and "/" act on the
// term (a division by 0 gives 0), "+" and "-" add the term to the sum and start a new
// term, "=" closes everything so far into the term and drops its own operand. The result
// is sum + term.
class CLinearFormula {
 public:
  enum class Op : char { None = 0, Add = '+', Sub = '-', Mul = '*', Div = '/', Close = '=' };

  struct Operand {
    Op op = Op::None;     // the operator before the operand
    std::string text;     // trimmed, first ',' as '.'
    double number = 0.0;  // 0 for a name
    int name = -1;        // what the name classifier gave (-1 unknown)
  };

  // Gives a name's id in the caller's dialect, or -1 for a name it does not know.
  using NameClassifier = std::function<int(std::string_view)>;

  CLinearFormula() = default;
  // Cuts the text into operands; names are classified once here.
  static CLinearFormula Parse(std::string_view text, const NameClassifier& classify = {});

  bool IsEmpty() const { return m_operands.empty(); }
  const std::vector<Operand>& Operands() const { return m_operands; }
  const std::string& Text() const { return m_text; }

  // True when the text has an operand that cannot be what was meant: an empty operand
  // anywhere but first or right after "=" ("2**3", "5+"), or a text of blanks only.
  bool IsMalformed() const { return m_malformed; }

  // Evaluates with the value type V (a double, or a vector of prices with the same
  // operations). valueOf(operand) gives the value of a name.
  template <typename V, typename ValueOf>
  V Evaluate(ValueOf&& valueOf) const {
    V sum{};
    V term{};
    for (const Operand& operand : m_operands) {
      if (operand.op == Op::Close) {
        term = term + sum;
        sum = V{};
        continue;
      }
      const V value = operand.number != 0.0 ? V(operand.number) : V(valueOf(operand));
      switch (operand.op) {
        case Op::None: term = value; break;
        case Op::Mul: term = term * value; break;
        case Op::Div: term = Divide(term, value); break;
        case Op::Add:
          sum = sum + term;
          term = value;
          break;
        case Op::Sub:
          sum = sum + term;
          term = -value;
          break;
        case Op::Close: break;
      }
    }
    return sum + term;
  }

  // The number an operand text begins with, as the operands read it.
  static double ReadNumber(std::string_view text);

 private:
  static double Divide(double term, double value) { return value == 0.0 ? 0.0 : term / value; }
  template <typename V>
  static V Divide(const V& term, const V& value) {
    return V::Divide(term, value);
  }

  std::vector<Operand> m_operands;
  std::string m_text;
  bool m_malformed = false;
};

// A double truncated towards zero to 32 bits, held at the ends of the range (NaN gives
// 0), so that a huge formula result never wraps around.
std::int32_t SaturateToInt32(double value);
std::int32_t SaturateToInt32(std::int64_t value);
