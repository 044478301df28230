#include "app/option_list_files.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

class OptionListFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { COptionListFiles::ResetRun("opts"); }
  void TearDown() override { COptionListFiles::ResetRun("opts"); }

  void ReadOnce(const std::string& key, const std::string& sample = {}) {
    COptionListFiles lists(folder.Folder(), "opts", sample);
    lists.RecordDefault("A", key, "1");
    lists.Finish();
  }

  CTempFolder folder{"option-lists"};
};

TEST_F(OptionListFilesTest, TheListOfKeysIsWrittenByTheFirstReadOfTheRunOnly) {
  folder.WriteFile("opts.all", "[Old]\nStale=1\n");
  ReadOnce("First");
  EXPECT_EQ(folder.ReadFile("opts.all"), "[A]\nFirst=1\n");
  ReadOnce("Second");
  EXPECT_EQ(folder.ReadFile("opts.all"), "[A]\nFirst=1\n");
  COptionListFiles::ResetRun("opts");
  ReadOnce("Third");
  EXPECT_EQ(folder.ReadFile("opts.all"), "[A]\nThird=1\n");
}

TEST_F(OptionListFilesTest, ValuesAreCutLikeTheProfileCallsAndTheSampleStandsInForAMissingFile) {
  const std::string sample = folder.WriteFile("sample.cfg", "[A]\nK=7\n");
  EXPECT_EQ(COptionListFiles(folder.Folder(), "opts", sample).Read("a", "k"), "7");
  folder.WriteFile("opts.cfg", "[A]\nLong=" + std::string(300, 'x') + "\n");
  const COptionListFiles own(folder.Folder(), "opts", sample);
  EXPECT_EQ(own.Read("A", "Long")->size(), 255u);
  EXPECT_FALSE(own.Read("A", "K").has_value());
}

TEST_F(OptionListFilesTest, WritingChoicesKeepsTheUsersOtherKeys) {
  folder.WriteFile("opts.cfg", "; mine\n[A]\nMine=3\n[B]\nKey=1\n");
  ASSERT_TRUE(COptionListFiles::WriteChoices(folder.Folder(), "opts", {{"B", "Key"}, {"C", "New"}},
                                             {"5", "6"}));
  EXPECT_EQ(folder.ReadFile("opts.cfg"), "; mine\n[A]\nMine=3\n[B]\nKey=5\n\n[C]\nNew=6\n");
}

TEST_F(OptionListFilesTest, AFirstWriteStartsFromTheSampleSoItsChoicesStay) {
  const std::string sample = folder.WriteFile("sample.cfg", "[A]\nOffered=1\n");
  ASSERT_TRUE(
      COptionListFiles::WriteChoices(folder.Folder(), "opts", {{"A", "Choice"}}, {"2"}, sample));
  EXPECT_EQ(folder.ReadFile("opts.cfg"), "[A]\nOffered=1\nChoice=2\n");
  EXPECT_FALSE(COptionListFiles::WriteChoices(folder.Folder(), "opts", {{"A", "Bad\nKey"}}, {"1"}));
  EXPECT_EQ(folder.ReadFile("opts.cfg"), "[A]\nOffered=1\nChoice=2\n");
}

}  // namespace
