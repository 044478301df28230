#include "app/external_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <unistd.h>

#include "process_test_support.h"
#include "support/environment_guard.h"

namespace {

constexpr const char* kRecordingHelper =
    "d=$(dirname \"$0\"); n=$(ls \"$d\" | grep -c '^call'); "
    "for a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$d/call$n\"; "
    "while [ ! -e \"$d/release\" ] && [ -d \"$d\" ]; do sleep 0.02; done";

TEST(PrintHelperTest, CommandLineHasItsPiecesInOrder) {
  CPrintHelperJob job{"/s/XlExport.txt", "/p/MODELS/a b.xls", "MacroTavrilon", "vorpu", 12,
                      "/o/out.xls"};
  EXPECT_EQ(PrintHelperCommandLine("XlPrint.exe", job),
            "XlPrint.exe \"/s/XlExport.txt\" \"/p/MODELS/a b.xls\" MacroTavrilon vorpu 12 "
            "\"/o/out.xls\"");
  job.outputPath.clear();
  job.mode = 18;
  EXPECT_EQ(PrintHelperCommandLine("XlPrint.exe", job),
            "XlPrint.exe \"/s/XlExport.txt\" \"/p/MODELS/a b.xls\" MacroTavrilon vorpu 18 \"\"");
  EXPECT_EQ(PrintHelperArguments(job),
            (std::vector<std::string>{"/s/XlExport.txt", "/p/MODELS/a b.xls", "MacroTavrilon",
                                      "vorpu", "18", ""}));
}

TEST(PrintHelperTest, SecondExportIsRefusedWhileTheFirstRuns) {
  CScriptFolder folder;
  folder.AddScript("XlPrint.exe", kRecordingHelper);
  CPrintHelperLauncher launcher(folder.Folder());
  CPrintHelperJob job{"x.txt", "m.xls", "MacroTavrilon", "vorpu", 12, ""};
  EXPECT_EQ(launcher.RunPrintHelper(job), 1);
  EXPECT_EQ(launcher.RunPrintHelper(job), 0);
  EXPECT_TRUE(launcher.PreviousStillRuns());
  folder.Touch("release");
  ASSERT_TRUE(WaitUntil([&launcher] { return !launcher.PreviousStillRuns(); }));
  EXPECT_EQ(launcher.RunPrintHelper(job), 1);  // the first has ended: accepted again
  EXPECT_EQ(folder.ReadFile("call0"), "[x.txt][m.xls][MacroTavrilon][vorpu][12][]");
  WaitUntil([&launcher] { return !launcher.PreviousStillRuns(); });
}

TEST(PrintHelperTest, MissingHelperIsAFailedStart) {
  CScriptFolder folder;
  CEnvironmentGuard environment{"PATH"};
  environment.Set("PATH", folder.Path());
  CPrintHelperLauncher launcher(folder.Folder(), "NoSuchHelper.exe");
  EXPECT_EQ(launcher.RunPrintHelper(CPrintHelperJob{}), 0);
  EXPECT_FALSE(launcher.PreviousStillRuns());
}

// Records the calls; asks to quit after a number of pumps when told to.
class CRecordingObserver : public CWaitObserver {
 public:
  explicit CRecordingObserver(int quitAfter = -1) : m_quitAfter(quitAfter) {}
  void BeginWait() override { m_calls += "begin;"; }
  bool Pump() override {
    ++m_pumps;
    ::usleep(2000);
    return m_quitAfter < 0 || m_pumps < m_quitAfter;
  }
  void EndWait(int result) override { m_calls += "end " + std::to_string(result) + ";"; }
  std::string m_calls;
  int m_pumps = 0;
  int m_quitAfter;
};

TEST(WaitWithMessagesTest, ReturnsTheExitCodeAndPumpsMeanwhile) {
  CScriptFolder folder;
  std::string program = folder.AddScript("slow", "sleep 0.2; exit 3");
  CRecordingObserver observer;
  EXPECT_EQ(WaitWithMessages(program, {}, "", observer), 3);
  EXPECT_EQ(observer.m_calls, "begin;end 3;");
  EXPECT_GT(observer.m_pumps, 0);
}

TEST(WaitWithMessagesTest, ProgramMayComeAsTheFirstArgument) {
  CScriptFolder folder;
  std::string program =
      folder.AddScript("args", "[ \"$1\" = one ] && [ \"$2\" = 'two 2' ] && exit 5; exit 1");
  CRecordingObserver observer;
  EXPECT_EQ(WaitWithMessages("", {program, "one", "two 2"}, "", observer), 5);
  EXPECT_EQ(WaitWithMessages(program, {"one", "two 2"}, "", observer), 5);
}

TEST(WaitWithMessagesTest, StartFailureGivesTheSystemError) {
  CScriptFolder folder;
  CRecordingObserver observer;
  EXPECT_EQ(WaitWithMessages(folder.Folder() + "absent", {}, "", observer), ENOENT);
  EXPECT_EQ(observer.m_calls, "begin;end " + std::to_string(ENOENT) + ";");
}

TEST(WaitWithMessagesTest, QuitRequestEndsTheWaitWithoutKillingTheProgram) {
  CScriptFolder folder;
  std::string program = folder.AddWaiter("waiter");
  CRecordingObserver observer(3);
  EXPECT_EQ(WaitWithMessages(program, {}, "", observer), -1);
  EXPECT_EQ(observer.m_calls, "begin;end -1;");
  folder.Touch("release");
  EXPECT_TRUE(WaitUntil([&folder] { return std::filesystem::exists(folder.Path() / "done"); }));
  EXPECT_TRUE(ReapAllOrphans());
}

}  // namespace
