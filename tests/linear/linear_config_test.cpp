#include <gtest/gtest.h>

#include <filesystem>

#include "linear/linear_config.h"
#include "linear/linear_line.h"
#include "linear/linear_test_support.h"
#include "linear/ref_coff_table.h"
#include "support/temp_folder.h"

namespace {

class LinearConfigTest : public testing::Test {
 protected:
  void SetUp() override { CLinearConfig::ResetRunFlag(); }
  // Reads a lin_conf.cfg of that text (none when null).
  CLinearConfig Read(const char* cfg, int copper = 0, int apod = 0) {
    if (cfg) m_folder.WriteFile("lin_conf.cfg", cfg);
    CLinearConfig config;
    config.ReadLinearConfig(m_folder.Folder(), copper, apod, &m_refCoff);
    return config;
  }
  void LoadRefCoff() { ASSERT_TRUE(m_refCoff.Load(SampleFolders().catalogue, false)); }
  CTempFolder m_folder{"linconf"};
  CRefCoffTable m_refCoff;
};

struct OptionCase {
  const char* cfg;
  int product;
  int group;
  int option;
  int expected;
  const char* guards;
};

class LinearOptionTest : public LinearConfigTest, public testing::WithParamInterface<OptionCase> {};

TEST_P(LinearOptionTest, ReadsOneOption) {
  const OptionCase& c = GetParam();
  const CLinearConfig config = Read(c.cfg, 1);
  EXPECT_EQ(config.OptionTableFor(c.product, c.group)[c.option], c.expected) << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinearOptionTest,
    testing::Values(
        OptionCase{"[1]\nQMA=1\n[QM-1]\nCBL=-5\n", 0, 1, 3, 1, "a negative value counts as 0"},
        OptionCase{"[1]\nQMA=1\n[QM-1]\nCBL=2\n", 0, 1, 3, 3, "the program keeps v+1"},
        OptionCase{"[0]\nQMA=1\n[QM-0]\nCBL=2\n", 0, 0, 3, 0, "no default, so not read"},
        OptionCase{"[1]\nQWA=1\n", 2, 1, 13, 0, "CPF is offered only when listed"},
        OptionCase{"[1]\nQWA=1\n[QW-1]\nCPF=\n", 2, 1, 13, 0, "an empty CPF removes it"},
        OptionCase{"[1]\nQWA=1\n[QW-1]\nCPF=0\n", 2, 1, 13, 1, "a listed CPF is offered"},
        OptionCase{"[1]\nQWA=1\n", 2, 1, 3, 1, "CBL absent keeps its default"},
        OptionCase{"[2]\nQDA=1\n[QD-2]\nCHOIXTRAP=2\n", 6, 2, 24, 6, "CHOIXTRAP 2 in QD"},
        OptionCase{"[2]\nQDA=1\n[QD-2]\nCHOIXTRAP=1\n", 6, 2, 24, 11, "any other value in QD"},
        OptionCase{"[3]\nQYA=1\n[QY-3]\nCHOIXTRAP=2\n", 7, 3, 24, 11, "CHOIXTRAP 2 in QY"},
        OptionCase{"[3]\nQYA=1\n[QY-3]\nCHOIXTRAP=7\n", 7, 3, 24, 16, "7 in QY"},
        OptionCase{"[3]\nQYA=1\n", 7, 3, 24, 11, "an absent CHOIXTRAP in QY"},
        OptionCase{"[1]\nqpa=1\n[qp-1]\ntransp=0\n", 4, 1, 5, 1, "keys ignore letter case"},
        OptionCase{"[1]\nQMA=1\n[QM-1]\nCBL=2147483647\n", 0, 1, 3, 2147483647,
                   "the top of the range is held, not wrapped"}));

TEST_F(LinearConfigTest, ProductsOfTheGroups) {
  const char* cfg = "[0]\nQMC=1\nQWA=2\n[3]\nQFP=1\nQYA=1\n";
  EXPECT_EQ(Read(cfg, 0).Entries(0)[kProductQMC], 0) << "copper variants need Copper";
  CLinearConfig::ResetRunFlag();
  const CLinearConfig copper = Read(cfg, 1);
  EXPECT_EQ(copper.Ranks(0)[kProductQMC], 1);
  EXPECT_EQ(copper.Ranks(0)[kProductQWA], 2);
  EXPECT_EQ(copper.Entries(3)[kProductQFP], 0) << "QFP is never offered";
  EXPECT_TRUE(copper.IsAvailable(0));
  EXPECT_FALSE(copper.IsAvailable(1)) << "a group that offers nothing";
  EXPECT_EQ(Read("[0]\nQJF=1\n", 0, 1).Entries(0)[kProductQJF], 0);
}

TEST_F(LinearConfigTest, MissingFileOffersNothing) {
  const CLinearConfig config = Read(nullptr);
  for (int g = 0; g < kLinearGroupCount; ++g) EXPECT_FALSE(config.IsAvailable(g)) << g;
  EXPECT_EQ(config.OptionTableFor(kProductQMA, 1)[3], 1);
}

TEST_F(LinearConfigTest, TheProgramsSampleListStandsInForAMissingOne) {
  const std::string sample = m_folder.WriteFile("sample.cfg", "[0]\nQMA=1\n[1]\nQWA=1\n");
  CLinearConfig config;
  config.ReadLinearConfig(m_folder.Folder(), 0, 0, &m_refCoff, sample);
  EXPECT_EQ(config.Entries(0)[kProductQMA], 1) << "the sample is read";
  EXPECT_EQ(config.Entries(1)[kProductQWA], 1);
  m_folder.WriteFile("lin_conf.cfg", "[1]\nQWA=1\n");
  config.ReadLinearConfig(m_folder.Folder(), 0, 0, &m_refCoff, sample);
  EXPECT_EQ(config.Entries(0)[kProductQMA], 0) << "the user's own list wins";
}

TEST_F(LinearConfigTest, TheTemplateIsRewrittenOncePerRun) {
  Read("[1]\nQMA=1\n[2]\nQDA=1\n");
  const std::string all = m_folder.ReadFile("lin_conf.all");
  EXPECT_NE(all.find("[QM-1]\nTBL=0\nCBL=0\nCPF=0\n"), std::string::npos) << all;
  EXPECT_NE(all.find("CHOIXTRAP=1"), std::string::npos) << "QD's default code 11 is written as 1";
  EXPECT_EQ(all.find("[QM-0]"), std::string::npos) << "QM is not offered in group 0";
  m_folder.WriteFile("lin_conf.all", "kept");
  Read("[0]\nQMA=1\n");
  EXPECT_EQ(m_folder.ReadFile("lin_conf.all"), "kept") << "a second window of the run";
}

TEST_F(LinearConfigTest, TapOffEntriesFollowTheCatalogue) {
  LoadRefCoff();
  const CLinearConfig config = Read("[1]\nQMA=2\n[2]\nQDA=1\n", 1);
  const CLinearConfig::OptionTable& qd = config.OptionTableFor(kProductQDA, 2);
  EXPECT_EQ((std::array<int, 5>{qd[30], qd[31], qd[32], qd[33], qd[34]}),
            (std::array<int, 5>{1, 1, 0, 0, 0}))
      << "QD offers buttons 1, 2, 3 and 5, the catalogue rows only 1 and 2";
  const CLinearConfig::OptionTable& qm = config.OptionTableFor(kProductQMA, 1);
  EXPECT_EQ((std::array<int, 3>{qm[30], qm[31], qm[32]}), (std::array<int, 3>{1, 1, 0}));
}

// The choice tables of the sample lin_conf.cfg for each product offered.
TEST_F(LinearConfigTest, SampleOptionListsPerProduct) {
  LoadRefCoff();
  std::filesystem::copy_file(std::string(TVR_PROGRAM_DIR) + "/lin_conf.cfg",
                             m_folder.File("lin_conf.cfg"));
  CLinearConfig config;
  config.ReadLinearConfig(m_folder.Folder(), 0, 0, &m_refCoff);
  struct Offer {
    int group, product, rating, degree;
    std::vector<int> options;  // non-zero entries of the choice table
  };
  const Offer offers[] = {
      {0,
       kProductQMA,
       800,
       55,
       {0, 1, 2, 5, 7, 11, 13, 15, 16, 18, 19, 20, 21, 22, 23, 26, 27, 28}},
      {0, kProductQWA, 400, 52, {2, 3, 5, 7, 8, 11, 13, 16, 17}},
      {0, kProductQWA, 400, 54, {2, 3, 5, 7, 8, 11, 13, 14, 16, 17}},
      {1, kProductQMA, 4000, 55, {2, 3, 5, 7, 9, 10, 11, 12, 13, 18, 19, 20, 28, 30, 31}},
      {1, kProductQMA, 5000, 55, {2, 5, 7, 9, 10, 11, 12, 13, 18, 19, 20, 28, 30, 31}},
      {1, kProductQPA, 250, 55, {2, 3, 5, 7, 9, 10, 11, 12, 14, 30, 31, 32, 34}},
      {2, kProductQDA, 63, 55, {3, 4, 6, 7, 11, 24, 29, 30, 31}},
      {2, kProductQJF, 4000, 31, {2, 5, 6, 7, 11, 18, 25, 26, 30}},
      {2, kProductQJF, 3400, 31, {2, 3, 5, 6, 7, 11, 18, 25, 26, 30}},
  };
  for (const Offer& offer : offers) {
    CLinearLine line = MakeLine(offer.group, offer.product, offer.rating, 13, offer.degree);
    std::vector<int> offered;
    const std::vector<int> table = config.GetChoiceTable(1, line);
    for (int o = 0; o < kOptionCount; ++o)
      if (table[o] != 0) offered.push_back(o);
    EXPECT_EQ(offered, offer.options) << "group " << offer.group << ", product " << offer.product;
  }
  EXPECT_EQ(config.GetChoiceTable(1, MakeLine(2, kProductQDA, 63, 13, 55))[24], 11);
  const std::vector<int> ratings = config.GetChoiceTable(2, MakeLine(0, 0, 800, 13, 55));
  EXPECT_EQ(std::vector<int>(ratings.begin() + 50, ratings.begin() + 60),
            (std::vector<int>{1000, 1200, 1450, 2200, 2500, 3000, 3400, 4000, 4500, 0}));
  EXPECT_EQ(config.GetChoiceTable(3, MakeLine(1, 0, 800, 13, 55))[2 * 8], 0)
      << "QWA has no 3L+PE in group 1";
  EXPECT_EQ(config.GetChoiceTable(0, MakeLine(0, 0, 800, 13, 55)),
            (std::vector<int>{1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 2, 0, 0, 0, 1, 2}));
}

}  // namespace
