#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <cstring>

#include "app/profile.h"
#include "linear/linear_file.h"
#include "linear/linear_slots.h"
#include "platform/archive.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

const std::string kGolden = std::string(TVR_SOURCE_DIR) + "/tests/data/linear/small_project.lin";

// The small project of the pinned file, read back.
CLinearProject SmallProject() {
  CLinearProject project;
  EXPECT_EQ(
      LoadLinearFile(kGolden, project, {{true, true, true, true}, [](int) { return "Tarif 7"; }}),
      0);
  return project;
}

void ExpectSameLines(const CLinearLineList& a, const CLinearLineList& b) {
  ASSERT_EQ(a.LineCount(), b.LineCount());
  for (int i = 0; i < a.LineCount(); ++i) {
    const CLinearLine &x = a.Line(i), &y = b.Line(i);
    EXPECT_EQ(std::tie(x.Name, x.Comment, x.Group, x.Product, x.Rating, x.Conductors, x.IpDegree,
                       x.SecondVariant),
              std::tie(y.Name, y.Comment, y.Group, y.Product, y.Rating, y.Conductors, y.IpDegree,
                       y.SecondVariant));
    EXPECT_EQ(x.Slots, y.Slots) << i;
    EXPECT_EQ(x.ItemValues, y.ItemValues) << i;
    EXPECT_EQ(x.TotalValues, y.TotalValues) << i;
    EXPECT_EQ(x.ExtraValues, y.ExtraValues) << i;
  }
}

TEST(LinearFileTest, SmallProjectBytesArePinned) {
  CTempFolder folder("lin");
  CLinearProject project = SmallProject();
  ASSERT_EQ(project.lines.LineCount(), 2);
  const CLinearLine &first = project.lines.Line(0), &second = project.lines.Line(1);
  EXPECT_EQ(first.Name, "Line 1");
  EXPECT_EQ(first.TotalValues, (CLinearLine::ColumnArray{2504, 4427, 4869, 594, 254760, 0, 0}));
  EXPECT_EQ(first.ItemValues[1][5], 3360);
  EXPECT_EQ(second.IpDegree, 52);
  EXPECT_EQ(second.SecondVariant, 1);
  EXPECT_EQ(UnpackBoxSlot(second.Slots[30]).rating, 63);
  EXPECT_EQ(project.Property("Client"), "Société é");
  EXPECT_EQ(project.settings.priceList, 6) << "list 7 keeps its index when it has a title";
  EXPECT_EQ(project.settings.listCoefs[6], 0.75);
  EXPECT_EQ(project.settings.rates[14], 1.5) << "rates 5..15 take rate 4";
  EXPECT_EQ(project.settings.saleCoefs[0][3], 0.8);
  ASSERT_EQ(SaveLinearFile(folder.File("p.lin"), project, "07/12/2026"), 0);
  EXPECT_EQ(ReadBytes(folder.File("p.lin")), ReadBytes(kGolden));
  CLinearProject untitled;
  ASSERT_EQ(LoadLinearFile(kGolden, untitled, {{true, true, false, true}, nullptr}), 0);
  EXPECT_EQ(untitled.settings.priceList, 0);
  EXPECT_FALSE(untitled.settings.groupsOn[2]);
}

