#include "model/run/run_test_support.h"

#include "support/archive_bytes.h"
#include "support/golden_file.h"

namespace {

class DevArchiveTest : public RunTestBase {
 protected:
  static std::vector<std::uint8_t> StraightRecord() {
    return ReadGoldenBytes("model/straight_element.hex");
  }
  static CDev MakeStraight() {
    CDev element;
    element.SetKind(CDev::kStraight);
    element.SetStyle(0x102);
    element.SetStyle2(0x102);
    element.SetReference("R");
    element.SetActive(1);
    element.SetEdited();
    element.SetBookedLength(1000);
    element.SetDrawnLength(1000);
    element.SetCalibre("63");
    element.SetCalibreSuffix(7);
    element.SetPosition(C3DPoint(1.9, 2, 3));
    element.SetDirection(4);
    return element;
  }

  // A new element of the run, read from the whole of the bytes.
  static CDev* ReadInto(CRun& run, const std::vector<std::uint8_t>& bytes) {
    return &ReadBytes(*run.NewElement(), bytes);
  }
};

TEST_F(DevArchiveTest, PinnedRecordOfASmallElement) {
  EXPECT_EQ(WrittenBytes(MakeStraight()), StraightRecord());
  CDev loaded;
  ReadBytes(loaded, StraightRecord());
  EXPECT_EQ(loaded.GetVariant(), 2);
  EXPECT_EQ(loaded.GetVariantIndex(), 1);
  EXPECT_EQ(WrittenBytes(loaded), StraightRecord());
}

TEST_F(DevArchiveTest, OnlyTheFirstEightBoxesAreStored) {
  CDev element = MakeStraight();
  element.MakeBox(CBoxOwner::kBodySlot)->SetPlacement(C3DPoint(5, 6, 7), 10, 20, 30);
  element.MakeBox(12)->SetPlacement(C3DPoint(1, 1, 1), 1, 1, 1);
  const std::vector<std::uint8_t> bytes = WrittenBytes(element);
  EXPECT_EQ(bytes.size(), StraightRecord().size() + CBox::kRecordSize);
  CDev loaded;
  ReadBytes(loaded, bytes);
  ASSERT_NE(loaded.GetBox(CBoxOwner::kBodySlot), nullptr);
  EXPECT_EQ(loaded.GetBox(CBoxOwner::kBodySlot)->GetOrigin(), C3DPoint(5, 6, 7));
  EXPECT_EQ(loaded.GetBox(CBoxOwner::kBodySlot)->GetOwner(), &loaded);
  EXPECT_EQ(loaded.GetBox(12), nullptr);
}

TEST_F(DevArchiveTest, LargeVariantsTravelAsStyleProperty) {
  CDev element = MakeStraight();
  element.SetKind(CDev::kInLineVariant);
  element.SetStyle(0x119);
  element.SetStyle2(0x119);
  const std::vector<std::uint8_t> bytes = WrittenBytes(element);
  EXPECT_FALSE(element.HasProp("STYLE"));
  CArchiveReader peek(bytes);
  EXPECT_EQ(peek.ReadWord(), 1);  // one property
  EXPECT_EQ(peek.ReadString(), "STYLE");
  EXPECT_EQ(peek.ReadString(), "25");
  EXPECT_EQ(peek.ReadWord(), CDev::kInLineVariant);
  EXPECT_EQ(peek.ReadDword(), 0x100u);
  CDev loaded;
  ReadBytes(loaded, bytes);
  EXPECT_EQ(loaded.GetVariant(), 25);
  EXPECT_EQ(loaded.GetStyle2() & 0xFFu, 25u);
  EXPECT_FALSE(loaded.HasProp("STYLE"));
}

TEST_F(DevArchiveTest, EightBitTextsOfOldFilesAreRead) {
  std::vector<std::uint8_t> bytes = StraightRecord();
  // The reference "R" in the 8-bit form: the count and one CP1252 byte.
  const std::vector<std::uint8_t> wide = HexBytes("FFFEFF015200");
  const auto at = std::search(bytes.begin(), bytes.end(), wide.begin(), wide.end());
  ASSERT_NE(at, bytes.end());
  const std::vector<std::uint8_t> narrow = HexBytes("01E9");
  bytes.erase(at, at + static_cast<std::ptrdiff_t>(wide.size()));
  bytes.insert(at, narrow.begin(), narrow.end());
  CDev loaded;
  ReadBytes(loaded, bytes);
  EXPECT_EQ(loaded.GetReference(), "\xC3\xA9");  // é
}

TEST_F(DevArchiveTest, GenericReferenceTravelsAsMarker) {
  CRangeTables tables = MakeTestTables();
  CRun run;
  run.AttachRangeTables(tables);
  CDev* element = run.NewElement();
  element->SetKind(CDev::kElbow);
  element->SetReference("ELB-0");
  const std::vector<std::uint8_t> bytes = WrittenBytes(*element);
  CArchiveReader peek(bytes);
  peek.ReadWord();
  peek.ReadWord();
  peek.ReadDword();
  peek.ReadDword();
  EXPECT_EQ(peek.ReadString(), CDev::kGenericRef);
  tables.codes[4].texts[2] = "ELB-NEW";  // the loading run's range has another text
  EXPECT_EQ(ReadInto(run, bytes)->GetReference(), "ELB-NEW");
}

// Each row damages one item of the pinned record and names the fault it guards.
TEST_F(DevArchiveTest, DamagedRecordsAreRefused) {
  const std::vector<std::uint8_t> good = StraightRecord();
  const std::size_t kindAt = 2;
  const std::size_t directionAt = 2 + 2 + 8 + 6 + 3 + 4 + 12 + 12 + 12;
  const std::size_t rotationAt = directionAt + 2;
  const std::size_t firstFaceAt = rotationAt + 2 + 24 + 8;
  const struct {
    const char* fault;
    std::size_t at;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"kind 15", kindAt, {0x0F, 0x00}},
      {"negative kind", kindAt, {0xFF, 0xFF}},
      {"direction 6", directionAt, {0x06, 0x00}},
      {"rotation 17", rotationAt, {0x11, 0x00}},
      {"rotation 0", rotationAt, {0x00, 0x00}},
      {"link at the back face", firstFaceAt, {0x01, 0x01}},
      {"link without an owner run", firstFaceAt + 8, {0x01, 0x01}},
      {"annotations without a document", good.size() - 4, {0x01}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(c.at));
    CDev loaded;
    EXPECT_THROW(ReadBytes(loaded, bytes), CArchiveError) << c.fault;
  }
  for (std::size_t size = 0; size < good.size(); ++size) {
    CDev loaded;
    CArchiveReader reader(good.data(), size);
    EXPECT_THROW(loaded.Serialize(reader), CArchiveError) << "cut at " << size;
  }
}

