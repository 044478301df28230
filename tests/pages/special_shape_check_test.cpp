#include "pages/special_shape_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Plain(std::int64_t value) { return std::to_string(value); }

CShapeCheckState Shown(CShapeCheckState state) {
  state.shown.fill(true);
  state.enabled.fill(true);
  return state;
}

CShapeCheckState QMPlate(int shape, std::int64_t p, std::int64_t q, std::int64_t r,
                         std::int64_t s) {
  CShapeCheckState state;
  state.shape = shape;
  state.P = p;
  state.Q = q;
  state.R = r;
  state.S = s;
  return Shown(state);
}

CShapeCheckState Variant6(int level, std::int64_t e) {
  CShapeCheckState state;
  state.shape = kShapeVariant6;
  state.variant6Level = level;
  state.K = e;
  return Shown(state);
}

CShapeCheckState QGCover(std::int64_t width, std::int64_t height, int reference) {
  CShapeCheckState state;
  state.shape = 21;
  state.cover = true;
  state.rangeQG = true;
  state.width = width;
  state.height = height;
  state.referenceSecond = reference;
  return Shown(state);
}

CShapeCheckState QGEnd(int kind, int position, int size, int value, int count) {
  CShapeCheckState state;
  state.shape = kShapeQGEnd;
  state.rangeQG = true;
  state.qgKind = kind;
  state.position = position;
  state.barSize = size;
  state.barValue = value;
  state.neutralCount = count;
  return Shown(state);
}

struct ApplyCase {
  const char* name;
  CShapeCheckState state;
  int showField;  // -2: no mode-0 call first
  int field;
  std::int64_t value;
  bool accepted;
  std::int64_t lower;
  std::int64_t upper;
};

class CheckDimensionsApplyTest : public testing::TestWithParam<ApplyCase> {};

