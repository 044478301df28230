// Starts the real program under a virtual X server (the TVR_SCRIPT_FILE hook of main.cpp) on
// the annotations sample as another installation, or an older version, leaves it: its user
// dimension never dragged, so with its label point unset. The program adds a dimension with
// the dimension tool, saves, closes, opens the file again and saves it once more: every
// dimension's label is drawn on the layout where it was, each time.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "model/annotation/annotation_list.h"
#include "sample_end_to_end_support.h"

namespace {

// The lines of the file, sorted: annotations of elements come back in the order of their
// elements, not of the list.
std::string Text(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::string();
  QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  lines.sort();
  return lines.join('\n').toStdString() + "\n";
}

// The places of the dimensions of every kind (branch, element length, user dimension), one
// file each, under the name given.
std::string Places(const CShellTestFolder& folder, const std::string& name) {
  std::string lines;
  for (const char* kind : {"0", "1", "9"})
    lines +=
        std::string("annotationplaces ") + kind + " " + folder.Path(name + kind + ".txt") + "\n";
  return lines;
}

// Whether every rectangle of the places lies on the layout (the sample spans a few metres).
bool OnTheLayout(const std::string& places) {
  std::istringstream lines(places);
  for (std::string line; std::getline(lines, line);) {
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream values(line.substr(line.find(' ') + 1));
    for (long value; values >> value;)
      if (std::labs(value) > 1000000) return false;
  }
  return true;
}

// The sample with its user dimensions' label points unset, as a file that never had them
// placed holds them.
void WriteUnplacedSample(const std::string& path) {
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc document;
    ASSERT_TRUE(document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/annotations_sample.run").ok);
    const CAnnotationList& list = document.Annotations();
    constexpr double kUnset = CAnnotation::kUnsetCoordinate;
    for (std::size_t i = 0; i < list.Size(); ++i)
      if (list.At(i)->GetKind() == CAnnotation::kDistance)
        list.At(i)->SetLabelPoint(C3DPoint(kUnset, kUnset, kUnset));
    ASSERT_TRUE(document.OnSaveDocument(path).ok);
  }
  ForgetSampleRanges();
}

TEST(DimensionLabelEndToEndTest, UndraggedDimensionsStayWhereTheyWereThroughSaves) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string unplaced = folder.Path("unplaced.run");
  WriteUnplacedSample(unplaced);
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shots = std::string(TVR_TEST_OUTPUT_DIR) + "/";
  // A new user dimension between two elements picked with the dimension tool, not dragged.
  const std::string script =
      "open " + unplaced + "\nannotations 9 1\nmenu 33028\ndimclick 1 6\ndimclick 3 6\n" +
      "annotations 9 2\n" + Places(folder, "made") + "save " + folder.Path("first.run") +
      "\ncommand 57602\nopen " + folder.Path("first.run") + "\n" + Places(folder, "reopened") +
      "shot " + shots + "dimension_label_reopened.png\nsave " + folder.Path("second.run") +
      "\ncommand 57602\nopen " + folder.Path("second.run") + "\n" + Places(folder, "again");
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1400x1000x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  for (const char* kind : {"0", "1", "9"}) {
    SCOPED_TRACE(std::string("kind ") + kind);
    const std::string made = Text(folder.Path(std::string("made") + kind + ".txt"));
    EXPECT_NE(made.find("drawn"), std::string::npos) << made;
    EXPECT_EQ(made.find("hidden"), std::string::npos) << made;
    EXPECT_TRUE(OnTheLayout(made)) << made;
    EXPECT_EQ(Text(folder.Path(std::string("reopened") + kind + ".txt")), made);
    EXPECT_EQ(Text(folder.Path(std::string("again") + kind + ".txt")), made);
  }
  const std::string users = Text(folder.Path("made9.txt"));
  EXPECT_EQ(std::count(users.begin(), users.end(), '\n'), 2) << "the sample's and the new one";
  EXPECT_FALSE(QImage(QString::fromStdString(shots + "dimension_label_reopened.png")).isNull());
}

}  // namespace
