// Starts the real program under a virtual X server on the QD sample and adds a free text
// from the Design menu, answering its dialog with nothing but the words (the
// TVR_SCRIPT_FILE hook of main.cpp): the new text is drawn, so that a double click finds
// it again, and it stands inside the view, clear of the run labels in its corner, as the
// DXF file of the view shows (read back with ezdxf).

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

constexpr int kCmdNewText = 32999;

std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  return output;
}

// "added X Y" for the insertion point of the text holding the words, then "extent" with
// the smallest and largest insertion points of every text of the file.
std::string TextPlaces(const std::string& dxf, const std::string& words) {
  const std::string program =
      "import ezdxf,sys\n"
      "d=ezdxf.readfile(sys.argv[1])\n"
      "xs=[];ys=[]\n"
      "for e in d.modelspace():\n"
      "  if e.dxftype() not in ('TEXT','MTEXT'): continue\n"
      "  t=e.dxf.text if e.dxftype()=='TEXT' else e.text\n"
      "  x,y=e.dxf.insert[0],e.dxf.insert[1]\n"
      "  xs.append(x);ys.append(y)\n"
      "  if sys.argv[2] in t: print('added',round(x),round(y))\n"
      "print('extent',round(min(xs)),round(min(ys)),round(max(xs)),round(max(ys)))\n";
  return Output("/usr/bin/python3 -c \"" + program + "\" '" + dxf + "' '" + words + "' 2>&1");
}

TEST(NewLabelsEndToEndTest, ANewTextIsShownInsideTheView) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  const std::string dxf = folder.Path("view.dxf");
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/new_text.png";
  // The dialog as it opens, only the words typed; then a double click on the text
  // (its dialog cancelled) and the view's drawing.
  const std::string script = "open " TVR_PROGRAM_DIR
                             "/examples/qd_sample.run\nanswer - 1 1486=A_note_of_the_user\n"
                             "menu " +
                             std::to_string(kCmdNewText) + "\nshot " + shot +
                             "\nanswer - 2\nannotation double 6\ndxf " + dxf + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  std::istringstream places(TextPlaces(dxf, "A note of the user"));
  std::string word;
  long x = 0, y = 0, left = 0, bottom = 0, right = 0, top = 0;
  ASSERT_TRUE(places >> word >> x >> y && word == "added") << places.str();
  ASSERT_TRUE(places >> word >> left >> bottom >> right >> top && word == "extent") << places.str();
  // Within the middle half of what the view shows, both ways: not in a corner.
  const long quarterWidth = (right - left) / 4;
  const long quarterHeight = (top - bottom) / 4;
  EXPECT_GT(x, left + quarterWidth) << places.str();
  EXPECT_LT(x, right - quarterWidth) << places.str();
  EXPECT_GT(y, bottom + quarterHeight) << places.str();
  EXPECT_LT(y, top - quarterHeight) << places.str();
}

}  // namespace
