#include "shell/ui/file_checks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/current_language.h"
#include "shell_test_support.h"

namespace {

// Files named to be opened as linear or reference projects: the problem names the file
// and its reason, and sample projects of the right kind read.
TEST(FileChecksTest, ProjectFilesAreReadBeforeTheyAreOpened) {
  UseProgramLanguage();
  CShellTestFolder folder;
  const std::string examples = TVR_SOURCE_DIR "/data/examples/";
  const std::string text = "Notes: call the site on Monday\n";
  struct Row {
    const char* fault;
    std::string path;  // empty: written from bytes as name
    const char* name;
    std::string bytes;
    EFileKind kind;
    const char* expected;  // empty: no problem
  };
  const Row rows[] = {
      {"linear sample", examples + "sample.lin", "", "", EFileKind::Linear, ""},
      {"reference sample", examples + "sample.ref", "", "", EFileKind::Reference, ""},
      {"a linear project named .ref", examples + "sample.lin", "", "", EFileKind::Reference,
       "Unexpected file format"},
      {"a reference project named .lin", examples + "sample.ref", "", "", EFileKind::Linear,
       "Unexpected file format"},
      {"text renamed", "", "notes.lin", text, EFileKind::Linear, "Unexpected file format"},
      {"empty file", "", "empty.ref", "", EFileKind::Reference, "Unexpected file format"},
      {"missing file", folder.Path("gone.lin"), "", "", EFileKind::Linear, "Cannot find this file"},
      {"a folder", folder.Path(), "", "", EFileKind::Reference, "Cannot find this file"},
      {"text as layout: only read", "", "notes.run", text, EFileKind::Layout, ""},
  };
  for (const Row& row : rows) {
    const std::string path = row.path.empty() ? folder.Write(row.name, row.bytes) : row.path;
    const QString problem = ProjectFileProblem(QString::fromStdString(path), row.kind);
    if (*row.expected == '\0') {
      EXPECT_TRUE(problem.isEmpty()) << row.fault << ": " << problem.toStdString();
      continue;
    }
    EXPECT_TRUE(problem.startsWith(QString::fromStdString(path))) << row.fault;
    EXPECT_TRUE(problem.contains(row.expected)) << row.fault << ": " << problem.toStdString();
  }
  CCurrentLanguage::Instance().Reset();
}

}  // namespace
