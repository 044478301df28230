// Starts the real program under a virtual X server on the sample with every kind of
// annotation, shows every display layer, edits, drags and deletes annotations with the
// mouse and their dialogs (the TVR_SCRIPT_FILE hook of main.cpp), adds a text and a
// dimension, undoes a deletion, saves, opens the file again and saves it once more, and
// reads the DXF file and the printed page back with independent readers.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  return output;
}

QByteArray Bytes(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string Script(const CShellTestFolder& folder, const std::string& shots) {
  const std::string sample = TVR_PROGRAM_DIR "/examples/annotations_sample.run";
  return "open " + sample +
         "\n"
         // Tables, section labels and the title block are hidden until shown.
         "menu 32997\nmenu 32992\nmenu 33001\ncommand 32780\ncommand 32785\n"
         "shot " +
         shots +
         "annotations.png\n"
         "annotations 8 1\nannotations 9 1\nannotations 7 2\n"
         // The text style saved as the default for new texts (opaque), then the text
         // edited in its dialog: new words, opaque.
         "answer - +1307 1035=1\nanswer - accept\n"
         "answer " +
         shots +
         "annotation_text_dialog.png 1 1486=Edited_by_the_user 1035=1\n"
         "annotation double 6\n"
         "answer " +
         shots +
         "annotation_picture_dialog.png 2\n"
         "annotation double 7\n"
         // The dimension measures along X from now on.
         "answer " +
         shots +
         "annotation_dimension_dialog.png 1 1619=1\n"
         "annotation double 9\n"
         "annotation drag 6 40 30\n"
         "annotation right 9\n"
         // A new text, shown whatever run is shown.
         "answer - 1 1486=Added_text 1647=0\n"
         "menu 32999\n"
         "annotations 6 4\n"
         // A new dimension between two elements picked with the dimension tool.
         "menu 33028\ndimclick 1 6\ndimclick 3 6\n"
         "annotations 9 2\n"
         // A text deleted from its dialog, then the deletion undone.
         "answer - 1046\nanswer - accept\n"
         "annotation double 6\n"
         "annotations 6 3\n"
         "command 57643\n"
         "annotations 6 4\n"
         "shot " +
         shots +
         "annotations_edited.png\n"
         "dxf " +
         folder.Path("annotations.dxf") + "\nprint " + folder.Path("annotations.pdf") + "\nsave " +
         folder.Path("first.run") + "\ncommand 57602\nopen " + folder.Path("first.run") +
         "\nannotations 6 4\nannotations 9 2\nsave " + folder.Path("second.run") + "\n";
}

TEST(AnnotationsEndToEndTest, EveryKindIsShownEditedSavedAndExported) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shots = std::string(TVR_TEST_OUTPUT_DIR) + "/";
  const CProgramRun run = RunProgram(folder.Path(), {}, Script(folder, shots), "1400x1000x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  for (const char* shot : {"annotations", "annotation_text_dialog", "annotation_picture_dialog",
                           "annotation_dimension_dialog", "annotations_edited"})
    EXPECT_FALSE(QImage(QString::fromStdString(shots + shot + ".png")).isNull()) << shot;
  const QByteArray first = Bytes(folder.Path("first.run"));
  const QByteArray second = Bytes(folder.Path("second.run"));
  ASSERT_FALSE(first.isEmpty());
  ASSERT_EQ(first.size(), second.size()) << "saved again after opening";
  // Opening the file and saving it again keeps every byte, the view's window too (the
  // window of the opened document is fitted to the view only while the frame settles).
  for (qsizetype i = 0; i < first.size(); ++i)
    if (first[i] != second[i]) {
      ADD_FAILURE() << "saved again after opening: byte " << i << " differs";
      break;
    }
  const QByteArray settings = Bytes(folder.Path("settings/TVR73/TVR.INI"));
  EXPECT_TRUE(settings.contains("TextOpaque=True")) << settings.toStdString();
  const std::string layers =
      Output("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/view/read_dxf_layers.py '" +
             folder.Path("annotations.dxf") + "' 2>&1");
  // Length dimensions (DIMS2) draw their lines only while dragged: texts only.
  for (const char* layer :
       {"DIMS1", "DIMS2", "POS", "BOM", "INFO", "SECTION", "TEXT", "IMAGE", "CART", "DIMS3"})
    EXPECT_NE(layers.find(std::string(layer) + " "), std::string::npos) << layer << "\n" << layers;
  EXPECT_NE(layers.find("Edited by the user"), std::string::npos) << layers;
  EXPECT_NE(layers.find("Added text"), std::string::npos) << layers;
  const std::string page = Output("pdftotext '" + folder.Path("annotations.pdf") + "' - 2>&1");
  // Texts that overlap others come out of the page in pieces.
  for (const char* words : {"Added", "Workshop", "Checked on site", "h=45mm"})
    EXPECT_NE(page.find(words), std::string::npos) << words << "\n" << page;
}

}  // namespace