TEST(LinearFileTest, EveryLineKindRoundTrips) {
  CLinearProject project;
  for (int product = 0; product < kLinearProductCount; ++product)
    for (int variant = 0; variant < 2; ++variant) {
      project.lines.BeginNewLine(product % 4);
      CLinearLine& line = project.lines.Working();
      line.Product = product, line.Rating = 100 * product + 25, line.Conductors = 12 + product % 6;
      line.IpDegree = variant ? 52 : 54, line.SecondVariant = variant;
      for (int s = 0; s < kLinearSlotCount; s += 1 + product) line.Slots[s] = s * product;
      line.Slots[28] = variant ? PackSlot28(1, 1) : 0;
      line.ItemValues[product % 7][product] = 1000 + product;
      line.ExtraValues[2] = product, line.TotalValues[3] = -product;
      line.Comment = std::string(600, 'c');
      project.lines.SaveWorkingAsNew("Ligne \"" + std::to_string(product) + "\" é€");
    }
  const std::vector<std::uint8_t> bytes = LinearFileBytes(project);
  CLinearProject loaded;
  ASSERT_EQ(ReadLinearFileBytes(bytes, loaded, {}), 0);
  for (int i = 0; i < project.lines.LineCount(); ++i)
    if (project.lines.Line(i).IpDegree == 54)
      project.lines.Line(i).SecondVariant = 1;  // 54 means the variant
  ExpectSameLines(loaded.lines, project.lines);
  EXPECT_EQ(loaded.lines.Line(0).Comment.size(), kMaxLinearTextUnits)
      << "cut when entered, not on save";
  EXPECT_EQ(LinearFileBytes(loaded), LinearFileBytes(project));
}

TEST(LinearFileTest, NegativeResultsReadBackWithTheirTotals) {
  CLinearProject project;
  project.lines.BeginNewLine(0);
  CLinearLine& line = project.lines.Working();
  line.Product = 0, line.Rating = 800, line.Conductors = 13;
  line.ItemValues[1][5] = 700, line.ItemValues[1][7] = -300, line.TotalValues[1] = 400;
  project.lines.SaveWorkingAsNew("Credit");
  CLinearProject loaded;
  ASSERT_EQ(ReadLinearFileBytes(LinearFileBytes(project), loaded, {}), 0);
  const CLinearLine& read = loaded.lines.Line(0);
  EXPECT_EQ(read.ItemValues[1][7], -300);
  EXPECT_EQ(read.ItemValues[1][5] + read.ItemValues[1][7], read.TotalValues[1])
      << "the items still add up to the total read";
}

// A file in an older format: 8-bit texts, 15 properties up to format 400.
std::vector<std::uint8_t> LegacyFile(int format, std::int32_t group) {
  CArchiveWriter out;
  const std::uint8_t signature[13] = {0x05, 0x00};
  out.WriteBytes(signature, 13);
  out.WriteLong(format);
  auto text = [&](const std::string& s) { out.WriteBytes(s.c_str(), s.size() + 1); };
  for (int i = 0; i < (format <= 400 ? 15 : 17); ++i) text(i == 2 ? "Caf\xe9" : "");
  if (format >= 401) text("EUR");
  out.WriteLong(2), text("List"),
      out.WriteBytes(std::vector<std::uint8_t>(8 * 32, 0).data(), 8 * 32);
  out.WriteDouble(12.0);
  for (int i = 0; i < 10; ++i) out.WriteLong(i < 4 ? 1 : 0);
  out.WriteDouble(1.25);
  for (int i = 0; i < 10; ++i) out.WriteDouble(1.0);
  out.WriteDouble(-456.456);
  out.WriteLong(1);
  text("Old");
  if (format >= 451) text("Note");
  for (std::int32_t v : {group, 6, 63, 13, 19, 28, -5, 10564}) out.WriteLong(v);
  for (int c = 0; c < 7; ++c)
    for (std::int32_t v : {3, 12345, 10564, 12345, 12345, 7, -458}) out.WriteLong(v);
  for (std::int32_t v : {99, -458, 0, -456}) out.WriteLong(v);
  return out.TakeBytes();
}

TEST(LinearFileTest, OlderFormatsAndTheirFixes) {
  CLinearProject project;
  ASSERT_EQ(ReadLinearFileBytes(LegacyFile(300, 2), project, {}), 0);
  const CLinearLine& line = project.lines.Line(0);
  EXPECT_EQ(project.Property("Name"), "Café");
  EXPECT_EQ(line.ItemValues[1][3], 123) << "format 300 kept columns 2 and 3 in hundredths";
  EXPECT_EQ(line.TotalValues[2], 123);
  EXPECT_EQ(line.ItemValues[0][3], 12345);
  EXPECT_EQ(line.Slots[28], 0) << "a negative slot 28 reads as 0";
  EXPECT_EQ(line.IpDegree, 54);
  EXPECT_EQ(line.SecondVariant, 1);
  EXPECT_EQ(project.settings.priceList, 2);
  EXPECT_EQ(project.settings.listCoefs[4], 1.25);
  ASSERT_EQ(ReadLinearFileBytes(LegacyFile(451, 1), project, {}), 0);
  EXPECT_EQ(project.lines.Line(0).Comment, "Note");
  EXPECT_EQ(project.settings.listCurrency, "EUR");
}

