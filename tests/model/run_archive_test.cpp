#include "run_test_support.h"

#include "support/golden_file.h"

namespace {

class RunArchiveTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
  }

  std::unique_ptr<CRun> NewRun() {
    auto run = std::make_unique<CRun>(&m_document);
    run->AttachRangeTables(m_tables);
    return run;
  }

  static std::vector<std::uint8_t> Write(const CRun& run) {
    CArchiveWriter writer;
    run.Serialize(writer);
    return writer.TakeBytes();
  }

  CFakeRunDocument m_document;
  CRangeTables m_tables;
};

TEST_F(RunArchiveTest, FlagsTravelInTwoBytes) {
  auto run = NewRun();
  run->SetChangedFlag(1);
  run->SetFlagsWord(0x301);
  run->SetRotationFlag(64);
  run->SetPartsState(2);
  const std::vector<std::uint8_t> bytes = Write(*run);
  CArchiveReader reader(bytes);
  CObjWithProp props;
  props.Serialize(reader);
  EXPECT_EQ(reader.ReadString(), "A");
  EXPECT_EQ(reader.ReadString(), "");
  EXPECT_EQ(reader.ReadString(), "");
  EXPECT_EQ(reader.ReadByte(), 0x31);
  EXPECT_EQ(reader.ReadWord(), 64);
  EXPECT_EQ(reader.ReadByte(), 2);
  EXPECT_EQ(reader.ReadByte(), 0x01);
  EXPECT_EQ(reader.ReadDword(), 0u);  // no length records
  EXPECT_EQ(reader.ReadByte(), 0);    // no start element
  EXPECT_EQ(reader.ReadDword(), 0u);  // no accessories
  CArchiveWriter bom;
  run->GetBOM().Serialize(bom);
  bom.WriteDword(0);  // annotations
  const std::vector<std::uint8_t> tail(
      bytes.begin() + static_cast<std::ptrdiff_t>(reader.Position()), bytes.end());
  EXPECT_EQ(tail, bom.Bytes());
  auto copy = NewRun();
  CArchiveReader again(bytes);
  copy->Serialize(again);
  EXPECT_EQ(Write(*copy), bytes);
}

TEST_F(RunArchiveTest, PinnedHeadOfASmallRun) {
  auto run = NewRun();
  run->SetProp("Comment", "c");
  run->SetProp("Calibre", "63");
  run->SetFlagsWord(1);
  run->SetChangedFlag(0);
  const std::vector<std::uint8_t> bytes = Write(*run);
  const std::vector<std::uint8_t> head = ReadGoldenBytes("model/run_head.hex");
  ASSERT_GE(bytes.size(), head.size());
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(head.size())),
            head);
}

TEST_F(RunArchiveTest, UnplacedRunCarriesItsMarkerBeforeTheLengthRecords) {
  auto run = NewRun();
  run->SetFlagsWord(0);
  CDev* marker = run->NewElement();
  marker->SetKind(CDev::kEnd);
  marker->SetPosition(C3DPoint(100, 200, 0));
  run->SetStartMarker(marker);
  const std::vector<std::uint8_t> bytes = Write(*run);
  auto copy = NewRun();
  CArchiveReader reader(bytes);
  copy->Serialize(reader);
  EXPECT_TRUE(reader.AtEnd());
  ASSERT_NE(copy->GetStartMarker(), nullptr);
  EXPECT_EQ(copy->GetStartMarker()->GetPosition(), C3DPoint(100, 200, 0));
  EXPECT_EQ(copy->GetFirstElement(), nullptr);
  // Once placed, the record carries no marker.
  copy->SetStartMarker(nullptr);
  copy->SetFlagsWord(1);
  EXPECT_EQ(Write(*copy).size(), Write(*NewRun()).size());
}