TEST_P(CheckDimensionsApplyTest, RefusesOutsideTheLimitsOfTheField) {
  const ApplyCase& c = GetParam();
  CShapeCheckState state = c.state;
  if (c.showField != -2) CheckDimensions(state, c.showField, ECheckMode::kShow, 0, Plain);
  const CCheckResult leave = CheckDimensions(state, c.field, ECheckMode::kLeave, c.value, Plain);
  EXPECT_EQ(leave.accepted, c.accepted);
  EXPECT_EQ(leave.message, ECheckMessage::kNone);  // leaving a field never tells
  CShapeCheckState again = c.state;
  if (c.showField != -2) CheckDimensions(again, c.showField, ECheckMode::kShow, 0, Plain);
  const CCheckResult apply = CheckDimensions(again, c.field, ECheckMode::kApply, c.value, Plain);
  EXPECT_EQ(apply.accepted, c.accepted);
  EXPECT_EQ(apply.message != ECheckMessage::kNone, !c.accepted);
  EXPECT_EQ(again.lower, c.lower);
  EXPECT_EQ(again.upper, c.upper);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CheckDimensionsApplyTest,
    testing::Values(
        // "EMBOUT_CHANT": 80..250 as shown.
        ApplyCase{"ChantAtLower", Shown({.shape = kShapeChant}), 0, 0, 80, true, 80, 250},
        ApplyCase{"ChantBelow", Shown({.shape = kShapeChant}), 0, 0, 79, false, 80, 250},
        ApplyCase{"ChantAtUpper", Shown({.shape = kShapeChant}), 1, 1, 250, true, 80, 250},
        ApplyCase{"ChantAbove", Shown({.shape = kShapeChant}), 3, 3, 251, false, 80, 250},
        // Plates: P against Q, S against R on plate 1, R against S on plate 2.
        ApplyCase{"Plate1PBelow", QMPlate(1, 0, 200, 0, 0), -2, 0, 350, false, 360, 800},
        ApplyCase{"Plate1PAtLower", QMPlate(1, 0, 200, 0, 0), -2, 0, 360, true, 360, 800},
        ApplyCase{"Plate1PAtUpper", QMPlate(1, 0, 200, 0, 0), -2, 0, 800, true, 360, 800},
        ApplyCase{"Plate1PAbove", QMPlate(1, 0, 200, 0, 0), -2, 0, 801, false, 360, 800},
        ApplyCase{"PlateQDefault", QMPlate(1, 0, 0, 0, 0), -2, 1, 79, false, 80, 2000},
        ApplyCase{"PlateQDefaultTop", QMPlate(1, 0, 0, 0, 0), -2, 1, 2000, true, 80, 2000},
        ApplyCase{"PlateQDefaultOver", QMPlate(1, 0, 0, 0, 0), -2, 1, 2001, false, 80, 2000},
        ApplyCase{"Plate1SAgainstR", QMPlate(1, 0, 0, 100, 0), -2, 3, 259, false, 260, 700},
        ApplyCase{"Plate1SAtTop", QMPlate(1, 0, 0, 100, 0), -2, 3, 700, true, 260, 700},
        ApplyCase{"Plate1RDefault", QMPlate(1, 0, 0, 0, 100), -2, 2, 80, true, 80, 2000},
        ApplyCase{"Plate2RAgainstS", QMPlate(2, 0, 0, 0, 100), -2, 2, 701, false, 260, 700},
        ApplyCase{"Plate2SDefault", QMPlate(2, 0, 0, 100, 0), -2, 3, 79, false, 80, 2000},
        // Variant 6: E, N = E - lower, F.
        ApplyCase{"V6Level1E", Variant6(1, 0), -2, 1, 389, false, 390, 700},
        ApplyCase{"V6Level1ETop", Variant6(1, 0), -2, 1, 700, true, 390, 700},
        ApplyCase{"V6Level2E", Variant6(2, 0), -2, 1, 469, false, 470, 700},
        ApplyCase{"V6Level2EOver", Variant6(2, 0), -2, 1, 701, false, 470, 700},
        ApplyCase{"V6NAtUpper", Variant6(1, 500), -2, 2, 305, true, 195, 305},
        ApplyCase{"V6NAbove", Variant6(1, 500), -2, 2, 306, false, 195, 305},
        ApplyCase{"V6NBelow", Variant6(1, 500), -2, 2, 194, false, 195, 305},
        ApplyCase{"V6Level2N", Variant6(2, 600), -2, 2, 234, false, 235, 365},
        ApplyCase{"V6F", Variant6(1, 500), -2, 3, 200, true, 0, 200},
        ApplyCase{"V6FOver", Variant6(1, 500), -2, 3, 201, false, 0, 200},
        // Range QG cover: A and B by the height, C and D by the width, M, N fixed.
        ApplyCase{"QGCoverA", QGCover(500, 300, 300), -2, 0, 199, false, 200, 400},
        ApplyCase{"QGCoverATop", QGCover(500, 300, 300), -2, 0, 400, true, 200, 400},
        ApplyCase{"QGCoverAHighBase", QGCover(500, 300, 380), -2, 0, 500, true, 200, 500},
        ApplyCase{"QGCoverAOver", QGCover(500, 300, 380), -2, 0, 501, false, 200, 500},
        ApplyCase{"QGCoverM", QGCover(500, 300, 300), -2, 2, 99, false, 100, 350},
        ApplyCase{"QGCoverMTop", QGCover(500, 300, 300), -2, 2, 350, true, 100, 350},
        ApplyCase{"QGCoverN", QGCover(500, 300, 300), -2, 3, 401, false, 100, 400},
        ApplyCase{"QGCoverC", QGCover(500, 300, 300), -2, 4, 299, false, 300, 1000},
        ApplyCase{"QGCoverCTop", QGCover(500, 300, 300), -2, 4, 1000, true, 300, 1000},
        ApplyCase{"QGCoverWide", QGCover(1201, 300, 300), -2, 0, 5, true, 0, 0},
        // Range QG end pieces: the limits shown by position, then the total rule.
        ApplyCase{"QGEndNarrow", QGEnd(1, 0, 100, 10, 4), 0, 0, 69, false, 70, 700},
        ApplyCase{"QGEndNarrowOk", QGEnd(1, 0, 100, 10, 4), 0, 0, 70, true, 70, 700},
        ApplyCase{"QGEndKind3Pos1", QGEnd(3, 1, 100, 20, 4), 0, 0, 89, false, 90, 700},
        ApplyCase{"QGEndWide", QGEnd(2, 1, 100, 10, 4), 0, 0, 124, false, 125, 1100},
        ApplyCase{"QGEndPos2", QGEnd(1, 2, 100, 10, 4), 0, 0, 125, true, 125, 2100},
        ApplyCase{"QGEndPos2Kind2", QGEnd(2, 2, 100, 10, 4), 0, 0, 125, true, 125, 1100}),
    [](const testing::TestParamInfo<ApplyCase>& info) { return std::string(info.param.name); });

