#pragma once

#include <QString>

#include <string>

class CShellTestFolder;

// The real program started under a virtual X server on the sample catalogue, with the
// settings given (TVR.INI in the folder's settings), running the script of user actions
// (see ui_script.h) and writing its window dump; the dump's text, or empty when the
// program wrote none (the program's output is then in `output`).
struct CEndToEndRun {
  QString dump;
  QString output;
  // The value of a dump line "key=value"; empty when it has none.
  QString Value(const QString& key) const;
};
CEndToEndRun RunProgramScript(const CShellTestFolder& folder, const std::string& settings,
                              const std::string& script);

// Whether the virtual X server is there; the end-to-end tests skip without it.
bool CanRunEndToEnd();

// The test output folder (made) followed by the file name given.
std::string TestOutputFile(const std::string& name);