TEST_F(DevArchiveTest, TapOffIndexOutOfTheDeviceListIsRefused) {
  CDev element = MakeStraight();
  element.SetKind(CDev::kTapOff);
  const std::vector<std::uint8_t> none = WrittenBytes(element);  // attached to nothing: -1
  CRun run;
  EXPECT_EQ(ReadInto(run, none)->GetAttached(), nullptr);
  std::vector<std::uint8_t> bad = none;
  ASSERT_GE(bad.size(), 12u);
  for (std::size_t i = 8; i < 12; ++i) bad.at(i) = 0;  // index 0: the run has no device yet
  EXPECT_THROW(ReadInto(run, bad), CArchiveError);
}

TEST_F(DevArchiveTest, ANeighbourNotPointingAwayFromItsFaceIsRefused) {
  CRun run;
  CChainBuilder builder(run);
  CDev* start = builder.Start(4);
  CDev* next = builder.Add(start, 4, CDev::kStraight, 100);
  next->SetDirection(2);  // damaged in memory: linked at face 4, pointing along 2
  next->SetNeighbour(3, start);
  CRun other;
  EXPECT_THROW(ReadInto(other, WrittenBytes(*start)), CArchiveError);
}

// A chain nested as deep as the run is long is read and written without recursion.
TEST_F(DevArchiveTest, DeepNestingDoesNotExhaustTheStack) {
  constexpr int kDepth = 100000;
  CRun run;
  CChainBuilder builder(run);
  CDev* start = builder.Start(4);
  CDev* last = start;
  for (int i = 0; i < kDepth; ++i) last = builder.Add(last, 4, CDev::kStraight, 4);
  std::vector<std::uint8_t> bytes = WrittenBytes(*start);
  CRun copy;
  ReadInto(copy, bytes);
  EXPECT_EQ(copy.GetDevices().size(), static_cast<std::size_t>(kDepth));
  bytes.resize(bytes.size() / 2);
  CRun damaged;
  EXPECT_THROW(ReadInto(damaged, bytes), CArchiveError);
}

}  // namespace