TEST(CheckDimensionsTest, TheSecondCoverSideTakesWhatTheFirstLeavesOnApply) {
  CShapeCheckState state = QGCover(500, 300, 300);
  state.coverA = 350;
  // Leaving B only looks at its own limits.
  EXPECT_TRUE(CheckDimensions(state, 1, ECheckMode::kLeave, 300, Plain).accepted);
  state.coverA = 350;
  EXPECT_FALSE(CheckDimensions(state, 1, ECheckMode::kApply, 300, Plain).accepted);
  EXPECT_EQ(state.upper, 250);
  CShapeCheckState wide = QGCover(500, 0, 300);
  wide.coverC = 60;  // below the limits of C: D keeps its own
  EXPECT_TRUE(CheckDimensions(wide, 5, ECheckMode::kApply, 300, Plain).accepted);
  wide.coverC = 400;
  EXPECT_FALSE(CheckDimensions(wide, 5, ECheckMode::kApply, 901, Plain).accepted);
  EXPECT_EQ(wide.upper, 900);
  CShapeCheckState small = QGCover(0, 0, 300);
  small.coverC = 60;
  CheckDimensions(small, 5, ECheckMode::kApply, 140, Plain);
  EXPECT_EQ(small.lower, 140);  // the two sides together reach 200
}

TEST(CheckDimensionsTest, ASumBeyondTheUpperLimitIsRefusedAsTooLarge) {
  CShapeCheckState state = QGEnd(1, 0, 100, 10, 4);
  CheckDimensions(state, 0, ECheckMode::kShow, 0, Plain);
  state.Q = 300;
  state.R = 300;
  const CCheckResult result = CheckDimensions(state, 0, ECheckMode::kApply, 100, Plain);
  EXPECT_FALSE(result.accepted);
  EXPECT_EQ(result.message, ECheckMessage::kQGTooLarge);
  EXPECT_EQ(RefusalText(result, state, Plain).substr(0, 18), "P+Q+R+S + T > 700 ");
  state.Q = state.R = 200;
  EXPECT_TRUE(CheckDimensions(state, 0, ECheckMode::kApply, 100, Plain).accepted);
}

TEST(CheckDimensionsTest, AWidePieceSpreadsItsMinimumOverTheGaps) {
  CShapeCheckState state = QGEnd(1, 2, 100, 10, 4);
  CheckDimensions(state, 0, ECheckMode::kShow, 0, Plain);
  state.Q = state.R = 600;
  // (1125 - 125) / 3 = 333.3: the minimum becomes 334.
  EXPECT_FALSE(CheckDimensions(state, 0, ECheckMode::kLeave, 333, Plain).accepted);
  EXPECT_EQ(state.lower, 334);
  CShapeCheckState again = QGEnd(1, 2, 100, 10, 4);
  CheckDimensions(again, 0, ECheckMode::kShow, 0, Plain);
  again.P = again.R = 600;
  const CCheckResult small = CheckDimensions(again, 1, ECheckMode::kApply, 300, Plain);
  EXPECT_EQ(small.message, ECheckMessage::kQGTooSmall);
  // Above 2000 the first line is left out.
  EXPECT_EQ(RefusalText(small, again, Plain).find("E - V"), std::string::npos);
}

TEST(CheckDimensionsTest, ASingleConductorSkipsTheSpreadInsteadOfDividingByZero) {
  CShapeCheckState state = QGEnd(1, 2, 100, 10, 1);
  CheckDimensions(state, 0, ECheckMode::kShow, 0, Plain);
  state.Q = state.R = 600;
  EXPECT_FALSE(CheckDimensions(state, 0, ECheckMode::kLeave, 124, Plain).accepted);
  EXPECT_EQ(state.lower, 125);
}

TEST(CheckDimensionsTest, TheTooSmallLineNamesTheFieldsLetter) {
  CShapeCheckState state = QGEnd(2, 1, 100, 10, 4);
  CheckDimensions(state, 1, ECheckMode::kShow, 0, Plain);
  const CCheckResult result = CheckDimensions(state, 1, ECheckMode::kApply, 50, Plain);
  EXPECT_EQ(result.message, ECheckMessage::kQGTooSmall);
  EXPECT_EQ(RefusalText(result, state, Plain).substr(0, 13), "Q - V < 25 !\n");
  CShapeCheckState narrow = QGEnd(1, 0, 100, 10, 4);
  CheckDimensions(narrow, 2, ECheckMode::kShow, 0, Plain);
  const CCheckResult thin = CheckDimensions(narrow, 2, ECheckMode::kApply, 10, Plain);
  EXPECT_EQ(RefusalText(thin, narrow, Plain).substr(0, 17), "R - T < T + 50 !\n");
}

