#pragma once

#include <fstream>
#include <ios>
#include <string>

// A temporary file that exists on disk exactly as long as its object: created empty
// with a unique name beginning with "~TMP" in a folder (by default the settings
// folder), deleted by the destructor whether or not it was ever opened.
class CTmpFile {
 public:
  // Throws std::system_error when no file could be created in the folder.
  CTmpFile();
  explicit CTmpFile(const std::string& folder);
  CTmpFile(const CTmpFile&) = delete;
  CTmpFile& operator=(const CTmpFile&) = delete;
  ~CTmpFile();

  const std::string& GetFilePath() const { return m_path; }

  // Opens the file again by its path with these modes (closing it first when open).
  // False when it cannot be opened.
  bool Reopen(std::ios::openmode mode);
  void Close();
  bool IsOpen() const { return m_stream.is_open(); }
  std::fstream& Stream() { return m_stream; }

 private:
  std::string m_path;
  std::fstream m_stream;
};
