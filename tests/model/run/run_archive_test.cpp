// A run read back is the run that was written: its pinned head and flags, every field,
// link and box, no records gained, every tap-off unit on the element it was attached to,
// and what the writer cannot write back refused.

#include "model/run/run_test_support.h"

#include "support/golden_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
class RunArchiveTest : public RunRecordTestBase {
 protected:
  // A run record around the given start element and devices, as no writer of ours makes.
  Bytes Compose(const CDev* start, const std::vector<const CDev*>& extra) {
    CArchiveWriter writer;
    writer.WriteWord(0);  // no properties
    for (const char* text : {"A", "", ""}) writer.WriteString(text);
    for (std::uint8_t byte : {0, 0, 0, 0, 1}) writer.WriteByte(byte);  // flags, rotation, parts
    writer.WriteDword(0);                                              // no length records
    writer.WriteByte(start != nullptr ? 1 : 0);
    if (start != nullptr) start->Serialize(writer);
    writer.WriteDword(static_cast<std::uint32_t>(extra.size()));
    for (const CDev* device : extra) device->Serialize(writer);
    NewRun()->GetBOM().Serialize(writer);
    writer.WriteDword(0);  // annotations
    return writer.TakeBytes();
  }
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
  EXPECT_EQ(Write(*Read(bytes)), bytes);
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
  auto copy = Read(Write(*run));
  ASSERT_NE(copy->GetStartMarker(), nullptr);
  EXPECT_EQ(copy->GetStartMarker()->GetPosition(), C3DPoint(100, 200, 0));
  EXPECT_EQ(copy->GetFirstElement(), nullptr);
  // Once placed, the record carries no marker.
  copy->SetStartMarker(nullptr);
  copy->SetFlagsWord(1);
  EXPECT_EQ(Write(*copy).size(), Write(*NewRun()).size());
}

