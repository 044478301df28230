#include "model/bom/bom_grid.h"
#include "qg_listing.h"
#include "qg_test_support.h"
#include "ranges/qg/part_builder_qg.h"

namespace {

// A riser kit between two joints (the one ahead 600 mm long) takes the length code of
// the stretch they span; outside 300..3000 mm it keeps no part of its own.
TEST_F(QGRunTest, RiserKitsBetweenJointsTakeTheirLengthCode) {
  struct Row {
    std::int32_t kitLength;
    const char* name;
  };
  const Row rows[] = {
      {400, "QGA1000RU410"}, {401, "QGA1000RU415"}, {2400, "QGA1000RU430"}, {2401, ""}, {-700, ""}};
  for (const Row& row : rows) {
    CRunQG& run = MakeRun("A", "10", "3");
    CPartBuilderQG builder(run);
    CDev behind = MakeStraight(CDev::kJoint, 0, 0), kit = MakeStraight(CDev::kInLine, 1, 0),
         ahead = MakeStraight(CDev::kJoint, 0, 0);
    kit.SetDirection(4);
    kit.SetBookedLength(row.kitLength);
    ahead.SetBookedLength(600);
    kit.SetNeighbour(0, &behind);
    kit.SetNeighbour(4, &ahead);
    kit.SetReference(Padded("QGA10RU4CF"));
    kit.SetBooked(1);
    builder.FinishPart(kit, 1);
    const std::string expected = *row.name != '\0' ? std::string(row.name) : run.GetKindText(7, 1);
    EXPECT_TRUE(kit.GetReference().starts_with(expected))
        << row.kitLength << " " << kit.GetReference();
    if (*row.name != '\0') {
      EXPECT_TRUE(kit.GetReference().ends_with("x=" + std::to_string(row.kitLength + 600)))
          << kit.GetReference();
    }
    EXPECT_EQ(kit.GetBooked(), *row.name != '\0' ? 1 : 0) << row.kitLength;
    EXPECT_EQ(kit.GetVariant(), 0);
    kit.SetNeighbour(0, nullptr);
    kit.SetNeighbour(4, nullptr);
  }
}

// A made-to-measure "C" elbow whose two legs fit the shorter "B" part becomes that part:
// their sum within the first number of its sixth list (900) and each within its first
// list (300 to 600).
TEST_F(QGRunTest, CElbowsWhoseLegsFitTheBPartBecomeIt) {
  struct Row {
    const char* legs;
    char variant;
  };
  const Row rows[] = {{"x=400,y=500", 'B'},
                      {"x=300,y=600", 'B'},
                      {"x=400,y=600", 'C'},
                      {"x=200,y=500", 'C'},
                      {"x=400", 'C'},
                      {"y=400,x=400", 'B'},
                      {"x=99999999999999999999,y=400", 'C'}};
  for (const Row& row : rows) {
    CRunQG& run = MakeRun("A", "10", "3");
    CPartBuilderQG builder(run);
    CDev elbow = MakeStraight(CDev::kElbow, 0, 0);
    elbow.SetReference(Padded("QGA10LP4C") + row.legs);
    elbow.SetBooked(1);
    builder.FinishPart(elbow, 1);
    EXPECT_EQ(elbow.GetReference().substr(0, 11), std::string("QGA1000LP4") + row.variant)
        << row.legs << " " << elbow.GetReference();
  }
}

// Hostile clip texts give no clip, or clips in bounded counts; a clip choice of 9 on a
// 100 mm bar gives two clips a conductor and four end clips.
TEST_F(QGRunTest, ClipTextsAreReadWithinBounds) {
  struct Row {
    const char* clinq;
    int clips;
    int endClips;
  };
  const Row rows[] = {
      {"9/100/1", 8, 4},
      {"9/100/0", 8, 0},
      {"6/100/1", 0, 0},
      {"9/99999999999999999999/99999999999999999999/0", 8, 4},
      {"9/2000000000/2000000000/2000000000", 0, 0},
      {"9/100/1:c=-99999999999,d=0,f=2147483647", 8, 4},
      {"garbage", 0, 0},
      {"", 0, 0},
  };
  for (const Row& row : rows) {
    CRunQG& run = MakeRun("A", "10", "4");
    CPartBuilderQG builder(run);
    CDev shape = MakeStraight(CDev::kEnd, 2, 2, "200/200/200");
    shape.SetPropValue("CLINQ", row.clinq);
    shape.SetReference(Padded("QGA10TP431"));
    shape.SetBooked(1);
    builder.FinishPart(shape, 1);
    const CBOMGrid& bom = run.GetBOM();
    std::int64_t clips = 0, endClips = 0;
    const std::string clip = run.GetElementRef(231), end = run.GetElementRef(41);
    for (int line = 1; line < bom.GetLineCount(); ++line) {
      const std::string& reference = bom.GetLine(line)->reference;
      if (reference.starts_with(clip)) clips += bom.GetLineQuantity(line);
      if (reference.starts_with(end)) endClips += bom.GetLineQuantity(line);
    }
    EXPECT_EQ(clips, row.clips) << row.clinq;
    EXPECT_EQ(endClips, row.endClips) << row.clinq;
  }
}

}  // namespace

