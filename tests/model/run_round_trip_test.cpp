// A run read back is the run that was written: no records gained, every tap-off unit on
// the element it was attached to, and what the writer cannot write back refused.

#include "run_test_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class RunRoundTripTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
    m_run = NewRun();
  }

  std::unique_ptr<CRun> NewRun() {
    auto run = std::make_unique<CRun>(&m_document);
    run->AttachRangeTables(m_tables);
    return run;
  }

  static Bytes Write(const CRun& run) {
    CArchiveWriter writer;
    run.Serialize(writer);
    return writer.TakeBytes();
  }

  std::unique_ptr<CRun> Read(const Bytes& bytes) {
    auto run = NewRun();
    CArchiveReader reader(bytes);
    run->Serialize(reader);
    EXPECT_TRUE(reader.AtEnd());
    return run;
  }

  // A run record around the given start element and devices, as no writer of ours makes.
  Bytes Compose(const CDev* start, const std::vector<const CDev*>& extra) {
    CArchiveWriter writer;
    writer.WriteWord(0);  // no properties
    for (const char* text : {"A", "", ""}) writer.WriteString(text);
    for (std::uint8_t byte : {0, 0, 0, 0, 1})
      writer.WriteByte(byte);  // flags, rotation, parts, flags
    writer.WriteDword(0);      // no length records
    writer.WriteByte(start != nullptr ? 1 : 0);
    if (start != nullptr) start->Serialize(writer);
    writer.WriteDword(static_cast<std::uint32_t>(extra.size()));
    for (const CDev* device : extra) device->Serialize(writer);
    NewRun()->GetBOM().Serialize(writer);
    writer.WriteDword(0);  // annotations
    return writer.TakeBytes();
  }

  CFakeRunDocument m_document;
  CRangeTables m_tables;
  std::unique_ptr<CRun> m_run;
};

// Loading once booked quantities that the records did not hold, and the grid's call back
// added a manual record for the difference at every save and reload.
TEST_F(RunRoundTripTest, SavingAndReloadingGainsNoRecordsAndNoQuantity) {
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
TEST_F(RunRoundTripTest, TapOffUnitsComeBackOnTheElementsTheyWereAttachedTo) {
  CChainBuilder builder(*m_run);
  CDev* start = builder.Start(4);
  CDev* a = builder.Add(start, 4, CDev::kStraight, 1000, "S-A");
  CDev* b = builder.Add(a, 4, CDev::kElbow, 500, "ELB-B");
  b->SetActive(0);  // loading once added a record for it inside the chain
  CDev* c = builder.Add(b, 5, CDev::kStraight, 800, "S-C");
  m_run->AddLengthToBOM("", 1800, 0);
  CDev* accessory = builder.Loose(CDev::kAccessory, "ACC");
  accessory->SetStyle2(3);
  m_run->GetBOM().AddHeldQuantity("ACC", 3);
  CDev* first = builder.Loose(CDev::kTapOff, "TAP-1", start);
  const std::vector<CDev*> targets = {start, a, b, c, accessory, first, nullptr};
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
  const Bytes bytes = Write(*m_run);
  auto once = Read(bytes);
  EXPECT_EQ(chainIndexes(*once), chainIndexes(*m_run));
  EXPECT_EQ(once->GetDevices().size(), m_run->GetDevices().size());
  EXPECT_EQ(Write(*once), bytes);
}

// What the writer cannot write back would vanish or change at the next save.
TEST_F(RunRoundTripTest, RecordsTheWriterCannotWriteBackAreRefused) {
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

}  // namespace
