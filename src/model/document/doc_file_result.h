#pragma once

#include "platform/archive.h"

#include <string>

// How reading or writing a layout document ended. On failure, message is the number of
// the message to show and text that message filled in (the window side shows it).
struct CDocFileResult {
  bool ok = true;
  int message = 0;
  std::string text;
  // Version errors are shown only for ".run" files (not for models or snapshots).
  bool show = true;
};

// A stream whose version this program cannot read (message 31465 for versions older
// than any layout document, 31466 for newer ones); the text is the filled message.
class CDocVersionError : public CArchiveError {
 public:
  CDocVersionError(int message, const std::string& text, std::size_t offset)
      : CArchiveError(text, offset), m_message(message), m_text(text) {}
  int Message() const { return m_message; }
  const std::string& Text() const { return m_text; }

 private:
  int m_message;
  std::string m_text;
};
