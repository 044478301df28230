// Riser kits of QG runs on the sample catalogue: the QGA 1000 A kit row gives a kit 1000
// long with margins of 100 and a clearance of 50; a fixing 200 long may so sit 300 off
// its middle.

#include "qg_builder_support.h"

#include <algorithm>

namespace {

// The kit records of a fresh walk, which checks each kit's clearance to its elbows as it
// prepares the kit (the cuts of the second pass check their own, kit_cut_test.cpp): the
// element and the shortfall.
struct KitRecord {
  const CDev* element;
  std::int32_t shortfall;
};

std::vector<KitRecord> KitRecords(CRunQG& run) {
  run.CRun::RebuildParts(-1);
  if (false)
    for (CDev* d : run.GetDevices())
      fprintf(stderr, "k%d v%d L%lld dir%d back[%d] [%s]\n", d->GetKind(), d->GetVariant(),
              (long long)d->GetBookedLength(), d->GetDirection(),
              d->GetBackNeighbour() ? d->GetBackNeighbour()->GetKind() : -1,
              d->GetReference().c_str());
  CPartBuilderQG builder(run);
  builder.CollectSegments();
  std::vector<KitRecord> records;
  for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
    const CCheckMessage& message = builder.GetMessages().At(i);
    if (message.state == 15) records.push_back({message.element, message.value1});
  }
  return records;
}

// A fixing d above an edgewise elbow (housing 130 high): the kit keeps d + offset - 500
// - 65 clear of the elbow, and less than 20 is told with its shortfall.
TEST_F(QGLayoutTest, AKitTooCloseToItsElbowIsTold) {
  struct Row {
    int distance;
    const char* offset;
    const char* held;
    std::int32_t shortfall;  // 0: nothing told
  };
  const Row rows[] = {
      {584, "0", "0", 1},     {585, "0", "0", 0},         {300, "0", "0", 285},
      {300, "300", "300", 0}, {300, "400", "300", 0},     {300, "-300", "-300", 585},
      {1700, "0", "0", 0},    {250, "-999", "-300", 635},
  };
  for (const Row& row : rows) {
    CRunQG& run =
        LayOut("run QGA 10\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 1\nkit 2 " +
               std::to_string(row.distance) + "\nfield KITCF " + row.offset + "\nvariant 1\n");
    CDev* kit = Laid()[1]->GetNeighbour(2);
    ASSERT_NE(kit, nullptr);
    ASSERT_EQ(kit->GetKind(), CDev::kInLine);
    ASSERT_EQ(kit->GetBookedLength(), row.distance);
    const std::vector<KitRecord> records = KitRecords(run);
    const auto told = std::find_if(records.begin(), records.end(),
                                   [&](const KitRecord& r) { return r.element == kit; });
    if (row.shortfall == 0) {
      EXPECT_EQ(told, records.end()) << row.distance << " " << row.offset;
    } else {
      ASSERT_NE(told, records.end()) << row.distance << " " << row.offset;
      EXPECT_EQ(told->shortfall, row.shortfall) << row.distance << " " << row.offset;
    }
    EXPECT_EQ(kit->GetFieldText("KITCF").value_or(""), row.held) << row.distance;
  }
}

// A kit on the riser takes the kit reference of the housing and its own bill line; the
// bill and the drawn collars follow the rebuild.
TEST_F(QGLayoutTest, ARiserKitIsBookedUnderTheKitReference) {
  CRunQG& run = LayOut(
      "run QGA 10\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 1\nkit 2 1500\nfield KITCF 0\n"
      "variant 1\n");
  CDev* kit = Laid()[1]->GetNeighbour(2);
  ASSERT_NE(kit, nullptr);
  EXPECT_NE(kit->GetBox(10), nullptr);
  EXPECT_NE(kit->GetBox(17), nullptr);
  ASSERT_EQ(run.RebuildParts(0), 1);
  const std::vector<std::string> bill = QGBillReferences(run);
  EXPECT_EQ(std::count(bill.begin(), bill.end(), "QGB0130CF13"), 1);
  EXPECT_TRUE(kit->GetReference().starts_with("QGB0130CF13")) << kit->GetReference();
  EXPECT_EQ(kit->GetVariant(), 0);
  EXPECT_NE(kit->GetBox(10), nullptr);
}

}  // namespace