struct DamagedCase {
  std::function<std::vector<std::uint8_t>()> bytes;
  int expected;
  const char* guards;
};

std::vector<std::uint8_t> Patched(std::size_t offset, std::int32_t value) {
  std::vector<std::uint8_t> bytes = LinearFileBytes(SmallProject());
  std::memcpy(bytes.data() + offset, &value, 4);
  return bytes;
}

class LinearDamagedFileTest : public testing::TestWithParam<DamagedCase> {};

TEST_P(LinearDamagedFileTest, IsRefusedAndChangesNothing) {
  const DamagedCase& c = GetParam();
  CLinearProject project = SmallProject();
  EXPECT_EQ(ReadLinearFileBytes(c.bytes(), project, {}), c.expected) << c.guards;
  ExpectSameLines(project.lines, SmallProject().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LinearDamagedFileTest,
    testing::Values(
        DamagedCase{[] { return std::vector<std::uint8_t>{}; }, kMsgFileFormat, "empty file"},
        DamagedCase{[] { return Patched(0, 0x0006); }, kMsgFileFormat, "bad signature"},
        DamagedCase{[] { return Patched(13, 299); }, kMsgFileFormat, "format 299"},
        DamagedCase{[] { return Patched(13, 512); }, kMsgFileFormat, "format 512"},
        DamagedCase{[] { return Patched(17, 2); }, kMsgFileFormat, "text flag 2"},
        DamagedCase{[] { return LegacyFile(450, 4); }, kMsgFileFormat, "group 4 is no group"},
        DamagedCase{[] { return LegacyFile(450, -7); }, kMsgFileFormat, "group -7"},
        DamagedCase{[] {
                      std::vector<std::uint8_t> bytes = LinearFileBytes(SmallProject());
                      bytes.resize(bytes.size() - 4);
                      return bytes;
                    },
                    kMsgFileFormat, "no end mark"},
        DamagedCase{[] {
                      std::vector<std::uint8_t> bytes(21, 0);
                      bytes[0] = 5, bytes[13] = 0xFF, bytes[14] = 1, bytes[17] = 1;
                      bytes.resize(21 + 2 * 600, 'a');
                      return bytes;
                    },
                    kMsgFileFormat, "a text of 600 units without terminator"},
        DamagedCase{
            [] { return ReadBytes(TVR_SOURCE_DIR "/tests/data/linear/ip_10_second_variant.lin"); },
            kMsgFileFormat, "IP 10 of the second variant, which no save writes"}));

// Whatever IP code a line holds reads back the same after a save, or is refused.
TEST(LinearFileTest, StoredIpCodesReadBackAfterASave) {
  const struct {
    std::int32_t stored;
    int result, ip, second;
  } rows[] = {{54, 0, 54, 1},
              {52, 0, 52, 0},
              {19, 0, 54, 1},
              {18, 0, 52, 0},
              {100, 0, 100, 0},
              {101, kMsgFileFormat, 0, 0},
              {109, kMsgFileFormat, 0, 0},
              {110, 0, 11, 1},
              {520, 0, 52, 1},
              {545, 0, 54, 1},
              {-5, 0, -5, 0}};
  constexpr std::int32_t kMark = 0x5A5A5A01;
  CLinearProject marked;
  marked.lines.BeginNewLine(0);
  marked.lines.Working().IpDegree = kMark;
  marked.lines.SaveWorkingAsNew("IP");
  const std::vector<std::uint8_t> bytes = LinearFileBytes(marked);
  const std::uint8_t* mark = reinterpret_cast<const std::uint8_t*>(&kMark);
  const auto at = std::search(bytes.begin(), bytes.end(), mark, mark + 4) - bytes.begin();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored);
    std::vector<std::uint8_t> stored = bytes;
    std::memcpy(stored.data() + at, &row.stored, 4);
    CLinearProject read;
    ASSERT_EQ(ReadLinearFileBytes(stored, read, {}), row.result);
    if (row.result != 0) continue;
    EXPECT_EQ(read.lines.Line(0).IpDegree, row.ip);
    EXPECT_EQ(read.lines.Line(0).SecondVariant, row.second);
    CLinearProject again;
    ASSERT_EQ(ReadLinearFileBytes(LinearFileBytes(read), again, {}), 0);
    ExpectSameLines(again.lines, read.lines);
  }
}

