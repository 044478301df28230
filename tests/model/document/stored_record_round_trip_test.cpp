// Every stored record reads back to what it was: read, written, read and written again,
// the two written forms are identical, over a table of valid records and a bounded loop
// of mutated ones (those the readers refuse are skipped).

#include "model/bom/bom_test_support.h"
#include "geometry/box.h"
#include "model/run/run_test_support.h"
#include "support/golden_file.h"

#include <functional>
#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;
// Reads one record into a fresh object and writes it; nothing when the record is refused.
using Pass = std::function<std::optional<Bytes>(const Bytes&)>;

void Mutate(Bytes& bytes, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 3);
  for (int i = 0; i < edits && !bytes.empty(); ++i) {
    const std::size_t at = random() % bytes.size();
    switch (random() % 6) {
      case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
      case 1: bytes[at] = static_cast<std::uint8_t>(bytes[at] ^ (1u << (random() % 8))); break;
      case 2: bytes[at] = static_cast<std::uint8_t>(random() % 3); break;  // flags, kinds, counts
      case 3: bytes.resize(at); break;
      case 4:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     static_cast<std::uint8_t>(random()));
        break;
      default: bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at)); break;
    }
  }
}

// Returns how many of the records were read at all.
int ExpectStable(const Pass& pass, const std::vector<Bytes>& seeds, int mutations) {
  std::mt19937 random(11);
  int read = 0;
  for (std::size_t s = 0; s < seeds.size(); ++s) {
    EXPECT_TRUE(pass(seeds[s]).has_value()) << "seed " << s << " is refused";
    for (int round = 0; round <= mutations; ++round) {
      Bytes bytes = seeds[s];
      if (round > 0) Mutate(bytes, random);
      const std::optional<Bytes> first = pass(bytes);
      if (!first) continue;
      ++read;
      const std::optional<Bytes> second = pass(*first);
      EXPECT_TRUE(second.has_value())
          << "seed " << s << " round " << round << ": written, then refused";
      if (second) {
        EXPECT_TRUE(*second == *first) << "seed " << s << " round " << round;
      }
    }
  }
  return read;
}

template <typename Read, typename Write>
Pass MakePass(Read read, Write write) {
  return [read, write](const Bytes& bytes) -> std::optional<Bytes> {
    CArchiveReader reader(bytes);
    CArchiveWriter writer;
    try {
      auto object = read(reader);
      write(*object, writer);
    } catch (const CArchiveError&) {
      return std::nullopt;
    }
    return writer.TakeBytes();
  };
}

class StoredRecordRoundTripTest : public RunRecordTestBase {
 protected:
  static constexpr int kMutations = 600;
  // Enough mutated records read (and so written twice) that the loop tests something.
  static constexpr int kMinRead = kMutations / 4;

  // Runs as the editing left them (tests/data/model/sample_run_*.bin): an empty one, one
  // whose start is not placed, and a chain with a branch, units, records and a grid.
  std::vector<std::unique_ptr<CRun>> SampleRuns() {
    std::vector<std::unique_ptr<CRun>> runs;
    for (const char* name : {"empty", "unplaced", "chain"})
      runs.push_back(Read(ReadGoldenBytes(std::string("model/sample_run_") + name + ".bin")));
    return runs;
  }
};

// A pass for a record type read into a default-made object.
template <typename T>
Pass PlainPass() {
  return MakePass(
      [](CArchiveReader& r) {
        auto o = std::make_unique<T>();
        o->Serialize(r);
        return o;
      },
      [](const T& o, CArchiveWriter& w) { o.Serialize(w); });
}

TEST_F(StoredRecordRoundTripTest, PropertiesPointsAndBoxes) {
  std::vector<Bytes> lists;
  for (const auto& pairs : std::vector<std::vector<std::pair<std::string, std::string>>>{
           {},
           {{"A", "1"}, {"B", ""}, {"A", "2"}},
           {{"HBv2_Std_Cost", "15"}, {"HBv2_Std_Cost", "%%7"}},
           {{"\xC3\xA9t\xC3\xA9", "\xF0\x9F\x98\x80"}, {"HBv2_Std_Cost", "%%"}}}) {
    CArchiveWriter writer;
    writer.WriteWord(static_cast<std::uint16_t>(pairs.size()));
    for (const auto& [name, value] : pairs) {
      writer.WriteString(name);
      writer.WriteString(value);
    }
    lists.push_back(writer.TakeBytes());
  }
  lists.push_back(
      Bytes{0x01, 0x00, 0x05, 'N', 'a', 'm', 'e', 0xE9, 0x01, 'v'});  // the 8-bit text form
  EXPECT_GT(ExpectStable(PlainPass<CObjWithProp>(), lists, kMutations), kMinRead);
  const std::vector<Bytes> points = {WrittenBytes(C3DPoint()),
                                     WrittenBytes(C3DPoint(-1.5, 2e9, 3))};
  EXPECT_GT(ExpectStable(PlainPass<C3DPoint>(), points, kMutations), kMinRead);
  std::vector<Bytes> boxes;
  for (int size : {0, 3000}) {
    CBox box;
    box.SetPlacement(C3DPoint(size, -size, 10), size, 300, 200);
    boxes.push_back(WrittenBytes(box));
  }
  EXPECT_GT(ExpectStable(PlainPass<CBox>(), boxes, kMutations), kMinRead);
}

TEST_F(StoredRecordRoundTripTest, ElementsRunsAndBillsOfMaterials) {
  std::vector<Bytes> elements;
  std::vector<Bytes> runs;
  std::vector<Bytes> grids;
  for (const auto& run : SampleRuns()) {
    runs.push_back(WrittenBytes(*run));
    grids.push_back(WrittenBytes(run->GetBOM()));
    if (CDev* start = run->GetFirstElement()) elements.push_back(WrittenBytes(*start));
    // A unit's link is a position in its run's chain: alone, only an unattached one reads.
    for (CDev* device : run->GetDevices()) {
      if (device->GetKind() == CDev::kTapOff) device->SetAttached(nullptr);
      if (device->GetKind() >= CDev::kAccessory) elements.push_back(WrittenBytes(*device));
    }
  }
  std::vector<std::unique_ptr<CRun>> owners;
  const auto owner = [this, &owners]() {
    owners.push_back(NewRun());
    return owners.back().get();
  };
  EXPECT_GT(ExpectStable(MakePass(
                             [&owner](CArchiveReader& r) {
                               CDev* element = owner()->NewElement();
                               element->Serialize(r);
                               return element;
                             },
                             [](const CDev& e, CArchiveWriter& w) { e.Serialize(w); }),
                         elements, kMutations),
            kMinRead);
  EXPECT_GT(ExpectStable(MakePass(
                             [this](CArchiveReader& r) {
                               auto run = NewRun();
                               run->Serialize(r);
                               return run;
                             },
                             [](const CRun& run, CArchiveWriter& w) { run.Serialize(w); }),
                         runs, kMutations),
            kMinRead);
  // A grid record applied to a run page whose lines the run re-created.
  const auto page = [this, &owner](CArchiveReader& r) {
    CRun* run = owner();
    for (const char* reference : {"S-A", "ACC", "MAN \nGroup=2a"})
      run->GetBOM().AddRefQuantity(reference, 1);
    run->GetBOM().Serialize(r, 10000);
    return &run->GetBOM();
  };
  EXPECT_GT(
      ExpectStable(MakePass(page, [](const CBOMGrid& g, CArchiveWriter& w) { g.Serialize(w); }),
                   grids, kMutations),
      kMinRead);
}

}  // namespace
