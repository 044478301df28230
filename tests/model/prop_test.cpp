#include "model/prop.h"

#include "platform/archive.h"
#include "support/archive_bytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void AppendText(Bytes& bytes, const std::string& ascii) {
  bytes.insert(bytes.end(), {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(ascii.size())});
  for (char c : ascii) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0x00});
}

Bytes Pair(const std::string& name, const std::string& value) {
  Bytes bytes;
  AppendText(bytes, name);
  AppendText(bytes, value);
  return bytes;
}

CProp Loaded(const Bytes& bytes) {
  CProp prop;
  return ReadBytes(prop, bytes);
}

TEST(CPropTest, StandardCostCarriesItsMark) {
  const struct {
    const char* name;
    const char* stored;
    const char* loaded;
  } cases[] = {
      {"HBv2_Std_Cost", "15", "1500"},      // older file in whole units
      {"HBv2_Std_Cost", "%%1500", "1500"},  // current form
      {"HBv2_Std_Cost", "%%", ""},         {"HBv2_Std_Cost", "", "00"},
      {"HBv2_Std_Cost", "1%%", "1%%00"},  // mark only counts at the front
      {"HBv2_Std_Cost2", "15", "15"},     // other names keep their value
      {"hbv2_std_cost", "%%15", "%%15"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Loaded(Pair(c.name, c.stored)).GetValue(), c.loaded) << c.name << " " << c.stored;
  }
  EXPECT_EQ(WrittenBytes(CProp("HBv2_Std_Cost", "1500")), Pair("HBv2_Std_Cost", "%%1500"));
}

TEST(CPropTest, DamagedStreamLeavesPropertyUnchanged) {
  Bytes bytes = Pair("Name", "Value");
  bytes.pop_back();
  CProp prop("Keep", "this");
  EXPECT_THROW(ReadBytes(prop, bytes), CArchiveError);
  EXPECT_EQ(prop.GetName(), "Keep");
  EXPECT_EQ(prop.GetValue(), "this");
}

}  // namespace
