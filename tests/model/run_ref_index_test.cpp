// The run's reference index against the plain rule it stands for: the elements of a
// list that carry a trimmed reference, in the order they were filed.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/dev.h"
#include "model/run_ref_index.h"

namespace {

constexpr int kDevices = CRunRefIndex::kDeviceList;
constexpr int kLengths = CRunRefIndex::kLengthList;

std::vector<CDev*> Listed(const CRunRefIndex& index, const std::string& reference, int list) {
  std::vector<CDev*> found;
  if (const auto* devices = index.Find(reference, list))
    for (const auto& [stamp, device] : *devices) found.push_back(device);
  return found;
}

class RunRefIndexTest : public ::testing::Test {
 protected:
  CDev* Make(const std::string& reference, int kind = CDev::kStraight) {
    m_elements.push_back(std::make_unique<CDev>());
    m_elements.back()->SetKind(kind);
    m_elements.back()->SetReference(reference);
    return m_elements.back().get();
  }

  CRunRefIndex index;

 private:
  std::vector<std::unique_ptr<CDev>> m_elements;
};

TEST_F(RunRefIndexTest, ElementsOfAReferenceComeInFilingOrderWhateverTheBlanks) {
  CDev* a = Make("QDA 25 ");
  CDev* b = Make("QDA 25");
  CDev* other = Make("QDA 40");
  CDev* length = Make("QDA 25");
  index.Insert(*a, kDevices);
  index.Insert(*other, kDevices);
  index.Insert(*b, kDevices);
  index.Insert(*length, kLengths);
  EXPECT_EQ(Listed(index, "  QDA 25 ", kDevices), (std::vector<CDev*>{a, b}));
  EXPECT_EQ(Listed(index, "QDA 25", kLengths), (std::vector<CDev*>{length}));
  // The first whose whole reference is the text, blanks counted.
  EXPECT_EQ(index.First("QDA 25", kDevices), b);
  EXPECT_EQ(index.First("QDA 25 ", kDevices), a);
  EXPECT_EQ(index.First("QDA 63", kDevices), nullptr);
}

TEST_F(RunRefIndexTest, ARenamedElementKeepsItsPlaceAndARefiledOneGoesLast) {
  CDev* first = Make("A");
  CDev* second = Make("B");
  CDev* third = Make("A");
  for (CDev* element : {first, second, third}) index.Insert(*element, kDevices);
  second->SetReference("A");  // an element outside a run does not tell the index itself
  index.Rekey(*second);
  EXPECT_EQ(Listed(index, "A", kDevices), (std::vector<CDev*>{first, second, third}));
  EXPECT_EQ(index.Find("B", kDevices), nullptr);
  index.Insert(*first, kDevices);
  EXPECT_EQ(Listed(index, "A", kDevices), (std::vector<CDev*>{second, third, first}));
  index.Erase(*third);
  index.Erase(*third);  // a second erase is harmless
  EXPECT_EQ(Listed(index, "A", kDevices), (std::vector<CDev*>{second, first}));
  index.Rekey(*third);  // not listed: nothing is filed
  EXPECT_EQ(Listed(index, "A", kDevices).size(), 2u);
}

TEST_F(RunRefIndexTest, TapOffUnitsOfTheDeviceListAreKeptBesideTheIndex) {
  CDev* unit = Make("U1", CDev::kTapOff);
  CDev* lengthUnit = Make("U2", CDev::kTapOff);
  CDev* straight = Make("S");
  index.Insert(*unit, kDevices);
  index.Insert(*lengthUnit, kLengths);
  index.Insert(*straight, kDevices);
  EXPECT_EQ(index.TapOffUnits().size(), 1u);
  EXPECT_EQ(index.TapOffUnits().count(unit), 1u);
  // Moving a unit to the length list takes it out of the units.
  index.Insert(*unit, kLengths);
  EXPECT_TRUE(index.TapOffUnits().empty());
  index.Insert(*unit, kDevices);
  // A list handed over to another run leaves no unit behind.
  index.Clear(kDevices);
  EXPECT_TRUE(index.TapOffUnits().empty());
  EXPECT_EQ(index.Find("S", kDevices), nullptr);
  EXPECT_EQ(Listed(index, "U2", kLengths), (std::vector<CDev*>{lengthUnit}));
}

}  // namespace
