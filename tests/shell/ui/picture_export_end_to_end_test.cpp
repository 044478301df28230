// Starts the real program under a virtual X server on the QD sample and exports the view
// as JPEG and BMP pictures from the File menu's command (the TVR_SCRIPT_FILE hook of
// main.cpp): the pictures are the screen's, in colour, and in black and white only while
// the view itself is shown so ([Design] AffBW); read back with Qt's image readers.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <filesystem>
#include <string>

#include "app/ui/command_ids.h"
#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

// Pixels of clear colour: element colours, blue dimension texts.
int ColouredPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.hsvSaturation() > 100 && colour.value() > 60) ++count;
    }
  return count;
}

struct CPictureCase {
  const char* blackWhite;  // [Design] AffBW
  bool coloured;
};

TEST(PictureExportEndToEndTest, PicturesAreTheScreens) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  for (const CPictureCase& row : {CPictureCase{"0", true}, CPictureCase{"1", false}}) {
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI",
                 std::string("[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nAffBW=") +
                     row.blackWhite + "\n[Language]\nID=044\n");
    std::filesystem::create_directories(folder.Path("documents"));
    // Beside the design and named after it, so that no question comes before the export
    // (the script reads "_" as a blank, so the names have none).
    const std::string design = folder.Path("documents/sample.run");
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", design);
    const std::string jpeg = folder.Path("documents/sample-view.jpg");
    const std::string bmp = folder.Path("documents/sample-view.bmp");
    std::string script = "open " + design + "\n";
    for (const std::string& picture : {jpeg, bmp})
      script += "answer - accept fileNameEdit=" + picture + "\ncommand " +
                std::to_string(kIdExportPicture) + "\n";
    const CProgramRun run = RunProgram(folder.Path(), {}, script);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
    for (const std::string& picture : {jpeg, bmp}) {
      const QImage image(QString::fromStdString(picture));
      ASSERT_FALSE(image.isNull()) << picture;
      const int coloured = ColouredPixels(image);
      if (row.coloured) EXPECT_GT(coloured, 200) << picture;
      // JPEG blurs black edges into a few faintly tinted pixels at most.
      else EXPECT_LT(coloured, 50) << picture;
    }
  }
}

}  // namespace
