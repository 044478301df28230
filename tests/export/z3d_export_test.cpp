#include "export/z3d_export.h"

#include "export/z3d_path.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "ranges/range_test_support.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"
#include "z3d_grammar_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Z3dHeaderTest, ProductRatingPoleAndOption) {
  EXPECT_EQ(Z3dProductText("Qpa"), "QPA-APOD");
  EXPECT_EQ(Z3dProductText("QPA"), "QPAnew");
  EXPECT_EQ(Z3dProductText("QDA"), "QDA");
  const std::tuple<const char*, const char*, const char*> ratings[] = {
      {"QJF", "26", "2200"}, {"QJF", "77", "77"},  {"QGA", "12", "1250"}, {"QGC", "12", "1200"},
      {"QDA", "99", "1000"}, {"QDA", "13", "135"}, {"QDA", "12", "120"},  {"QMA", "31", "3150"},
      {"QWA", "40", "400"},  {"QMC", "20", "2000"}};
  for (const auto& [catalog, code, rating] : ratings)
    EXPECT_EQ(Z3dRatingText(catalog, code), rating) << catalog << " " << code;
  const std::tuple<const char*, const char*, const char*> poles[] = {
      {"QMA", "0.5", "5"}, {"QDA", "0.5", "2"}, {"QDA", " 5 ", "5"}, {"QPA", "1", "4"},
      {"QMA", "0", "3"},   {"QMA", "1", "4"},   {"QGA", "3", "3"}};
  for (const auto& [catalog, neutral, pole] : poles)
    EXPECT_EQ(Z3dPoleCode(catalog, neutral), pole) << catalog << " " << neutral;
  const std::tuple<const char*, const char*, const char*, const char*> options[] = {
      {"QDA", "A1", "", "2"},      {"QDA", " 2", "", "3"}, {"QDA", "3", "", "4"},
      {"QMA", "7035", "0", "5.0"}, {"QMA", "9", "1", "1"}, {"QPA", "x", "0", "1.0"},
      {"QDA", "7035.0", "0", "5"}, {"QJF", "", "", "1"}};
  for (const auto& [catalog, value, step, code] : options)
    EXPECT_EQ(Z3dOptionCode(catalog, value, step), code) << catalog << " " << value;
}