TEST(LinearFileTest, LineCountsAreHeldToTheRecords) {
  CLinearProject big;
  for (int i = 0; i < kLinearMaxLines; ++i) {
    big.lines.BeginNewLine(0);
    big.lines.SaveWorkingAsNew("n");
  }
  std::vector<std::uint8_t> bytes = LinearFileBytes(big);
  const std::size_t countAt = LinearFileBytes(CLinearProject()).size() - 8;
  std::int32_t count = 250;
  std::memcpy(bytes.data() + countAt, &count, 4);
  CLinearProject loaded;
  ASSERT_EQ(ReadLinearFileBytes(bytes, loaded, {}), 0);
  EXPECT_EQ(loaded.lines.LineCount(), kLinearMaxLines);
  count = -3;
  std::memcpy(bytes.data() + countAt, &count, 4);
  ASSERT_EQ(ReadLinearFileBytes(bytes, loaded, {}), 0);
  EXPECT_EQ(loaded.lines.LineCount(), 0);
}

TEST(LinearFileTest, EveryPrefixAndMutationIsSafe) {
  const std::vector<std::uint8_t> valid = LinearFileBytes(SmallProject());
  CLinearProject project;
  for (std::size_t size = 0; size < valid.size(); ++size)
    EXPECT_EQ(ReadLinearFileBytes({valid.begin(), valid.begin() + size}, project, {}),
              kMsgFileFormat)
        << size;
  std::mt19937 random(511);
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> bytes = valid;
    for (int n = 1 + round % 8; n > 0; --n)
      bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    const int result = ReadLinearFileBytes(bytes, project, {});
    EXPECT_TRUE(result == 0 || result == kMsgFileFormat) << round;
  }
}

TEST(LinearFileTest, FileErrorsAndSaving) {
  CTempFolder folder("lin");
  CLinearProject project = SmallProject();
  EXPECT_EQ(LoadLinearFile(folder.File("missing.lin"), project, {}), kMsgFileNotFound);
  EXPECT_EQ(LoadLinearFile(folder.Path(), project, {}), kMsgFileNoRead) << "a folder";
  std::filesystem::resize_file(folder.WriteFile("huge.lin", "x"), 17u * 1024 * 1024);
  EXPECT_EQ(LoadLinearFile(folder.File("huge.lin"), project, {}), kMsgFileFormat);
  project.SetProperty("ModificationDate", "before");
  EXPECT_EQ(SaveLinearFile(folder.File("no/such/p.lin"), project, "today"), kMsgFileNotFound);
  EXPECT_EQ(project.Property("ModificationDate"), "before");
  CProfile profile(folder.File("TVR.INI"));
  ASSERT_TRUE(profile.WriteProfileText("User", "NumAff", "1000"));
  ASSERT_EQ(SaveLinearFile(folder.File("p.lin"), project, "today", &profile), 0);
  EXPECT_EQ(profile.ReadProfileText("User", "NumAff", ""), "1042");
  EXPECT_EQ(project.Property("ModificationDate"), "today");
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  std::filesystem::permissions(
      folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(SaveLinearFile(folder.File("p.lin"), project, "later"), kMsgFileNoWrite);
  EXPECT_EQ(project.Property("ModificationDate"), "today");
}

}  // namespace
