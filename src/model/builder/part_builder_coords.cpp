#include "model/builder/part_builder.h"

#include <algorithm>
#include <vector>

namespace {

// Whether the "," at `comma` is followed by a bare value: a character not above "9"
// that is not itself followed by "=".
bool BareAfter(const std::string& text, std::size_t comma) {
  if (comma == std::string::npos || comma + 1 >= text.size() || text[comma] != ',') return false;
  if (static_cast<unsigned char>(text[comma + 1]) > '9') return false;
  return comma + 2 >= text.size() || text[comma + 2] != '=';
}

// Reverses the bare values that begin at `start` (just behind "x=").
void ReverseBareValues(std::string& text, std::size_t start) {
  std::vector<std::string> values;
  std::size_t begin = start;
  std::size_t end = text.size();
  for (;;) {
    const std::size_t comma = text.find(',', begin);
    values.push_back(
        text.substr(begin, (comma == std::string::npos ? text.size() : comma) - begin));
    if (!BareAfter(text, comma)) {
      end = comma == std::string::npos ? text.size() : comma;
      break;
    }
    begin = comma + 1;
  }
  std::string joined;
  for (auto value = values.rbegin(); value != values.rend(); ++value) {
    if (!joined.empty()) joined += ',';
    joined += *value;
  }
  text.replace(start, end - start, joined);
}

}  // namespace

void FormatPartCoords(std::string& text, int joinFlag, char mode) {
  const std::size_t at = text.find("x=");
  if (at == std::string::npos) return;
  const bool rMode = (text.size() > 1 && text[1] == 'R') || mode == 'R';
  if (!BareAfter(text, text.find(',', at))) {
    text[at] = rMode ? 'x' : 'l';
    return;
  }
  if (joinFlag != 0) ReverseBareValues(text, at + 2);
  char key = rMode ? 'x' : 'a';
  text[at] = key;
  int added = 0;
  std::size_t comma = text.find(',', at);
  // Keys run to "z" at most: a value beyond it stays bare.
  while (added < 3 && key < 'z' && BareAfter(text, comma)) {
    ++key;
    text.insert(comma + 1, std::string{key, '='});
    ++added;
    comma = text.find(',', comma + 3);
  }
  // Only three values exactly (x, y, z) are turned: a fourth bare value leaves them.
  if (!rMode || added != 2 || BareAfter(text, comma)) return;
  const std::size_t y = text.find(",y=", at);
  const std::size_t z = text.find(",z=", y);
  if (y == std::string::npos || z == std::string::npos) return;
  const std::string yValue = text.substr(y + 3, z - (y + 3));
  text = text.substr(0, y + 3) + text.substr(z + 3) + ",z=" + yValue;
}
