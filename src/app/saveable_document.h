#pragma once

#include <string>

// A document as the questions before closing see it: whether it holds unsaved work,
// where it was read from or last written to, and how it writes itself. Layout, linear
// and reference documents implement it; the window side asks "save changes?" through
// it, chooses a file for a document that has none, and closes only after a save that
// succeeded.
class CSaveableDocument {
 public:
  virtual ~CSaveableDocument() = default;

  // The file of the document; empty while it was never read from or written to one.
  virtual std::string PathName() const = 0;
  virtual bool IsModified() const = 0;
  virtual void SetModifiedFlag(bool modified) = 0;
  // Writes the whole document to path as a new file renamed over any old one. On
  // success path becomes the document's file and it is no longer modified; on failure
  // false, error holds the reason in the interface's language and nothing changed
  // (an old file at path is kept as it was).
  [[nodiscard]] virtual bool SaveToFile(const std::string& path, std::string& error) = 0;
};