// The golden run: properties, a start with its box, a straight "S-A" (with a standard cost
// and a box), an elbow and a branch "S-B" (the current element), a length record, an
// accessory and a tap-off unit on "S-A".
TEST_F(RunArchiveTest, RunRoundTripKeepsFieldsPropertiesLinksAndBoxes) {
  const std::vector<std::uint8_t> bytes = ReadGoldenBytes("model/run_fields_links_boxes.bin");
  auto copy = Read(bytes);
  EXPECT_EQ(copy->GetPropText("Comment"), "line 1");
  EXPECT_EQ(copy->GetPropText("Neutral"), "5");
  // Field by field the elements are compared through their bytes below; here, that every
  // link read back has its partner pointing home.
  const std::vector<CDev*> loaded = WalkRun(*copy);
  ASSERT_EQ(loaded.size(), 4u);
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
  EXPECT_EQ(loaded[1]->GetBox(0)->GetOrigin(), C3DPoint(10, 0, 0));
  ASSERT_EQ(copy->GetLengthRecords().size(), 1u);
  EXPECT_EQ(copy->GetLengthRecords()[0]->GetReference(), "STR-0 - 3m 80cm ");
  const CDev* loadedUnit = copy->GetDevices().back();
  EXPECT_EQ(loadedUnit->GetKind(), CDev::kTapOff);
  EXPECT_EQ(loadedUnit->GetAttached(), loaded[1]);
  EXPECT_EQ(LineQuantity(*copy, "ACC"), 1);
  // Written again, the run gives the same bytes up to its bill of materials, whose record
  // is the grid's own.
  const std::size_t elementBytes = bytes.size() - WrittenBytes(copy->GetBOM()).size() - 4;
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

// Loading once booked quantities that the records did not hold, and the grid's call back
// added a manual record for the difference at every save and reload.
TEST_F(RunArchiveTest, SavingAndReloadingGainsNoRecordsAndNoQuantity) {
  const struct {
    const char* what;
    const char* reference;
    void (*build)(CRun&);
  } cases[] = {
      {"an active accessory of quantity 3", "ACC-3",
       [](CRun& run) {
         CDev* accessory = CChainBuilder(run).Loose(CDev::kAccessory, "ACC-3");
         accessory->SetStyle2(3);
         run.GetBOM().AddHeldQuantity("ACC-3", 3);
       }},
      {"an inactive elbow", "ELB-X",
       [](CRun& run) {
         CChainBuilder builder(run);
         builder
             .Add(builder.Add(builder.Start(4), 4, CDev::kStraight, 1000, "S-1"), 4, CDev::kElbow,
                  0, "ELB-X")
             ->SetActive(0);
       }},
      {"an element whose booked flag is 0", "S-NB",
       [](CRun& run) {
         CDev* start = CChainBuilder(run).Start(4);
         CDev* straight = run.NewElement();
         straight->SetActive(1);
         straight->SetBooked(0);
         straight->SetDirection(4);
         straight->SetReference("S-NB");
         straight->SetNeighbour(0, start);
         start->SetNeighbour(4, straight);
         run.AddDevice(straight);
       }},
      {"a quantity typed above the elements' count", "S-A",
       [](CRun& run) {
         CChainBuilder builder(run);
         builder.Add(builder.Start(4), 4, CDev::kStraight, 1000, "S-A");
         run.GetBOM().AddRefQuantity("S-A", 4);
       }},
      {"a length record", "STR-0 - 3m ",
       [](CRun& run) {
         CChainBuilder(run).Start(4);
         run.AddLengthToBOM("", 3000, 0);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto run = NewRun();
    c.build(*run);
    const std::int64_t quantity = LineQuantity(*run, c.reference);
    const Bytes first = Write(*run);
    auto once = Read(first);
    const Bytes second = Write(*once);
    auto twice = Read(second);
    EXPECT_EQ(twice->GetDevices().size(), run->GetDevices().size());
    EXPECT_EQ(LineQuantity(*once, c.reference), quantity);
    EXPECT_EQ(LineQuantity(*twice, c.reference), quantity);
    EXPECT_EQ(second, first);
    EXPECT_EQ(Write(*twice), second);
  }
}

// A unit's link was written as a position in chain order but read as a position in the
// device list, so units came back attached to other elements.
TEST_F(RunArchiveTest, TapOffUnitsComeBackOnTheElementsTheyWereAttachedTo) {
  auto run = NewRun();
  CChainBuilder builder(*run);
  CDev* start = builder.Start(4);
  CDev* a = builder.Add(start, 4, CDev::kStraight, 1000, "S-A");
  CDev* b = builder.Add(a, 4, CDev::kElbow, 500, "ELB-B");
  b->SetActive(0);  // loading once added a record for it inside the chain
  CDev* c = builder.Add(b, 5, CDev::kStraight, 800, "S-C");
  run->AddLengthToBOM("", 1800, 0);
  CDev* accessory = builder.Loose(CDev::kAccessory, "ACC");
  accessory->SetStyle2(3);
  run->GetBOM().AddHeldQuantity("ACC", 3);
  builder.Loose(CDev::kTapOff, "TAP-1", start);
  const std::vector<CDev*> targets = {start, a, b, c, accessory, nullptr};
  for (std::size_t i = 1; i < targets.size(); ++i)
    builder.Loose(CDev::kTapOff, "TAP-" + std::to_string(i + 1), targets[i]);
  const auto chainIndexes = [](const CRun& run) {
    std::vector<int> indexes;
    const std::vector<CDev*> order = run.GetChainOrder();
    for (const CDev* device : run.GetDevices()) {
      if (device->GetKind() != CDev::kTapOff) continue;
      const auto at = std::find(order.begin(), order.end(), device->GetAttached());
      indexes.push_back(device->GetAttached() == nullptr ? -1
                                                         : static_cast<int>(at - order.begin()));
    }
    return indexes;
  };
  const Bytes bytes = Write(*run);
  auto once = Read(bytes);
  EXPECT_EQ(chainIndexes(*once), chainIndexes(*run));
  EXPECT_EQ(once->GetDevices().size(), run->GetDevices().size());
  EXPECT_EQ(Write(*once), bytes);
}

// A unit's stored index named any element of the run's order, units included, so a unit
// could load hanging on itself or on another unit.
TEST_F(RunArchiveTest, AUnitAttachedToItselfOrToAnotherUnitIsRefused) {
  const struct {
    const char* fault;
    bool toItself;
    bool toAnotherUnit;
  } cases[] = {{"attached to the chain's straight, as written", false, false},
               {"attached to itself", true, false},
               {"attached to another unit", false, true}};
  for (const auto& c : cases) {
    auto run = NewRun();
    CChainBuilder builder(*run);
    CDev* straight = builder.Add(builder.Start(4), 4, CDev::kStraight, 1000, "S-A");
    CDev* first = builder.Loose(CDev::kTapOff, "TAP-1", straight);
    CDev* second = builder.Loose(CDev::kTapOff, "TAP-2", straight);
    if (c.toItself) second->SetAttached(second);
    if (c.toAnotherUnit) second->SetAttached(first);
    const Bytes bytes = Write(*run);
    auto copy = NewRun();
    CArchiveReader reader(bytes);
    if (c.toItself || c.toAnotherUnit) {
      EXPECT_THROW(copy->Serialize(reader), CArchiveError) << c.fault;
      continue;
    }
    ASSERT_NO_THROW(copy->Serialize(reader)) << c.fault;
    for (const CDev* device : copy->GetDevices()) {
      if (device->GetKind() != CDev::kTapOff) continue;
      EXPECT_EQ(device->GetAttached()->GetReference(), "S-A");
    }
  }
}

// What the writer cannot write back would vanish or change at the next save.
TEST_F(RunArchiveTest, RecordsTheWriterCannotWriteBackAreRefused) {
  auto holder = NewRun();
  CChainBuilder builder(*holder);
  const auto element = [&holder](int kind, int active) {
    CDev* device = holder->NewElement();
    device->SetKind(kind);
    device->SetActive(active);
    device->SetReference("X");
    return device;
  };
  CDev* start = builder.Start(4);
  CDev* straight = element(CDev::kStraight, 1);
  builder.Add(builder.Add(straight, 4, CDev::kStraight, 100), 4, CDev::kStraight, 100);
  // Our writer nests no unit in the chain; the unit's kind is put in by hand below.
  CDev* chainWithUnit = builder.Start(4);
  builder.Add(chainWithUnit, 4, CDev::kStraight, 0)->SetPropValue("MARK", "unit");
  CDev* accessoryWithNeighbour = element(CDev::kAccessory, 1);
  builder.Add(accessoryWithNeighbour, 4, CDev::kStraight, 100);
  // A unit attached to the start of a longer chain than the record will hold.
  auto longer = NewRun();
  CChainBuilder longBuilder(*longer);
  CDev* far = longBuilder.Start(4);
  for (CDev* last = far; last != nullptr && longer->GetDevices().size() < 8;)
    last = longBuilder.Add(last, 4, CDev::kStraight, 100);
  const CDev* unit = longBuilder.Loose(CDev::kTapOff, "TAP", far);
  const struct {
    const char* fault;
    const CDev* start;
    std::vector<const CDev*> extra;
    bool refused;
  } cases[] = {
      {"a start element and an accessory, as written",
       start,
       {element(CDev::kAccessory, 1)},
       false},
      {"a start element of kind 1 with its two devices", straight, {}, true},
      {"a start element of kind 13", element(CDev::kAccessory, 1), {}, true},
      {"an inactive start element", element(CDev::kEnd, 0), {}, true},
      {"an extra device of kind 8", start, {element(CDev::kInLineVariant, 1)}, true},
      {"a tap-off unit inside the chain", chainWithUnit, {}, true},
      {"an accessory with a neighbour", start, {accessoryWithNeighbour}, true},
      {"a unit attached past the chain order", start, {unit}, true},
  };
  for (const auto& c : cases) {
    Bytes bytes = Compose(c.start, c.extra);
    if (c.start == chainWithUnit) {
      CObjWithProp mark;
      mark.SetPropValue("MARK", "unit");
      CArchiveWriter marked;
      mark.Serialize(marked);
      const auto at =
          std::search(bytes.begin(), bytes.end(), marked.Bytes().begin(), marked.Bytes().end());
      ASSERT_NE(at, bytes.end());
      *(at + static_cast<std::ptrdiff_t>(marked.Bytes().size())) =
          CDev::kTapOff;  // the kind follows the list
    }
    auto run = NewRun();
    CArchiveReader reader(bytes);
    if (c.refused) {
      EXPECT_THROW(run->Serialize(reader), CArchiveError) << c.fault;
    } else {
      EXPECT_NO_THROW(run->Serialize(reader)) << c.fault;
    }
  }
}

// The elements a run reads are filed as its own all at once: every element read is owned by
// the run that read it and no other, and a move to another run, a delete, a move back and
// new elements after the reading are answered as for elements made one by one.
TEST_F(RunArchiveTest, OwnershipOfElementsReadFollowsMovesAndDeletes) {
  auto written = NewRun();
  CChainBuilder builder(*written);
  CDev* last = builder.Start(4);
  // A chain of elements each nested in the one before: the reading lists none before the
  // last is read.
  for (int i = 0; i < 600; ++i) last = builder.Add(last, 4, CDev::kStraight, 1000, "S-A");
  written->AddLengthToBOM("", 3000, 0);
  builder.Loose(CDev::kAccessory, "ACC");
  builder.Loose(CDev::kTapOff, "TAP-1", last);
  const Bytes bytes = Write(*written);

  const struct {
    const char* name;
    // Changes the read run and the other; the elements the read run must own, and those it
    // must no longer (compared by address only).
    void (*change)(CRun& read, CRun& other, std::vector<const CDev*>& gone);
  } cases[] = {
      {"as read", [](CRun&, CRun&, std::vector<const CDev*>&) {}},
      {"an element moved to another run",
       [](CRun& read, CRun& other, std::vector<const CDev*>& gone) {
         CDev* moved = read.GetDevices()[300];
         gone.push_back(moved);
         ASSERT_EQ(other.AdoptElement(read.ReleaseElement(moved)), moved);
         ASSERT_TRUE(other.OwnsElement(moved));
       }},
      {"an element moved away and back",
       [](CRun& read, CRun& other, std::vector<const CDev*>&) {
         CDev* moved = read.GetDevices()[5];
         other.AdoptElement(read.ReleaseElement(moved));
         read.AddDevice(read.AdoptElement(other.ReleaseElement(moved)));
         ASSERT_FALSE(other.OwnsElement(moved));
       }},
      {"the first, a middle and the last element deleted",
       [](CRun& read, CRun&, std::vector<const CDev*>& gone) {
         const std::vector<CDev*> devices = read.GetDevices();
         for (CDev* element : {devices.front(), devices[devices.size() / 2], devices.back()}) {
           gone.push_back(element);
           read.DeleteElement(element);
         }
       }},
      {"new elements after the reading",
       [](CRun& read, CRun&, std::vector<const CDev*>&) {
         for (int i = 0; i < 100; ++i) read.AddDevice(read.NewElement());
       }},
      {"elements deleted, then new ones made",
       [](CRun& read, CRun&, std::vector<const CDev*>& gone) {
         for (int i = 0; i < 3; ++i) {
           gone.push_back(read.GetDevices()[10]);
           read.DeleteElement(read.GetDevices()[10]);
         }
         for (int i = 0; i < 100; ++i) read.AddDevice(read.NewElement());
         gone.clear();  // their places may be taken by the new elements
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto read = Read(bytes);
    auto other = NewRun();
    ASSERT_EQ(read->GetDevices().size(), written->GetDevices().size());
    std::vector<const CDev*> gone;
    c.change(*read, *other, gone);
    for (const std::vector<CDev*>* list : {&read->GetDevices(), &read->GetLengthRecords()}) {
      for (const CDev* element : *list) {
        ASSERT_TRUE(read->OwnsElement(element));
        ASSERT_FALSE(other->OwnsElement(element));
      }
    }
    for (const CDev* element : gone) EXPECT_FALSE(read->OwnsElement(element));
  }
}

}  // namespace
