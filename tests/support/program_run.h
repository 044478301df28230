#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <string>

// What a run of the real program left: whether it ended in time, its exit code, what it
// printed, and the values it dumped ("key=value" lines of TVR_DUMP_WINDOW_FILE).
struct CProgramRun {
  bool finished = false;
  int exitCode = -1;
  QString output;
  QString dump;  // the dump file as written, empty when there is none
  QMap<QString, QString> values;
};

// True when the program can be run under a virtual X server here.
bool CanRunProgram();

// Runs the program of the build (tvr in the program folder) under xvfb-run, with the
// given arguments, its settings in <folder>/settings, its documents in
// <folder>/documents, and, when given, a script for the TVR_SCRIPT_FILE hook, run once
// it has started. A screen size ("1600x1000x24") sets that of the virtual screen.
CProgramRun RunProgram(const std::string& folder, const QStringList& arguments,
                       const std::string& script = {}, const QString& screen = {});