TEST_F(RunArchiveTest, RunRoundTripKeepsFieldsPropertiesLinksAndBoxes) {
  auto run = NewRun();
  run->SetProp("Comment", "line 1");
  run->SetProp("Calibre", "63");
  run->SetProp("Neutral", "5");
  CChainBuilder builder(*run);
  CDev* start = builder.Start(4);
  start->MakeBox(CBoxOwner::kBodySlot)->SetPlacement(C3DPoint(0, 0, 0), 100, 304, 204);
  CDev* a = builder.Add(start, 4, CDev::kStraight, 3000, "S-A");
  a->SetPosition(C3DPoint(3000, 0, 0));
  a->SetPropValue("HBv2_Std_Cost", "1200");
  a->MakeBox(0)->SetPlacement(C3DPoint(10, 0, 0), 4, 300, 200);
  CDev* elbow = builder.Add(a, 4, CDev::kElbow, 500);
  elbow->SetPropValue("ELBOW_ANGL", "45");
  CDev* branch = builder.Add(elbow, 5, CDev::kStraight, 800, "S-B");
  branch->SetRotation(elbow->GetEffectiveSideRotation(5));
  run->SetCurrentElement(branch);
  run->AddLengthToBOM("63", 3800, 0);
  builder.Loose(CDev::kAccessory, "ACC");
  builder.Loose(CDev::kTapOff, "TAP", a);

  const std::vector<std::uint8_t> bytes = Write(*run);
  auto copy = NewRun();
  CArchiveReader reader(bytes);
  copy->Serialize(reader);
  EXPECT_TRUE(reader.AtEnd());

  EXPECT_EQ(copy->GetPropText("Comment"), "line 1");
  EXPECT_EQ(copy->GetPropText("Neutral"), "5");
  // Field by field the elements are compared through their bytes below; here, that every
  // link read back has its partner pointing home.
  const std::vector<CDev*> loaded = WalkRun(*copy);
  ASSERT_EQ(loaded.size(), WalkRun(*run).size());
  for (const CDev* element : loaded) {
    for (int face = 0; face < CDev::kFaceCount; ++face) {
      const CDev* neighbour = element->GetNeighbour(face);
      if (neighbour != nullptr) {
        EXPECT_EQ(neighbour->GetNeighbour(CBoxOwner::OppositeDirection(face)), element);
      }
    }
  }
  EXPECT_EQ(copy->GetCurrentElement()->GetReference(), "S-B");
  EXPECT_EQ(loaded[1]->GetPropValue("HBv2_Std_Cost"), "1200");
  ASSERT_EQ(copy->GetLengthRecords().size(), 1u);
  EXPECT_EQ(copy->GetLengthRecords()[0]->GetReference(), "STR-0 - 3m 80cm ");
  const CDev* loadedUnit = copy->GetDevices().back();
  EXPECT_EQ(loadedUnit->GetKind(), CDev::kTapOff);
  EXPECT_EQ(loadedUnit->GetAttached(), loaded[1]);
  EXPECT_EQ(LineQuantity(*copy, "ACC"), 1);
  // Written again, the run gives the same bytes up to its bill of materials, whose record
  // is the grid's own.
  CArchiveWriter bom;
  run->GetBOM().Serialize(bom);
  const std::size_t elementBytes = bytes.size() - bom.Bytes().size() - 4;
  const std::vector<std::uint8_t> again = Write(*copy);
  ASSERT_GE(again.size(), elementBytes);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(elementBytes),
                         again.begin()));
}

TEST_F(RunArchiveTest, DamagedRunRecordsAreRefused) {
  auto run = NewRun();
  CChainBuilder(*run).Start(4);
  const std::vector<std::uint8_t> good = Write(*run);
  for (std::size_t size = 0; size < good.size(); ++size) {
    auto copy = NewRun();
    CArchiveReader reader(good.data(), size);
    EXPECT_THROW(copy->Serialize(reader), CArchiveError) << "cut at " << size;
  }
  CArchiveReader reader(good);
  CObjWithProp().Serialize(reader);
  for (int i = 0; i < 3; ++i) reader.ReadString();
  const std::size_t flagsAt = reader.Position();
  const struct {
    const char* fault;
    std::size_t at;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"rotation 17", flagsAt + 1, {0x11, 0x00}},
      {"parts state 3", flagsAt + 3, {0x03}},
      {"a huge length-record count", flagsAt + 5, {0xFF, 0xFF, 0xFF, 0x7F}},
      {"start flag 2", flagsAt + 9, {0x02}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(c.at));
    auto copy = NewRun();
    CArchiveReader damaged(bytes);
    EXPECT_THROW(copy->Serialize(damaged), CArchiveError) << c.fault;
  }
}

}  // namespace
