#include "app/shell_file_types.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

#include "app/child_process.h"
#include "process_test_support.h"
#include "support/environment_guard.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// Runs the named program with the arguments; when expected is given, its standard
// output (without the final newline) must be that. True when all went so.
bool Runs(const std::string& name, const std::vector<std::string>& arguments,
          const char* expected = nullptr) {
  std::string script = expected ? "[ \"$(\"$@\")\" = \"$0\" ]" : "\"$@\" > /dev/null";
  std::vector<std::string> words{"-c", script, expected ? expected : "sh", FindProgram(name, {})};
  words.insert(words.end(), arguments.begin(), arguments.end());
  CChildProcess process;
  return process.Start("/bin/sh", words) == 0 && process.Wait() == 0;
}

bool Installed(std::initializer_list<const char*> names) {
  return std::all_of(names.begin(), names.end(),
                     [](const char* name) { return !FindProgram(name, {}).empty(); });
}

struct CExecRow {
  const char* path;
  const char* exec;  // empty: the path cannot be named
};

class DesktopExecProgramTest : public ::testing::TestWithParam<CExecRow> {};

TEST_P(DesktopExecProgramTest, QuotesAndEscapesWhatTheEntryWouldMisread) {
  EXPECT_EQ(DesktopExecProgram(GetParam().path), GetParam().exec);
  if (!*GetParam().exec || !Installed({"desktop-file-validate"})) return;
  CTempFolder folder("entry");
  EXPECT_TRUE(Runs("desktop-file-validate",
                   {folder.WriteFile("tvr.desktop", DesktopEntryText(GetParam().exec))}));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DesktopExecProgramTest,
    ::testing::Values(CExecRow{"/opt/tvr/tvr", "/opt/tvr/tvr"}, CExecRow{"tvr", "tvr"},
                      CExecRow{"/home/a b/tvr", "\"/home/a b/tvr\""},  // a blank would split it
                      CExecRow{"/x/it's/tvr", "\"/x/it's/tvr\""},
                      CExecRow{"/x/$HOME/tvr", "\"/x/\\\\$HOME/tvr\""},  // no expansion
                      CExecRow{"/x/a\"b/tvr", "\"/x/a\\\\\"b/tvr\""},
                      CExecRow{"/x/a\\b/tvr", "\"/x/a\\\\\\\\b/tvr\""},  // escaped twice
                      CExecRow{"/x/100%/tvr", "/x/100%%/tvr"},           // not a field code
                      CExecRow{"/x/é/tvr", "/x/é/tvr"}, CExecRow{"/x/a\nb/tvr", ""},
                      CExecRow{"/x/\xff/tvr", ""}, CExecRow{"", ""}));

// A data folder of a test's own, with stand-ins for the database updaters that leave a
// mark when they run and write their cache as the real ones do.
class ShellFileTypesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [name, cache] : {std::pair{"mime", "mime.cache"}, {"desktop", "mimeinfo.cache"}})
      m_scripts.AddScript(std::string("update-") + name + "-database",
                          ": > '" + m_scripts.Folder() + name + "'; : > \"$1/" + cache + "\"");
    m_environment.Set("PATH", m_scripts.Folder() + ":/usr/bin:/bin");
    fs::create_directories(Data());
  }
  std::string Data(const std::string& name = {}) const { return m_folder.File("data/" + name); }
  CShellRegistration Register(milliseconds wait = milliseconds(5000)) {
    return CShellFileTypes(Data(), DesktopFiles("/opt/tvr/tvr")).Register(wait);
  }
  // Whether each updater ran since the last look.
  std::pair<bool, bool> Ran() {
    return {fs::remove(m_scripts.Path() / "mime"), fs::remove(m_scripts.Path() / "desktop")};
  }
  std::size_t FileCount() const {
    auto tree = fs::recursive_directory_iterator(m_folder.Path());
    return std::count_if(begin(tree), end(tree),
                         [](const fs::directory_entry& e) { return e.is_regular_file(); });
  }
  CTempFolder m_folder{"datahome"};
  CScriptFolder m_scripts;
  CEnvironmentGuard m_environment{"PATH"};
};

TEST_F(ShellFileTypesTest, WritesOnlyWhatIsMissingOrChangedAndRefreshesOnlyItsCache) {
  struct {
    const char* what;
    std::function<void()> change;
    bool written;
    std::pair<bool, bool> ran;  // update-mime-database, update-desktop-database
  } steps[] = {
      {"first start", [] {}, true, {true, true}},
      {"everything current: nothing runs", [] {}, false, {false, false}},
      {"entry edited",
       [this] { m_folder.WriteFile("data/applications/tvr.desktop", "x"); },
       true,
       {false, true}},
      {"MIME cache removed", [this] { fs::remove(Data("mime/mime.cache")); }, false, {true, false}},
      {"icon removed: no cache lists it",
       [this] { fs::remove(Data(kIconPath)); },
       true,
       {false, false}},
  };
  for (auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    CShellRegistration result = Register();
    EXPECT_TRUE(result.registered && result.problems.empty());
    EXPECT_EQ(result.written, step.written);
    EXPECT_EQ(Ran(), step.ran);
    EXPECT_TRUE(CShellFileTypes(Data(), DesktopFiles("/opt/tvr/tvr")).OutOfDate().empty());
  }
}

