// Starts the real program under a virtual X server on the QD sample and prints the view
// into a PDF file (the TVR_SCRIPT_FILE hook of main.cpp), then reads the words of the page
// back with pdftotext: the run labels stand below the page header, and no text of a run
// label runs into the label beside it.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

struct CWord {
  double left, top, right, bottom;
  QString text;
};

std::vector<CWord> PageWords(const std::string& pdf) {
  const std::string command = "pdftotext -bbox '" + pdf + "' - 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  // <word xMin="…" yMin="…" xMax="…" yMax="…">text</word>
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"([\\d.]+)\">([^<]*)</word>"));
  std::vector<CWord> words;
  auto matches = word.globalMatch(QString::fromStdString(output));
  while (matches.hasNext()) {
    const QRegularExpressionMatch m = matches.next();
    words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4).toDouble(), m.captured(5)});
  }
  return words;
}

TEST(PrintLabelsEndToEndTest, RunLabelsStandBelowTheHeaderAndApart) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  const std::string pdf = folder.Path("printed.pdf");
  const CProgramRun run = RunProgram(
      folder.Path(), {}, "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\nprint " + pdf + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  const std::vector<CWord> words = PageWords(pdf);
  double headerBottom = -1;
  std::vector<CWord> names;
  for (const CWord& word : words) {
    if (word.text == QLatin1String("number:")) headerBottom = word.bottom;
    if (word.text == QLatin1String("Name:")) names.push_back(word);
  }
  ASSERT_GT(headerBottom, 0) << "no header";
  // The four runs' information labels, two to a row.
  ASSERT_EQ(names.size(), 4u);
  double firstRow = names.front().top;
  for (const CWord& name : names) {
    EXPECT_GT(name.top, headerBottom) << "a label under the header";
    firstRow = std::min(firstRow, name.top);
  }
  for (const CWord& right : names) {
    for (const CWord& left : names) {
      // The first row (runs B and C), which no part of the drawing reaches.
      if (left.left >= right.left || std::abs(left.top - right.top) > 1 || left.top > firstRow + 1)
        continue;
      // Every word of the left label's three lines ends before the right label begins.
      for (const CWord& word : words) {
        const bool inLeftLabel = word.left >= left.left && word.left < right.left &&
                                 word.top >= left.top - 1 &&
                                 word.top < left.top + 4 * (left.bottom - left.top);
        if (!inLeftLabel) continue;
        EXPECT_LT(word.right, right.left) << word.text.toStdString() << " runs into the next";
      }
    }
  }
}

}  // namespace
