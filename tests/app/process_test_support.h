#pragma once

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

// A temporary folder with small shell scripts that stand in for external programs.
class CScriptFolder {
 public:
  std::filesystem::path Path() const { return m_folder.Path(); }
  std::string Folder() const { return m_folder.Folder(); }
  // Writes an executable "#!/bin/sh" script of that name; returns its path.
  std::string AddScript(const std::string& name, const std::string& body) const;
  std::string ReadFile(const std::string& name) const { return m_folder.ReadFile(name); }
  void Touch(const std::string& name) const { m_folder.WriteFile(name, ""); }

 private:
  CTempFolder m_folder{"scripts"};
};