TEST(Z3dHeaderTest, NamesCannotBreakLinesOrPaths) {
  EXPECT_EQ(CleanZ3dRunName("a/b:c\\d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(CleanZ3dRunName("Run\r\nnbdev:99999"), "Run  nbdev_99999");
  EXPECT_EQ(BlankControlCharacters("one\ntwo\tthree\x7f"), "one two three ");
  EXPECT_EQ(Z3dFileName("Plant.RUN", "A/B"), "Plant - A_B.Z3D");
  EXPECT_EQ(Z3dFileName("Plant", "R1"), "Plant - R1.Z3D");
}

TEST(Z3dPathTest, StraightTokensSplitAndClamp) {
  const std::pair<long long, const char*> cases[] = {{25000, "S9999S9999S5002"},
                                                     {9999, "S9999S0000"},
                                                     {9998, "S9998"},
                                                     {0, "S0000"},
                                                     {-12, "S0000"},
                                                     {42, "S0042"}};
  for (const auto& [length, tokens] : cases) EXPECT_EQ(StraightTokens(length), tokens) << length;
}

TEST(Z3dFileTest, BytesAreCp1252WithCrLf) {
  EXPECT_EQ(Z3dFileBytes("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(Z3dFileBytes("\xC3\xA9\xE2\x82\xAC"), "\xE9\x80");  // é and the euro sign
  EXPECT_EQ(Z3dFileBytes("\xE4\xB8\xAD|"), "?|");               // no room in CP1252
}

TEST(Z3dFileTest, UncodedDeviceLinesAreCountedWholeLinesOnly) {
  struct CCase {
    const char* text;
    int count;
  };
  for (const CCase& row :
       {CCase{"", 0}, CCase{"dev:##ERR##\n", 1},
        CCase{"pos:\ndev:##ERR##\ndev:070000\ndev:##ERR##\n", 2},
        // A name that only holds the words is no device line.
        CCase{"name:dev:##ERR##\n", 0}, CCase{"dev:##ERR##", 0}, CCase{"dev:#st#\ndev:#00#\n", 0}})
    EXPECT_EQ(CountUncodedZ3dDevices(row.text), row.count) << row.text;
}

TEST(Z3dGrammarTest, TheCheckerRejectsWhatTheFormatForbids) {
  const std::string good =
      "fver:1\r\nname:R\r\ncomment:\r\nprod:QDA\r\nrating:400\r\npol:2\r\nopt:1\r\n\r\n\r\n"
      "nbdev:00001\r\n\r\npos:?0000\r\ndev:070000/00200@@001000/00214@$QDA\r\npos:end\r\n";
  EXPECT_TRUE(CheckZ3dGrammar(good).empty());
  const std::pair<std::string, std::string> broken[] = {
      {"nbdev:00001", "nbdev:00002"}, {"pos:end\r\n", "pos:end\n"},
      {"comment:", "comment:x\ry"},   {"/00200@@001000", "/00200@@1000"},
      {"pos:?0000", "pos:?0000S12"},  {"070000", "07000"}};
  for (const auto& [from, to] : broken) {
    std::string bytes = good;
    bytes.replace(bytes.find(from), from.size(), to);
    EXPECT_FALSE(CheckZ3dGrammar(bytes).empty()) << to;
  }
}

class Z3dExportTest : public RangeTest {
 protected:
  void Open(const std::string& sample) {
    const CDocFileResult opened =
        m_document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/" + sample + ".run");
    ASSERT_TRUE(opened.ok) << opened.text;
    ASSERT_NE(m_document->GetCurrentRun(), nullptr);
  }
  void TearDown() override {
    m_document.reset();
    RangeTest::TearDown();
  }
  std::unique_ptr<CDorneDoc> m_document = std::make_unique<CDorneDoc>();
};

// Every run of every sample; the current run's file (the one the program proposes when a
// sample is opened) is named after the sample alone.
TEST_F(Z3dExportTest, SamplesPassTheGrammarAndMatchTheirGoldenFiles) {
  for (const std::string sample :
       {"qd_sample", "qjf_sample", "qp_sample", "qw_sample", "qg_sample", "qm_sample"}) {
    m_document = std::make_unique<CDorneDoc>();
    Open(sample);
    for (const CRun* run : m_document->GetRuns()) {
      const std::string name =
          run == m_document->GetCurrentRun() ? sample : sample + "_" + run->GetPropText("Name");
      const std::string bytes = Z3dFileBytes(WriteZ3dText(*run));
      for (const std::string& fault : CheckZ3dGrammar(bytes))
        ADD_FAILURE() << name << ": " << fault;
      ExpectGolden("export/" + name + ".z3d", bytes);
    }
  }
}

// The QD sample's outlet run: its length with six outlets is coded like the others with
// outlets; only the end cover, for which no device exists, stays uncoded.
TEST_F(Z3dExportTest, TheSixOutletLengthOfTheQdSampleIsCoded) {
  Open("qd_sample");
  const CRun* outlets = nullptr;
  for (const CRun* run : m_document->GetRuns())
    if (run->GetPropText("Name") == "E") outlets = run;
  ASSERT_NE(outlets, nullptr);
  const std::vector<std::string> devices = Z3dDeviceLines(Z3dFileBytes(WriteZ3dText(*outlets)));
  EXPECT_NE(std::find(devices.begin(), devices.end(), "120000/00200@@003000/00214@$QDA63ED4306"),
            devices.end());
  EXPECT_EQ(std::count(devices.begin(), devices.end(), "##ERR##"), 1);
  EXPECT_EQ(devices.back(), "##ERR##");
}

TEST_F(Z3dExportTest, ACommentWithLineBreaksStaysOnItsLine) {
  Open("qd_sample");
  CRun& run = *m_document->GetCurrentRun();
  run.SetProp("Comment", "first\r\nnbdev:99999\npos:end");
  run.SetProp("Name", "A\nB");
  const std::string bytes = Z3dFileBytes(WriteZ3dText(run));
  EXPECT_TRUE(CheckZ3dGrammar(bytes).empty());
  EXPECT_NE(bytes.find("comment:first  nbdev:99999 pos:end\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("name:A B\r\n"), std::string::npos);
}

TEST_F(Z3dExportTest, AFailedExportLeavesTheOldFile) {
  Open("qd_sample");
  CTempFolder folder;
  const std::string path = folder.Path() + "/plant.Z3D";
  std::ofstream(path) << "old";
  std::filesystem::create_directory(path + ".new");  // the new file cannot be made
  EXPECT_FALSE(SaveZ3dFile(*m_document->GetCurrentRun(), path));
  EXPECT_EQ(ReadAll(path), "old");
  std::filesystem::remove(path + ".new");
  ASSERT_TRUE(SaveZ3dFile(*m_document->GetCurrentRun(), path));
  EXPECT_TRUE(CheckZ3dGrammar(ReadAll(path)).empty());
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

// Damaged lengths (2 km) make a length parameter wider than its six digits: the file is
// refused, naming the value, and the old one stays; mended, the run's file is written.
TEST_F(Z3dExportTest, AValueWiderThanItsFieldRefusesTheFile) {
  Open("qd_sample");
  CRun& run = *m_document->GetCurrentRun();
  std::vector<std::pair<CDev*, std::int32_t>> lengths;
  for (CDev* element : run.GetDevices()) {
    if (element->GetKind() != CDev::kJoint || element->GetLength() == 0) continue;
    lengths.emplace_back(element, element->GetLength());
    element->SetDrawnLength(2'000'000);
  }
  ASSERT_FALSE(lengths.empty());
  CTempFolder folder;
  const std::string path = folder.Path() + "/plant.Z3D";
  std::ofstream(path) << "old";
  std::string overlong;
  EXPECT_FALSE(SaveZ3dFile(run, path, &overlong));
  EXPECT_TRUE(overlong.starts_with("/0020")) << overlong;
  EXPECT_TRUE(overlong.ends_with("@@2000000")) << overlong;
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  for (const auto& [element, kept] : lengths) element->SetDrawnLength(kept);
  ASSERT_TRUE(SaveZ3dFile(run, path, &overlong));
  EXPECT_TRUE(CheckZ3dGrammar(ReadAll(path)).empty());
}

// Only numbers wider than their field are found: integer parameters of more than six
// digits (a sign aside), groups and stations of more than three; a name holds anything.
TEST(Z3dOverlongTest, OnlyNumbersWiderThanTheirFieldAreFound) {
  const std::pair<const char*, const char*> cases[] = {
      {"dev:110000/00200@@999999/00201@@-00001\n", ""},
      {"dev:110000/00200@@1000000\n", "/00200@@1000000"},
      {"dev:110000/00201@@-1000000\n", "/00201@@-1000000"},
      {"dev:211000/00211@@000001@@1234567\n", "/00211@@000001@@1234567"},
      {"dev:110000/00214@$X@@12345678\n", ""},
      {"pos:gt999S9999st001\n", ""},
      {"pos:S0100gt1000\n", "gt1000"},
      {"pos:st1234X+00000000000001.00000\n", "st1234"},
  };
  for (const auto& [text, overlong] : cases)
    EXPECT_EQ(FindOverlongZ3dValue(text), overlong) << text;
}

}  // namespace
