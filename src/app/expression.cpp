#include "app/expression.h"

#include <cmath>

#include "app/command_line.h"
#include "platform/text_conversions.h"

namespace {

std::string_view OperandText(std::string_view token, const std::vector<std::string>& variables) {
  for (const std::string& variable : variables) {
    std::size_t equals = variable.find('=');
    if (equals != std::string::npos && std::string_view(variable).substr(0, equals) == token) {
      return std::string_view(variable).substr(equals + 1);
    }
  }
  return token;
}

double Apply(char op, double result, double operand) {
  switch (op) {
    case '-': return result - operand;
    case '*': return operand * result;
    case '/': return operand == 0.0 ? 0.0 : result / operand;
    default: return result + operand;
  }
}

}  // namespace

double EvaluateExpression(std::string_view text, const std::vector<std::string>& variables) {
  double result = 0.0;
  char op = '+';
  for (const std::string& token : SplitCommandLine(text)) {
    if (token == "+" || token == "-" || token == "*" || token == "/") {
      op = token.front();
      continue;
    }
    result = Apply(op, result, TextToDouble(OperandText(token, variables)));
    if (!std::isfinite(result)) result = 0.0;  // an overflow, like a division by zero
  }
  return result;
}
