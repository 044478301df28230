#pragma once

#include <filesystem>
#include <functional>
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
  // A script that waits for a file "release" in the folder (or for the folder to go),
  // then leaves a file "done"; returns its path.
  std::string AddWaiter(const std::string& name) const;

 private:
  CTempFolder m_folder{"scripts"};
};

// Polls every 20 ms until the condition holds or ten seconds have gone; the condition's
// last answer.
bool WaitUntil(const std::function<bool()>& condition);

// Reaps ended children that were let go while running until none is left (or ten
// seconds have gone); true when none is left.
bool ReapAllOrphans();
