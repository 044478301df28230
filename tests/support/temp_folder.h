#pragma once

#include <string>
#include <string_view>

// A fresh folder of one test's own below the system's temporary folder. It is made with
// mkdtemp, so tests running side by side never share one, and it goes with everything in
// it when the object goes, even where the test took rights away from its folders.
class CTempFolder {
 public:
  // The folder is named "tvr-<label>-XXXXXX"; throws std::runtime_error when it cannot
  // be made.
  explicit CTempFolder(const std::string& label = "test");
  ~CTempFolder();
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;

  // The folder, without a '/' at the end.
  const std::string& Path() const { return m_path; }
  // The folder with a '/' at the end, the form the program's folder settings take.
  std::string Folder() const { return m_path + "/"; }
  // The path of a file or folder inside; the name may hold '/'.
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  // Writes the bytes as that file, making its folders as needed; returns its path.
  // Throws std::runtime_error when the file cannot be written.
  std::string WriteFile(const std::string& name, std::string_view bytes) const;
  // The bytes of that file; empty when it is missing or cannot be read.
  std::string ReadFile(const std::string& name) const;

 private:
  std::string m_path;
};

// The bytes of any file; empty when it is missing or cannot be read.
std::string ReadWholeFile(const std::string& path);
