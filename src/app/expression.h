#pragma once

#include <string>
#include <string_view>
#include <vector>

// Evaluates the arithmetic texts of the catalogue: blank-separated tokens (split as a
// command line is), read left to right without precedence. "+", "-", "*" and "/" set
// the pending operator (at first "+"); any other token is an operand, the value of the
// first variable of that exact name when there is one, else the token itself, read as
// a number (TextToDouble) and combined with the running result (at first 0).
// So "2 + 3 * 4" gives 20, "2 3" gives 5 and an empty text 0.
// variables: texts "name=value"; entries without '=' are ignored.
// A division by zero, or a step that overflows, makes the running result 0, so that no
// infinity or not-a-number reaches quantities, prices or lengths; the tokens after it
// go on from 0.
double EvaluateExpression(std::string_view text, const std::vector<std::string>& variables);