namespace {

// Mounted parts and wall pieces whose ordering form names a flat family take the "F"
// housing of their rating (QGA 1000 A: 170 x 170): a wall piece itself, 40 smaller each
// way, a mounted part from the joint behind it on. Other families and unmounted parts
// keep their offsets.
TEST_F(QGRunTest, FlatHousingsFollowTheFHousingOfTheirRating) {
  struct Row {
    int kind;
    int variant;
    const char* name;
    bool wallBehind;
    std::int32_t fitted;  // 0: offsets unchanged
  };
  const Row rows[] = {
      {CDev::kInLineVariant, 15, "QGA10FT4A", false, 130},
      {CDev::kInLineVariant, 15, "QGA10RU4CF", false, 130},
      {CDev::kInLineVariant, 15, "QGA10ED430", false, 0},
      {CDev::kElbow, 0, "QGA10FC4A", true, 170},
      {CDev::kElbow, 0, "QGA10FC4A", false, 0},
      {CDev::kElbow, 0, "QGA10LC4A", true, 0},
  };
  for (const Row& row : rows) {
    CRunQG& run = MakeRun("A", "10", "4");
    CPartBuilderQG builder(run);
    CDev element = MakeStraight(row.kind, row.variant, 0);
    CDev joint = MakeStraight(CDev::kJoint, 0, 0);
    CDev wall = MakeStraight(CDev::kInLineVariant, 15, 0);
    for (CDev* each : {&element, &joint, &wall}) each->SetDirection(4);
    element.SetActive(1);
    element.SetReference(Padded(row.name));
    const bool wallPiece = row.kind == CDev::kInLineVariant;
    if (!wallPiece) element.SetNeighbour(0, &joint);
    if (row.wallBehind) joint.SetNeighbour(0, &wall);
    CDev& start = wallPiece ? element : joint;
    const std::array<std::int32_t, 3> before = start.GetFrontOffsets();
    builder.FinishPart(element, 2);
    CDev expected = MakeStraight(start.GetKind(), 0, 0);
    expected.SetDirection(4);
    if (row.fitted != 0) expected.SetConnectionOffsets(row.fitted, row.fitted);
    EXPECT_EQ(start.GetFrontOffsets(), row.fitted != 0 ? expected.GetFrontOffsets() : before)
        << row.name << " " << row.wallBehind;
    element.SetNeighbour(0, nullptr);
    joint.SetNeighbour(0, nullptr);
  }
}

}  // namespace

namespace {

// Clips on 200 mm bars (QGC 1600 A, 270 high: "BARS" picks the 200 x 10 bar) split in
// two: the clips whose positions fit the span of 100 carry the suffix for half of the
// count, the other half is booked plain. Three clips a conductor (1600 / 500 x 5/7,
// rounded up), four conductors: 6 and 6, code 231; end clips for two clips (5 x 2 + 10 +
// 20 = 40: code 41), twice the conductors.
TEST_F(QGRunTest, ClipsOnMidWidthBarsAreBookedInTwoBatches) {
  CRunQG& run = MakeRun("C", "16", "4");
  run.SetProp("INDEXGRP", "0");
  CPartBuilderQG builder(run);
  CDev element = MakeStraight(CDev::kEnd, 3, 1, "", "", &run);
  element.SetReference(Padded("QGC16EF44"));
  element.SetPropValue("BARS", "150/200");
  element.SetPropValue("CLINQ", "9/100/1/0:c=10,d=20,f=3");
  builder.FinishPart(element, 2);
  const std::string listing = QGBillListing(run);
  const std::string clip = run.GetElementRef(231);
  EXPECT_NE(listing.find(clip + "l=100,c=10,d=20,f=3 x6"), std::string::npos) << listing;
  EXPECT_NE(listing.find(clip + "l=100 x6"), std::string::npos) << listing;
  EXPECT_NE(listing.find(run.GetElementRef(41) + " x8"), std::string::npos) << listing;
  EXPECT_EQ(element.GetPropValue("POS2"), "02" + clip + "l=100,c=10,d=20,f=3");
  // Without a suffix that fits, the whole count goes in one batch.
  CRunQG& plain = MakeRun("C", "16", "4");
  plain.SetProp("INDEXGRP", "0");
  CPartBuilderQG second(plain);
  CDev wide = MakeStraight(CDev::kEnd, 3, 1, "", "", &plain);
  wide.SetReference(Padded("QGC16EF44"));
  wide.SetPropValue("BARS", "150/200");
  wide.SetPropValue("CLINQ", "9/100/1/0:c=110,d=20,f=3");
  second.FinishPart(wide, 2);
  EXPECT_NE(QGBillListing(plain).find(plain.GetElementRef(231) + "l=100 x12"), std::string::npos)
      << QGBillListing(plain);
}

}  // namespace