class ShellFileTypesBadDataTest : public ShellFileTypesTest,
                                  public ::testing::WithParamInterface<int> {};

TEST_P(ShellFileTypesBadDataTest, RegistersNothingAndSaysWhy) {
  const std::function<void(const CTempFolder&)> spoil[] = {
      [](const CTempFolder& f) { fs::remove(f.File("data")); },
      [](const CTempFolder& f) {
        fs::remove(f.File("data"));
        f.WriteFile("data", "");
      },
      // the icon and the file types come first: they must not stay without the entry
      [](const CTempFolder& f) { f.WriteFile("data/applications", ""); },
      [](const CTempFolder& f) { fs::create_directories(f.File("data/applications/tvr.desktop")); },
      [](const CTempFolder& f) {
        fs::permissions(f.File("data"), fs::perms::owner_read | fs::perms::owner_exec);
      },
  };
  if (GetParam() == 4 && ::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
  spoil[GetParam()](m_folder);
  std::size_t files = FileCount();
  CShellRegistration result = Register();
  EXPECT_FALSE(result.registered || result.problems.empty());
  EXPECT_EQ(FileCount(), files);  // nothing written, nothing half-written left
  EXPECT_EQ(Ran(), std::pair(false, false));
}

// Missing, a file, the entry's folder a file, the entry's place a folder, read-only.
INSTANTIATE_TEST_SUITE_P(Rows, ShellFileTypesBadDataTest, ::testing::Range(0, 5));

TEST_F(ShellFileTypesTest, AnUpdaterThatFailsOrHangsLeavesTheFilesRegistered) {
  for (auto [fails, problem] : {std::pair{true, "update-mime-database ended with code 3"},
                                {false, "update-mime-database did not end"}}) {
    fs::remove_all(Data("mime"));
    if (fails) m_scripts.AddScript("update-mime-database", "exit 3");
    else m_scripts.AddWaiter("update-mime-database");  // until the end of the test
    CShellRegistration result = Register(milliseconds(200));
    EXPECT_TRUE(result.registered);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_EQ(result.problems[0].rfind(problem, 0), 0u) << result.problems[0];
  }
  m_scripts.Touch("release");
  EXPECT_TRUE(ReapAllOrphans());
}

TEST(ShellExecProgramTest, NamesTheProgramBareOnlyWhenPathFindsThisVeryProgram) {
  CScriptFolder ours, other;
  std::string program = ours.AddScript("tvr", "");
  other.AddScript("tvr", "");
  CEnvironmentGuard environment{"PATH"};
  for (auto [path, exec] : {std::pair{ours.Folder(), "tvr"},
                            {other.Folder(), program.c_str()},
                            {"", program.c_str()}}) {
    environment.Set("PATH", path);
    EXPECT_EQ(ShellExecProgram(program), exec) << path;
  }
}

// With the real desktop tools, asked as a file manager asks: on a plain desktop
// (through mimetype) and on GNOME (through gio).
class XdgMimeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(XdgMimeTest, TheDesktopKnowsOurDocumentsAndOpensThemWithUs) {
  const char* typeFinder = *GetParam() ? "gio" : "mimetype";
  if (!Installed({"xdg-mime", "update-mime-database", "update-desktop-database", typeFinder}))
    GTEST_SKIP() << "xdg-mime, the database updaters or " << typeFinder << " is not installed";
  CTempFolder folder("xdg");
  CEnvironmentGuard environment{"XDG_DATA_HOME",   "XDG_CONFIG_HOME",  "XDG_CURRENT_DESKTOP",
                                "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"};
  for (const char* name : {"DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
    environment.Unset(name);
  environment.Set("XDG_CURRENT_DESKTOP", GetParam());
  environment.Set("XDG_DATA_HOME", folder.File("data"));
  environment.Set("XDG_CONFIG_HOME", folder.File("config"));
  fs::create_directories(folder.File("data"));
  CShellRegistration result = CShellFileTypes(folder.File("data"), DesktopFiles("/opt/tvr/tvr"))
                                  .Register(milliseconds(20000));
  ASSERT_TRUE(result.registered && result.problems.empty());
  for (const CDocumentType& type : ProgramDocumentTypes()) {
    std::string extension = type.pattern + 1, upper = extension;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    for (const std::string& name : {"job" + extension, "JOB" + upper})
      EXPECT_TRUE(Runs("xdg-mime", {"query", "filetype", folder.WriteFile(name, "\x02\x01tvr")},
                       type.mimeType))
          << name;
    EXPECT_EQ(Runs("xdg-mime", {"query", "default", type.mimeType}, "tvr.desktop"),
              type.openedByProgram);
    // the database's own reading of the package keeps the French comment
    EXPECT_NE(folder.ReadFile(std::string("data/mime/") + type.mimeType + ".xml")
                  .find(type.frenchComment),
              std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Desktops, XdgMimeTest, ::testing::Values("", "GNOME"));

}  // namespace
