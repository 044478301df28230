#include "shell/ui/wait_observer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <filesystem>
#include <unistd.h>

#include "shell/ui/main_frame.h"
#include "shell/ui/run_doc_manager.h"
#include "frame_test_support.h"

namespace {

std::string Script(CShellTestFolder& folder, const std::string& name, const std::string& body) {
  std::string path = folder.Write(name, "#!/bin/sh\n" + body + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

TEST(WaitObserverTest, TheProgramRunsToItsEndWhileTheWindowsStayAlive) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  std::string program = Script(fixture.folder, "slow.sh", "sleep 0.3; exit 4");
  bool timerRan = false;
  bool busyDuringWait = false;
  QTimer::singleShot(50, [&] {
    timerRan = true;  // the event loop kept running
    busyDuringWait = fixture.app.Busy();
  });
  int result = RunProgramAndWait(fixture.app, &frame, QString::fromStdString(program), {});
  EXPECT_EQ(result, 4);
  EXPECT_TRUE(timerRan);
  EXPECT_TRUE(busyDuringWait);
  EXPECT_FALSE(fixture.app.Busy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(WaitObserverTest, ClosingTheProgramDuringTheWaitEndsTheWaitThenCloses) {
  CFrameFixture fixture;
  CMainFrame& frame = fixture.Frame();
  // It waits for its release, and ends by itself should its folder go away first.
  std::string program = Script(
      fixture.folder, "waits.sh",
      "d=$(dirname \"$0\"); while [ ! -e \"$d/release\" ] && [ -d \"$d\" ]; do sleep 0.02; done; "
      "touch \"$d/done\"");
  QTimer::singleShot(50, &frame, [&frame] { frame.close(); });
  int result = RunProgramAndWait(fixture.app, &frame, QString::fromStdString(program), {});
  EXPECT_EQ(result, -1);
  ProcessEvents();
  EXPECT_FALSE(frame.isVisible());      // closed once the wait was over
  fixture.folder.Write("release", "");  // the program ran on meanwhile; now it may end
  std::string done = fixture.folder.Path("done");
  for (int round = 0; round < 500 && !std::filesystem::exists(done); ++round) ::usleep(20000);
  EXPECT_TRUE(std::filesystem::exists(done));
}

TEST(WaitObserverTest, AProgramThatCannotStartGivesItsError) {
  CFrameFixture fixture;
  EXPECT_EQ(RunProgramAndWait(fixture.app, &fixture.Frame(), "/nonexistent/partnum", {"a"}),
            ENOENT);
  EXPECT_FALSE(fixture.app.Busy());
}

TEST(WaitObserverTest, AFileWithoutExtensionStartsNothing) {
  EXPECT_FALSE(LaunchAssociatedApp("/tmp/no-extension"));
  EXPECT_FALSE(LaunchAssociatedApp(""));
}

TEST(RunDocManagerTest, TheDialogStartsInTheProjectsFolderWithTheNamePart) {
  UseProgramLanguage();
  EXPECT_EQ(CRunDocManager::InitialPath("/home/u/Projects/", "/elsewhere/job 12.run"),
            "/home/u/Projects/job 12.run");
  EXPECT_EQ(CRunDocManager::InitialPath("/home/u/Projects", "Untitled1"),
            "/home/u/Projects/Untitled1");
  QString filter = CRunDocManager::Filter();
  EXPECT_TRUE(filter.contains("(*.run);;")) << filter.toStdString();
  EXPECT_TRUE(filter.endsWith("(*.*)"));
}

}  // namespace
