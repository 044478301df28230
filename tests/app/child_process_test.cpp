#include "app/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "process_test_support.h"
#include "support/environment_guard.h"

namespace {

TEST(ChildProcessTest, ExitCodeOfTheProgramIsReturned) {
  CScriptFolder folder;
  std::string program = folder.AddScript("seven", "exit 7");
  CChildProcess child;
  ASSERT_EQ(child.Start(program, {}), 0);
  EXPECT_EQ(child.Start(program, {}), EBUSY) << "a second start on one object";
  EXPECT_EQ(child.Wait(), 7);
  EXPECT_EQ(child.TryWait(), 7);  // reaped once, remembered
  CChildProcess signalled;
  ASSERT_EQ(signalled.Start(folder.AddScript("selfkill", "kill -9 $$"), {}), 0);
  EXPECT_EQ(signalled.Wait(), 128 + 9);
}

TEST(ChildProcessTest, ArgumentsArriveOneByOneWithoutAShellInTheStartFolder) {
  CScriptFolder folder;
  std::string program =
      folder.AddScript("echoargs",
                       "d=$(dirname \"$0\"); pwd > \"$d/where.txt\"; "
                       "for a in \"$@\"; do printf '[%s]' \"$a\" >> \"$d/args\"; done");
  CChildProcess child;
  ASSERT_EQ(child.Start(program, {"a b", "", "$HOME", "\"q\"", "; rm -rf x"}, "/tmp"), 0);
  ASSERT_EQ(child.Wait(), 0);
  EXPECT_EQ(folder.ReadFile("args"), "[a b][][$HOME][\"q\"][; rm -rf x]");
  EXPECT_EQ(folder.ReadFile("where.txt"), "/tmp\n");
}

TEST(ChildProcessTest, FailedStartsGiveTheSystemError) {
  CScriptFolder folder;
  CChildProcess missing;
  EXPECT_EQ(missing.Start(folder.Folder() + "no-such-program", {}), ENOENT);
  EXPECT_FALSE(missing.Started());
  EXPECT_EQ(missing.Wait(), -1);
  CChildProcess relative;
  EXPECT_EQ(relative.Start("sh", {}), ENOENT);  // only absolute paths are started
  CChildProcess badFolder;
  std::string program = folder.AddScript("ok", "exit 0");
  EXPECT_NE(badFolder.Start(program, {}, folder.Folder() + "missing-folder"), 0);
}

TEST(ChildProcessTest, RunningChildIsNotKilledAndIsReapedLater) {
  CScriptFolder folder;
  std::string program = folder.AddWaiter("waiter");
  {
    CChildProcess child;
    ASSERT_EQ(child.Start(program, {}), 0);
    EXPECT_FALSE(child.TryWait().has_value());
  }
  EXPECT_GE(CChildProcess::OrphanCount(), 1u);
  folder.Touch("release");
  EXPECT_TRUE(ReapAllOrphans());
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "done"));  // it ran to its end
}

TEST(FindProgramTest, PreferredFolderComesBeforePath) {
  CScriptFolder first;
  CScriptFolder second;
  std::string inFirst = first.AddScript("tool", "exit 0");
  second.AddScript("tool", "exit 0");
  CEnvironmentGuard environment{"PATH"};
  environment.Set("PATH", second.Path());
  EXPECT_EQ(FindProgram("tool", first.Folder()), inFirst);
  EXPECT_EQ(FindProgram("tool", "/nonexistent/"), (second.Path() / "tool").string());
  EXPECT_EQ(FindProgram("absent-tool", first.Folder()), "");
  EXPECT_EQ(FindProgram("", first.Folder()), "");
}

TEST(FindProgramTest, PathsAndNonExecutablesAreChecked) {
  CScriptFolder folder;
  std::string tool = folder.AddScript("tool", "exit 0");
  EXPECT_EQ(FindProgram(tool, ""), tool);
  std::filesystem::permissions(
      tool, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
      std::filesystem::perm_options::replace);
  EXPECT_EQ(FindProgram(tool, ""), "");             // not executable
  EXPECT_EQ(FindProgram(folder.Folder(), ""), "");  // a folder
}

}  // namespace
