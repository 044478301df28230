// The run's reference index against the plain rule it stands for: the elements of a
// list that carry a trimmed reference, in the order they were filed.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/element/dev.h"
#include "model/run/run_ref_index.h"

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

TEST_F(RunRefIndexTest, ManyElementsOfOneReferenceLeaveAndComeBackInAnyOrder) {
  // Against the rule: the listed elements of the reference in the order of their filing.
  std::vector<CDev*> filed;
  for (int i = 0; i < 60; ++i) {
    CDev* element = Make(i % 4 == 0 ? "T" : "S");
    index.Insert(*element, kDevices);
    if (i % 4 != 0) filed.push_back(element);
  }
  std::vector<CDev*> expected = filed;
  std::vector<CDev*> renamed;
  for (int at : {30, 0, 41, 7, 7, 1}) {  // from the middle, the front and the back
    CDev* element = expected[static_cast<std::size_t>(at)];
    expected.erase(expected.begin() + at);
    if (at % 2 == 0) {
      index.Erase(*element);
      continue;
    }
    element->SetReference("T");
    index.Rekey(*element);
    renamed.push_back(element);
  }
  EXPECT_EQ(Listed(index, "S", kDevices), expected);
  EXPECT_EQ(Listed(index, "T", kDevices).size(), 15 + renamed.size());
  // Named back, each takes its old place among the others.
  for (CDev* element : renamed) {
    element->SetReference("S");
    index.Rekey(*element);
  }
  std::vector<CDev*> back;
  for (CDev* element : filed) {
    if (std::find(expected.begin(), expected.end(), element) != expected.end() ||
        std::find(renamed.begin(), renamed.end(), element) != renamed.end())
      back.push_back(element);
  }
  EXPECT_EQ(Listed(index, "S", kDevices), back);
}

// The mark of the lists changes with every change of what is filed where, and only then;
// two indexes never share one.
TEST_F(RunRefIndexTest, TheStateMarksEveryChangeOfTheLists) {
  CDev* first = Make("A");
  CDev* second = Make("B");
  CDev* unlisted = Make("C");
  index.Insert(*first, kDevices);
  const struct {
    const char* guards;
    std::function<void()> step;
    bool changes;
  } rows[] = {
      {"nothing done", [] {}, false},
      {"an element filed", [&] { index.Insert(*second, kDevices); }, true},
      {"a look-up", [&] { index.First("A", kDevices); }, false},
      {"an element renamed",
       [&] {
         second->SetReference("A");
         index.Rekey(*second);
       },
       true},
      {"an unlisted element erased", [&] { index.Erase(*unlisted); }, false},
      {"an unlisted element rekeyed", [&] { index.Rekey(*unlisted); }, false},
      {"an element erased", [&] { index.Erase(*first); }, true},
      {"an element filed again, at the end", [&] { index.Insert(*first, kLengths); }, true},
      {"a list cleared", [&] { index.Clear(kLengths); }, true},
  };
  std::uint64_t state = index.GetState();
  EXPECT_NE(state, 0u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    row.step();
    const std::uint64_t now = index.GetState();
    EXPECT_EQ(now != state, row.changes);
    state = now;
  }
  CRunRefIndex other;
  EXPECT_NE(other.GetState(), index.GetState());
}

}  // namespace
