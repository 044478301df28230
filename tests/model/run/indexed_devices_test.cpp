// The elements of one reference against the plain rule they stand for: the elements
// filed, in the order of their stamps, whatever the order they came and went in.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "model/element/dev.h"
#include "model/run/indexed_devices.h"

namespace {

constexpr std::uint64_t kCount = 400;

struct SweepCase {
  const char* name;
  // The stamps filed at first, then the stamps taken out and put back, in turn.
  std::vector<std::uint64_t> (*first)();
  std::vector<std::uint64_t> (*moves)();
};

void PrintTo(const SweepCase& sweep, std::ostream* out) { *out << sweep.name; }

std::vector<std::uint64_t> Every(std::uint64_t step, std::uint64_t offset) {
  std::vector<std::uint64_t> stamps;
  for (std::uint64_t stamp = 1 + offset; stamp <= kCount; stamp += step) stamps.push_back(stamp);
  return stamps;
}

std::vector<std::uint64_t> Backwards(std::vector<std::uint64_t> stamps) {
  return {stamps.rbegin(), stamps.rend()};
}

std::vector<std::uint64_t> Shuffled(std::vector<std::uint64_t> stamps) {
  std::mt19937 random(7);
  std::shuffle(stamps.begin(), stamps.end(), random);
  return stamps;
}

class IndexedDevicesTest : public ::testing::TestWithParam<SweepCase> {
 protected:
  IndexedDevicesTest() : m_elements(kCount + 1) {}

  void File(std::uint64_t stamp) {
    if (m_filed.count(stamp) != 0) return;
    m_devices.Add(stamp, m_elements[stamp]);
    m_filed[stamp] = &m_elements[stamp];
  }
  void Unfile(std::uint64_t stamp) {
    m_devices.Remove(stamp);
    m_filed.erase(stamp);
  }
  // The rule: every filed element once, by stamp.
  void ExpectAsFiled(const std::string& when) {
    std::vector<CIndexedDevices::CEntry> seen;
    for (const auto& entry : m_devices) seen.push_back(entry);
    const std::vector<CIndexedDevices::CEntry> expected(m_filed.begin(), m_filed.end());
    ASSERT_EQ(seen, expected) << when;
    EXPECT_EQ(m_devices.size(), expected.size()) << when;
    EXPECT_EQ(m_devices.empty(), expected.empty()) << when;
  }

  CIndexedDevices m_devices;

 private:
  std::vector<CDev> m_elements;
  std::map<std::uint64_t, CDev*> m_filed;
};

TEST_P(IndexedDevicesTest, ElementsComeInStampOrderWhateverTheOrderTheyCameIn) {
  for (std::uint64_t stamp : GetParam().first()) File(stamp);
  ExpectAsFiled("filed");
  int step = 0;
  // A rebuild's pattern: one element leaves and another comes in, all along the list.
  for (std::uint64_t stamp : GetParam().moves()) {
    ++step;
    if (step % 2 == 0) Unfile(stamp);
    else File(stamp);
    if (step % 37 == 0) ExpectAsFiled("after move " + std::to_string(step));
  }
  ExpectAsFiled("after the moves");
  // Taken out twice, or never filed: nothing changes.
  Unfile(kCount + 5);
  for (std::uint64_t stamp : GetParam().first()) {
    Unfile(stamp);
    Unfile(stamp);
  }
  ExpectAsFiled("after the first ones left");
  for (std::uint64_t stamp : Backwards(GetParam().first())) File(stamp);
  ExpectAsFiled("after they came back");
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, IndexedDevicesTest,
    ::testing::Values(
        SweepCase{"Forward", [] { return Every(2, 0); }, [] { return Every(1, 0); }},
        SweepCase{"Backward", [] { return Every(2, 1); }, [] { return Backwards(Every(1, 0)); }},
        SweepCase{"IntoAnEmptyReference", [] { return std::vector<std::uint64_t>{kCount}; },
                  [] { return Backwards(Every(1, 0)); }},
        SweepCase{"EveryThirdBothWays", [] { return Every(3, 0); },
                  [] {
                    std::vector<std::uint64_t> moves = Every(1, 0);
                    const std::vector<std::uint64_t> back = Backwards(Every(3, 1));
                    moves.insert(moves.end(), back.begin(), back.end());
                    return moves;
                  }},
        SweepCase{"AnyOrder", [] { return Shuffled(Every(2, 0)); },
                  [] { return Shuffled(Every(1, 0)); }}),
    [](const ::testing::TestParamInfo<SweepCase>& info) { return info.param.name; });

TEST(IndexedDevicesEdgeTest, ANewestElementGoesLastWhileAGapWaitsBeforeIt) {
  std::vector<CDev> elements(8);
  CIndexedDevices devices;
  for (std::uint64_t stamp : {2, 4, 6}) devices.Add(stamp, elements[stamp]);
  devices.Add(1, elements[1]);  // at the front: room opens there
  devices.Add(7, elements[7]);  // the newest, past the room
  devices.Add(3, elements[3]);
  devices.Add(5, elements[5]);
  std::vector<std::uint64_t> stamps;
  for (const auto& [stamp, element] : devices) {
    EXPECT_EQ(element, &elements[stamp]);
    stamps.push_back(stamp);
  }
  EXPECT_EQ(stamps, (std::vector<std::uint64_t>{1, 2, 3, 4, 5, 6, 7}));
  for (std::uint64_t stamp = 1; stamp <= 7; ++stamp) devices.Remove(stamp);
  EXPECT_TRUE(devices.empty());
  EXPECT_EQ(devices.begin(), devices.end());
}

}  // namespace