TEST(CheckDimensionsTest, HiddenDisabledOrNoShapeFieldsAreAccepted) {
  CShapeCheckState none = Shown({.shape = -1});
  EXPECT_TRUE(CheckDimensions(none, 0, ECheckMode::kApply, 99999, Plain).accepted);
  CShapeCheckState hidden = QMPlate(1, 0, 200, 0, 0);
  hidden.shown[0] = false;
  EXPECT_TRUE(CheckDimensions(hidden, 0, ECheckMode::kApply, 1, Plain).accepted);
  CShapeCheckState disabled = QMPlate(1, 0, 200, 0, 0);
  disabled.enabled[0] = false;
  EXPECT_TRUE(CheckDimensions(disabled, 0, ECheckMode::kApply, 1, Plain).accepted);
  EXPECT_FALSE(CheckDimensions(disabled, 0, ECheckMode::kShow, 0, Plain).accepted);
  CShapeCheckState variant3 = QMPlate(1, 0, 200, 0, 0);
  variant3.variant3 = true;
  EXPECT_TRUE(CheckDimensions(variant3, 0, ECheckMode::kApply, 1, Plain).accepted);
  CShapeCheckState switching = QMPlate(1, 0, 200, 0, 0);
  switching.switching = true;
  const CCheckResult quiet = CheckDimensions(switching, 0, ECheckMode::kApply, 1, Plain);
  EXPECT_FALSE(quiet.accepted);
  EXPECT_EQ(quiet.message, ECheckMessage::kNone);
}

struct ShowCase {
  const char* name;
  CShapeCheckState state;
  int field;
  int control;
  int message;
  const char* text;
};

class CheckDimensionsShowTest : public testing::TestWithParam<ShowCase> {};

TEST_P(CheckDimensionsShowTest, ShowsTheLimitsOfTheField) {
  const ShowCase& c = GetParam();
  CShapeCheckState state = c.state;
  const CCheckResult result = CheckDimensions(state, c.field, ECheckMode::kShow, 0, Plain);
  EXPECT_TRUE(result.accepted);
  EXPECT_EQ(result.limits.control, c.control);
  EXPECT_EQ(result.limits.message, c.message);
  EXPECT_EQ(result.limits.text, c.text);
}

CShapeCheckState QMCover(int code, int calibre, bool large) {
  CShapeCheckState state;
  state.shape = code;
  state.cover = true;
  state.coverCode = code;
  state.calibre = calibre;
  state.largeCalibre = large;
  return Shown(state);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CheckDimensionsShowTest,
    testing::Values(
        ShowCase{"Chant", Shown({.shape = kShapeChant}), 0, 1501, 0, "(80...250)"},
        ShowCase{"ChantVariant3", Shown({.shape = kShapeChant, .variant3 = true}), 0, 1501, 30034,
                 ""},
        ShowCase{"Plate1PQ", QMPlate(1, 0, 0, 0, 0), 0, 1498, 0, "160 <= P-Q <= 600"},
        ShowCase{"Plate1SR", QMPlate(1, 0, 0, 0, 0), 3, 1498, 0, "160 <= S-R <= 600"},
        ShowCase{"Plate2RS", QMPlate(2, 0, 0, 0, 0), 2, 1498, 0, "160 <= R-S <= 600"},
        ShowCase{"V6E", Variant6(2, 0), 1, 1498, 0, "470 <= E <= 700"},
        ShowCase{"V6N", Variant6(1, 0), 2, 1498, 0, "195 <= N <= E-195"},
        ShowCase{"V6F", Variant6(1, 0), 3, 1498, 0, "0 <= F <= 200"},
        ShowCase{"QMCover10", QMCover(10, 10, false), 3, 1498, 0, "310 <= Z <= 800"},
        ShowCase{"QMCover10Large", QMCover(10, 50, true), 3, 1498, 0, "800 <= Z <= 1200"},
        ShowCase{"QMCover11", QMCover(11, 20, false), 3, 1498, 0, "400 <= Z <= 800"},
        ShowCase{"QMCover12", QMCover(12, 20, false), 3, 1498, 0, "100 <= Z <= 400"},
        ShowCase{"QMCover12Large", QMCover(12, 50, true), 3, 1498, 0, "500 <= Z <= 800"},
        ShowCase{"QMCover13", QMCover(13, 20, false), 3, 1498, 0, "200 <= Z <= 350"},
        ShowCase{"QMCover14", QMCover(14, 20, false), 3, 1498, 0, "330 <= Z <= 480"},
        ShowCase{"QMCover15", QMCover(15, 20, false), 3, 1498, 0, "500 <= Z <= 650"},
        ShowCase{"QMCover15Wide", QMCover(15, 30, false), 3, 1498, 0, "660 <= Z <= 810"},
        ShowCase{"QMCover15Large", QMCover(15, 50, true), 3, 1498, 0, "870 <= Z <= 1020"},
        ShowCase{"QMCover20", QMCover(20, 20, false), 3, 1498, 0, "200 <= C <= 650"},
        ShowCase{"QGCoverNoText", QGCover(500, 300, 300), 0, 0, 0, ""},
        ShowCase{"QGEndNoText", QGEnd(1, 0, 100, 10, 4), 0, 0, 0, ""}),
    [](const testing::TestParamInfo<ShowCase>& info) { return std::string(info.param.name); });

