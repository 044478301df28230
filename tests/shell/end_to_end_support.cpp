#include "end_to_end_support.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <filesystem>

#include "shell_test_support.h"

QString CEndToEndRun::Value(const QString& key) const {
  const QString prefix = key + QLatin1Char('=');
  for (const QString& line : dump.split(QLatin1Char('\n')))
    if (line.startsWith(prefix)) return line.mid(prefix.size());
  return {};
}

CEndToEndRun RunProgramScript(const CShellTestFolder& folder, const std::string& settings,
                              const std::string& script) {
  folder.Write("settings/TVR73/TVR.INI", settings);
  folder.Write("script.txt", script);
  std::filesystem::create_directories(folder.Path("runtime"));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.Path("settings")));
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.Path("runtime")));
  environment.insert("TVR_DUMP_WINDOW_FILE", QString::fromStdString(folder.Path("dump.txt")));
  environment.insert("TVR_SCRIPT_FILE", QString::fromStdString(folder.Path("script.txt")));
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setProcessEnvironment(environment);
  process.start("xvfb-run",
                {"-a", "-s", "-screen 0 1600x1000x24", QStringLiteral(TVR_PROGRAM_DIR "/tvr")});
  CEndToEndRun run;
  if (!process.waitForFinished(120000)) process.kill();
  run.output = QString::fromUtf8(process.readAll());
  QFile dump(QString::fromStdString(folder.Path("dump.txt")));
  if (dump.open(QIODevice::ReadOnly)) run.dump = QString::fromUtf8(dump.readAll());
  return run;
}

bool CanRunEndToEnd() { return !QStandardPaths::findExecutable("xvfb-run").isEmpty(); }

std::string TestOutputFile(const std::string& name) {
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  return std::string(TVR_TEST_OUTPUT_DIR) + "/" + name;
}
