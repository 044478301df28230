#include "reference/ref_config.h"

#include <gtest/gtest.h>

#include "app/option_list_files.h"
#include "app/profile.h"
#include "ref_test_support.h"
#include "support/temp_folder.h"

namespace {

class RefConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { COptionListFiles::ResetRun(CRefConfig::kListName); }
  void TearDown() override { COptionListFiles::ResetRun(CRefConfig::kListName); }

  // Loads the option lists from a ref_conf.cfg of this text, TVR.INI of that text.
  CRefConfig Load(const std::string& cfg, const std::string& ini = "[Design]\nCopper=1\n") {
    folder.WriteFile("ref_conf.cfg", cfg);
    folder.WriteFile("TVR.INI", ini);
    CRefConfig config;
    config.ReadSettings(Profile(), Setup());
    EXPECT_EQ(config.LoadRefConfig(Profile(), Setup()), 1);
    return config;
  }
  CProfile Profile() const { return CProfile(folder.File("TVR.INI")); }
  CRefConfigSetup Setup() const { return {folder.Folder(), {}, SampleRefSetup().catalogueFolder}; }

  CTempFolder folder{"ref-config"};
};

TEST_F(RefConfigTest, AnEmptyListOffersOnlyTheFallbackSlotAndNoProduct) {
  for (int special : {0, 2}) {
    COptionListFiles::ResetRun(CRefConfig::kListName);
    const CRefConfig config = Load("[Special]\nSpecial=" + std::to_string(special) + "\n");
    for (int p = 0; p < kRefProductCount; ++p) {
      const CRefProductOptions& product = config.Product(p);
      EXPECT_EQ(product.CalMax(), 0) << p;
      for (int k = 0; k < 8; ++k)
        EXPECT_EQ(product.optionSlots[k], k == (special == 2 ? 4 : 0) ? 1 : 0) << p << " " << k;
      for (int c = 0; c < CRefConfig::kStateCount; ++c) {
        // FLAGS only masks the state: without the key it stays as built in.
        if (c != 42 && !ref_defaults::ComponentKey(p, c).empty()) {
          EXPECT_EQ(product.states[c], 0) << p << " " << c;
        }
      }
    }
    for (int g = 0; g < 4; ++g) EXPECT_FALSE(config.GroupOffered(g));
  }
}

struct SlotCase {
  const char* name;
  const char* cfg;
  int product;
  std::array<int, 9> optionSlots;
};