TEST(CheckDimensionsTest, ACoverCode11OutOfRangeReportsTheRangeMessage) {
  CShapeCheckState state = QMCover(11, 20, false);
  CheckDimensions(state, 3, ECheckMode::kShow, 0, Plain);
  const CCheckResult result = CheckDimensions(state, 3, ECheckMode::kApply, 900, Plain);
  EXPECT_EQ(result.message, ECheckMessage::kRange);
  EXPECT_EQ(state.lower, 400);
  EXPECT_EQ(state.upper, 800);
  EXPECT_EQ(state.coverM, 900);  // the refused value stays in its member
}

struct SizeCase {
  const char* name;
  CQGEndInput input;
  std::int64_t width;
  std::int64_t height;
};

class QGEndSizesTest : public testing::TestWithParam<SizeCase> {};

TEST_P(QGEndSizesTest, WidthAndHeightByVariantAndNibble) {
  const SizeCase& c = GetParam();
  const CQGEndSizes sizes = QGEndSizes(c.input);
  EXPECT_EQ(sizes.width, c.width);
  EXPECT_EQ(sizes.height, c.height);
}

CQGEndInput Input(int variant, int nibble, bool entraxEmpty) {
  CQGEndInput in;
  in.variant = variant;
  in.nibble = nibble;
  in.entraxEmpty = entraxEmpty;
  in.distances = {100, 110, 120, 0};
  in.barSize = 80;
  in.barValue = 10;
  in.referenceFirst = 150;
  in.referenceSecond = 190;
  in.neutralCount = 4;
  return in;
}

INSTANTIATE_TEST_SUITE_P(Variants, QGEndSizesTest,
                         testing::Values(SizeCase{"V2N1Empty", Input(2, 1, true), 430, 190},
                                         SizeCase{"V2N1Spaced", Input(2, 1, false), 440, 190},
                                         SizeCase{"V2N2", Input(2, 2, false), 510, 190},
                                         SizeCase{"V2N3", Input(2, 3, false), 510, 226},
                                         SizeCase{"V3N1", Input(3, 1, false), 440, 165},
                                         SizeCase{"V3N2", Input(3, 2, false), 510, 110},
                                         SizeCase{"V3N3", Input(3, 3, false), 510, 330},
                                         SizeCase{"V6N1", Input(6, 1, true), 430, 190},
                                         SizeCase{"V6N2", Input(6, 2, false), 440, 260},
                                         SizeCase{"V6N3", Input(6, 3, false), 510, 208},
                                         SizeCase{"V4None", Input(4, 1, false), 440, 0}),
                         [](const testing::TestParamInfo<SizeCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(QGEndSizesTest, FiveConductorsAndTheHeightCap) {
  CQGEndInput in = Input(3, 2, false);
  in.neutralCount = 5;
  EXPECT_EQ(QGEndSizes(in).height, 150);
  in = Input(3, 3, false);
  in.barValue = 200;
  in.referenceSecond = 380;
  EXPECT_EQ(QGEndSizes(in).height, 480);
}

}  // namespace
