#pragma once

#include <string>

// Asks the user on behalf of a bill-of-materials grid; the window side shows a
// translated message box, tests record the questions.
class CBOMPrompter {
 public:
  virtual ~CBOMPrompter() = default;

  // Shows the text with the caption; with cancel the box offers OK and Cancel, else OK
  // only. True for OK.
  virtual bool ShowMessage(const std::string& text, const std::string& caption, bool cancel) = 0;
};
