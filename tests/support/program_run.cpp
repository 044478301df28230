#include "support/program_run.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <filesystem>
#include <fstream>

bool CanRunProgram() { return !QStandardPaths::findExecutable("xvfb-run").isEmpty(); }

CProgramRun RunProgram(const std::string& folder, const QStringList& arguments,
                       const std::string& script, const QString& screen) {
  namespace fs = std::filesystem;
  CProgramRun run;
  const QString dumpPath = QString::fromStdString(folder + "/dump.txt");
  fs::create_directories(folder + "/runtime");
  fs::permissions(folder + "/runtime", fs::perms::owner_all);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder + "/settings"));
  environment.insert("XDG_DOCUMENTS_DIR", QString::fromStdString(folder + "/documents"));
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder + "/runtime"));
  environment.insert("TVR_DUMP_WINDOW_FILE", dumpPath);
  if (!script.empty()) {
    std::ofstream(folder + "/script.txt", std::ios::binary) << script;
    environment.insert("TVR_SCRIPT_FILE", QString::fromStdString(folder + "/script.txt"));
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setProcessEnvironment(environment);
  QStringList server{"-a"};
  if (!screen.isEmpty())
    server << "-s"
           << "-screen 0 " + screen;
  process.start("xvfb-run",
                server + QStringList{QStringLiteral(TVR_PROGRAM_DIR "/tvr")} + arguments);
  run.finished = process.waitForFinished(90000);
  if (!run.finished) process.kill();
  run.exitCode = process.exitCode();
  run.output = QString::fromLocal8Bit(process.readAll());
  QFile file(dumpPath);
  if (!file.open(QIODevice::ReadOnly)) return run;
  run.dump = QString::fromUtf8(file.readAll());
  for (const QString& line : run.dump.split('\n', Qt::SkipEmptyParts))
    run.values.insert(line.section('=', 0, 0), line.section('=', 1));
  return run;
}
