#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ini_file.h"

// The option lists of a costing mode in the settings folder: "<name>.cfg" holds the
// user's or installer's choices; "<name>.all" lists every key the program knows with its
// built-in default. The first read of each program run deletes the .all file and writes
// it again, so that it always follows the program that ran last; later reads only read.
class COptionListFiles {
 public:
  // Reads <name>.cfg of the settings folder (ending with '/'); without one of the user's,
  // sampleFile (the program's own list, when given) in its place. A file that cannot be
  // read reads as one without keys.
  COptionListFiles(std::string settingsFolder, std::string name,
                   const std::string& sampleFile = {});

  // The choices as they were read (the user's file or the sample).
  static tvr::platform::CIniFile ReadChoices(const std::string& settingsFolder,
                                             const std::string& name,
                                             const std::string& sampleFile = {});

  // A value as the profile calls give it: cut to 255 characters; nullopt when absent.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // True during the first read of the run: the defaults visited go into the .all file.
  bool Rewriting() const { return m_rewriting; }
  // Records a key with its built-in default for the .all file (nothing when not rewriting).
  void RecordDefault(std::string_view section, std::string_view key, std::string_view value);
  // Ends the read: on the first read of the run the .all file is written and the run's
  // flag cleared. False when the .all file could not be written (nothing else is lost).
  bool Finish();

  // Writes keys into the user's <name>.cfg, keeping every other line. Without a file of
  // the user's, the new one starts from the sample so that its choices are not lost.
  static bool WriteChoices(const std::string& settingsFolder, const std::string& name,
                           const std::vector<std::pair<std::string, std::string>>& sectionKeys,
                           const std::vector<std::string>& values,
                           const std::string& sampleFile = {});

  // Makes the next read of that list the first of the run again (tests; a new run).
  static void ResetRun(const std::string& name);

 private:
  std::string m_allPath;
  std::string m_name;
  tvr::platform::CIniFile m_choices;
  tvr::platform::CIniFile m_all;
  bool m_rewriting = false;
};
