// Starts the real program under a virtual X server on a copy of the QD sample, double
// clicks an element, types a new length in the property window's page and saves (the
// TVR_SCRIPT_FILE hook); then reads the saved file and finds the new length.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <filesystem>

#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "model/run_environment.h"
#include "ranges/range_test_support.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

constexpr int kTypedLength = 4321;

class PropWindowEndToEndTest : public RangeTest {};

TEST_F(PropWindowEndToEndTest, ALengthTypedInThePageIsSavedWithTheDocument) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CTempFolder folder("propwin-e2e");
  folder.WriteFile("settings/TVR73/TVR.INI",
                   "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
                   "[Dialog Property]\nLeft=20\nTop=20\n");
  std::filesystem::create_directories(folder.File("runtime"));
  const std::string sample = folder.File("sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", sample);
  const std::string saved = folder.File("edited.run");
  const std::string window = TestOutputPath("prop_window_end_to_end.png");
  const std::string frame = TestOutputPath("prop_window_end_to_end_frame.png");
  // Element 1 of the current run is the joint after its run end; its back face is face 1.
  folder.WriteFile("script.txt", "open " + sample + "\npick 1 1\npropshot " + window +
                                     "\nproptype 1006 " + std::to_string(kTypedLength) + "\nshot " +
                                     frame + "\nsave " + saved + "\n");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.File("settings")));
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.File("runtime")));
  environment.insert("TVR_DUMP_WINDOW_FILE", QString::fromStdString(folder.File("dump.txt")));
  environment.insert("TVR_SCRIPT_FILE", QString::fromStdString(folder.File("script.txt")));
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setProcessEnvironment(environment);
  process.start("xvfb-run",
                {"-a", QStringLiteral(TVR_PROGRAM_DIR "/tvr"), QStringLiteral("/nsplash")});
  ASSERT_TRUE(process.waitForFinished(90000));
  QFile dump(QString::fromStdString(folder.File("dump.txt")));
  ASSERT_TRUE(dump.open(QIODevice::ReadOnly)) << process.readAll().toStdString();
  const QString text = QString::fromUtf8(dump.readAll());
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(window)).isNull());

  CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
  CDorneDoc original;
  ASSERT_TRUE(original.OnOpenDocument(sample).ok);
  CDorneDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(saved).ok);
  const CDev* before = original.GetCurrentRun()->GetDevices()[1];
  const CDev* after = reopened.GetCurrentRun()->GetDevices()[1];
  EXPECT_NE(before->GetBookedLength(), kTypedLength);
  EXPECT_EQ(after->GetBookedLength(), kTypedLength);
}

}  // namespace
