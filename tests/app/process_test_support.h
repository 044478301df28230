#pragma once

#include <filesystem>
#include <string>

// A temporary folder with small shell scripts that stand in for external programs.
class CScriptFolder {
 public:
  CScriptFolder();
  ~CScriptFolder();
  const std::filesystem::path& Path() const { return m_path; }
  std::string Folder() const { return m_path.string() + "/"; }
  // Writes an executable "#!/bin/sh" script of that name; returns its path.
  std::string AddScript(const std::string& name, const std::string& body) const;
  std::string ReadFile(const std::string& name) const;
  void Touch(const std::string& name) const;

 private:
  std::filesystem::path m_path;
};