class RefConfigSlotTest : public RefConfigTest, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(RefConfigSlotTest, OptionKeysCountOnlyTheOfferedSlots) {
  const CRefConfig config = Load(GetParam().cfg);
  EXPECT_EQ(config.Product(GetParam().product).optionSlots, GetParam().optionSlots);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefConfigSlotTest,
                         ::testing::Values(SlotCase{"QyaSecondKeyIsSlotTwo",
                                                    "[QYA]\nOPT1=4\nCALMAX=40\n",
                                                    1,
                                                    {0, 0, 5, 0, 0, 0, 0, 0, 40}},
                                           SlotCase{"QpaKeysAreSlotsZeroFiveSix",
                                                    "[QPA]\nOPT0=0\nOPT1=1\nOPT2=2\nCALMAX=1000\n",
                                                    4,
                                                    {1, 0, 0, 0, 0, 2, 3, 0, 1000}},
                                           SlotCase{"CalMaxFallsToTheRatingBelow",
                                                    "[QDA]\nOPT0=0\nCALMAX=120\n",
                                                    3,
                                                    {1, 0, 0, 0, 0, 0, 0, 0, 100}},
                                           SlotCase{"CalMaxAboveTheDefaultIsIgnored",
                                                    "[QDA]\nOPT0=0\nCALMAX=999\n",
                                                    3,
                                                    {1, 0, 0, 0, 0, 0, 0, 0, 160}},
                                           SlotCase{"CalMaxBelowTheFirstRatingWithdraws",
                                                    "[QPA]\nOPT0=0\nCALMAX=30\n",
                                                    4,
                                                    {1, 0, 0, 0, 0, 0, 0, 0, 0}},
                                           SlotCase{"ANegativeOptionKeepsItsDefault",
                                                    "[QYA]\nOPT0=-3\nCALMAX=40\n",
                                                    1,
                                                    {1, 0, 0, 0, 0, 0, 0, 0, 40}},
                                           SlotCase{"DamagedTextsReadAsZero",
                                                    "[QYA]\nOPT0=abc\nCALMAX=x40\n",
                                                    1,
                                                    {1, 0, 0, 0, 0, 0, 0, 0, 0}},
                                           SlotCase{"AHugeOptionDoesNotWrap",
                                                    "[QYA]\nOPT0=2147483647\nCALMAX=25\n",
                                                    1,
                                                    {2147483647, 0, 0, 0, 0, 0, 0, 0, 25}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ComponentCase {
  const char* name;
  const char* cfg;
  int product;
  std::vector<std::pair<int, int>> states;  // index, state
};

class RefConfigComponentTest : public RefConfigTest,
                               public ::testing::WithParamInterface<ComponentCase> {};

TEST_P(RefConfigComponentTest, KeysGiveTheComponentStates) {
  const CRefConfig config = Load(GetParam().cfg);
  for (const auto& [index, state] : GetParam().states)
    EXPECT_EQ(config.Product(GetParam().product).states[index], state) << index;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefConfigComponentTest,
    ::testing::Values(
        ComponentCase{"ValuesMapToStates",
                      "[QYA]\nCALMAX=40\nALIM1=-1\nALIM2=1\nDROIT1=2\nDROIT2=3\nDROIT3=9\n",
                      1,
                      {{0, 1}, {1, 3}, {3, 4}, {4, 6}, {5, 7}, {6, 0}}},
        ComponentCase{"QfpAndOthersNameIndexSixDifferently",
                      "[QPA]\nCALMAX=400\nCOMPL1=2\n",
                      4,
                      {{6, 4}, {3, 0}}},
        ComponentCase{"FlagsMaskTheState", "[QYA]\nCALMAX=40\nFLAGS=0\n", 1, {{42, 0}}},
        ComponentCase{"AbsentFlagsKeepTheState", "[QYA]\nCALMAX=40\n", 1, {{42, 1}}},
        ComponentCase{
            "LuminaireChoiceOne", "[QYA]\nCALMAX=40\nCHOIXLUM=1\n", 1, {{45, 2}, {46, 1}}},
        ComponentCase{
            "LuminaireChoiceTwo", "[QYA]\nCALMAX=40\nCHOIXLUM=2\n", 1, {{45, 1}, {46, 2}}},
        ComponentCase{"LuminaireAbsentIs101", "[QYA]\nCALMAX=40\n", 1, {{45, 1}, {46, 0}}},
        ComponentCase{
            "LuminaireChoice102", "[QYA]\nCALMAX=40\nCHOIXLUM=102\n", 1, {{45, 0}, {46, 1}}},
        ComponentCase{"LuminaireChoiceSevenChangesNothing",
                      "[QYA]\nCALMAX=40\nCHOIXLUM=7\n",
                      1,
                      {{45, 1}, {46, 1}}},
        ComponentCase{"SupplementOfQyx", "[QYX]\nCALMAX=25\nSUPPL=2\n", 6, {{55, 4}}},
        ComponentCase{
            "SupplementStaysWithAccessories", "[QYA]\nCALMAX=40\nSUPPL=1\n", 1, {{55, 3}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RefConfigTest, TheListOfKeysHoldsTheDefaultsAndIsWrittenOncePerRun) {
  Load("");
  const std::string all = folder.ReadFile("ref_conf.all");
  for (const char* line : {"[QYA]\nOPT0=0\nOPT1=0\nCALMAX=40\nCHOIXLUM=1\nALIM1=0\nALIM2=0\n",
                           "DROIT0=0\nFIX1=0\n", "FLAGS=0\n", "[QFP]\nOPT0=0\nCALMAX=20\nALIM1=0\n",
                           "FC10=2\n", "BA12=2\n", "[Qpc-APOD]\n", "SUPPL=1\n"})
    EXPECT_NE(all.find(line), std::string::npos) << line;
  // Component 8 of the QP products is read but not listed.
  const std::string qpa = all.substr(all.find("[QPA]"), all.find("[Qpc-APOD]") - all.find("[QPA]"));
  EXPECT_EQ(qpa.find("CHOIX4D"), std::string::npos);
  folder.WriteFile("ref_conf.all", "kept");
  Load("[QYA]\nCALMAX=40\n");
  EXPECT_EQ(folder.ReadFile("ref_conf.all"), "kept");
}

TEST_F(RefConfigTest, CopperApodAndTheSpecialModesWithdrawProducts) {
  const std::string all =
      "[QPA]\nCALMAX=1000\n[QPC]\nCALMAX=800\n[Qpc-APOD]\nCALMAX=800\n"
      "[Qpa-APOD]\nCALMAX=800\n[QYB]\nCALMAX=40\n[QUE]\nCALMAX=40\n";
  CRefConfig plain = Load(all);
  EXPECT_TRUE(plain.ProductOffered(2, 4));
  EXPECT_TRUE(plain.ProductOffered(2, 8));
  EXPECT_FALSE(plain.ProductOffered(2, 5));
  EXPECT_TRUE(plain.ProductOffered(3, 2));
  EXPECT_FALSE(plain.ProductOffered(3, 1));
  const CRefConfig noCopper = Load(all, "[Design]\nCopper=0\n");
  EXPECT_FALSE(noCopper.ProductOffered(2, 8));
  const CRefConfig apod = Load(all, "[Design]\nCopper=1\nAPOD=1\n");
  EXPECT_FALSE(apod.ProductOffered(2, 4));
  EXPECT_TRUE(apod.ProductOffered(2, 5));
  EXPECT_TRUE(apod.ProductOffered(2, 7));
  const CRefConfig special = Load(all, "[Design]\nCopper=1\n[Ref]\nSpecial=1\n");
  EXPECT_EQ(special.SectionOf(1), "QUE");
  EXPECT_TRUE(special.ProductOffered(3, 1));
  EXPECT_FALSE(special.ProductOffered(3, 2));
  EXPECT_FALSE(special.GroupOffered(0));
}

TEST_F(RefConfigTest, SettingsOutOfRangeFallBackToTheirDefaults) {
  const CRefConfig config =
      Load("[Special]\nSpecial=7\n",
           "[Ref]\nRefs=5\nRefGrp=1\nQPA=abc\nQYA=1.25\nQPC-APOD=-2\n[Comp]\nMO=3\n");
  EXPECT_EQ(config.SpecialMode(), 0);
  EXPECT_EQ(config.Refs(), 0);
  EXPECT_EQ(config.RefGroup(), 1);
  EXPECT_EQ(config.CompMo(), 3);
  EXPECT_DOUBLE_EQ(config.Coefficient(4), 1.0);
  EXPECT_DOUBLE_EQ(config.Coefficient(1), 1.25);
  EXPECT_DOUBLE_EQ(config.Coefficient(5), 1.0);
  EXPECT_DOUBLE_EQ(config.Coefficient(42), 1.0);
  EXPECT_EQ(Load("[Special]\nSpecial=2\n", "[Ref]\nRefs=11\n").Refs(), 11);
  EXPECT_EQ(Load("", "[Ref]\nSpecial=3\n").SpecialMode(), 3);
}

TEST_F(RefConfigTest, ConnectionChoicesAreReadAndWrittenBackKeepingTheUsersKeys) {
  CRefConfig config = Load("; mine\n[QYA]\nCALMAX=40\nCHOIXCONN=2\nCHOIXQYL=1\nMine=5\n[QFP]\n");
  EXPECT_EQ(config.Connection(1)[0], 2);
  EXPECT_EQ(config.Connection(9)[0], 1);
  EXPECT_EQ(config.Connection(0)[0], -1);
  EXPECT_EQ(config.Connection(4)[0], -1);
  config.Connection(0)[0] = 3;
  config.Connection(1)[0] = 4;
  ASSERT_TRUE(config.WriteConnectionChoices(Setup()));
  EXPECT_EQ(folder.ReadFile("ref_conf.cfg"),
            "; mine\n[QYA]\nCALMAX=40\nCHOIXCONN=4\nCHOIXQYL=1\nMine=5\n[QFP]\nCHOIXCONN=3\n");
  EXPECT_EQ(Load("[QYA]\nCALMAX=40\nCHOIXCONN=2\n", "[Ref]\nSpecial=2\n").Connection(1)[0], -1);
}

TEST_F(RefConfigTest, TheSampleListOffersTheSampleProducts) {
  folder.WriteFile("TVR.INI", "[Design]\nCopper=1\n");
  const CRefConfigSetup setup{folder.Folder(),
                              std::string(TVR_SOURCE_DIR) + "/data/catalogue/ref_conf.cfg",
                              SampleRefSetup().catalogueFolder};
  CRefConfig config;
  config.ReadSettings(Profile(), setup);
  config.LoadRefConfig(Profile(), setup);
  for (int p : {1, 2}) EXPECT_TRUE(config.ProductOffered(3, p)) << p;
  for (int p : {3, 4, 8}) EXPECT_TRUE(config.ProductOffered(2, p)) << p;
  EXPECT_FALSE(config.ProductOffered(3, 6));
  EXPECT_EQ(config.Product(4).states[3], 4);
}

}  // namespace
