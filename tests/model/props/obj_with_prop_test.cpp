#include "model/props/obj_with_prop.h"
#include "model/props/prop.h"

#include "platform/archive.h"
#include "support/archive_bytes.h"
#include "support/golden_file.h"
#include "model/props/prop_window_notifier.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<std::pair<std::string, std::string>> Props(const CObjWithProp& obj) {
  std::vector<std::pair<std::string, std::string>> props;
  for (const auto& prop : obj.GetPropArray()) props.emplace_back(prop->GetName(), prop->GetValue());
  return props;
}

Bytes List(const std::vector<std::pair<std::string, std::string>>& pairs) {
  CArchiveWriter writer;
  writer.WriteWord(static_cast<std::uint16_t>(pairs.size()));
  for (const auto& [name, value] : pairs) {
    writer.WriteString(name);
    writer.WriteString(value);
  }
  return writer.TakeBytes();
}

TEST(CObjWithPropTest, SetAndGetByExactName) {
  CObjWithProp obj;
  EXPECT_FALSE(obj.SetPropValue("Name", ""));  // absent and empty: nothing
  EXPECT_TRUE(obj.GetPropArray().empty());
  EXPECT_TRUE(obj.SetPropValue("Name", "A"));
  EXPECT_TRUE(obj.SetPropValue("Rating", "400"));
  EXPECT_EQ(obj.GetPropValue("Name"), "A");
  EXPECT_EQ(obj.GetPropValue("name"), "");
  EXPECT_FALSE(obj.HasProp("name"));
  EXPECT_TRUE(obj.SetPropValue("Name", "B"));
  EXPECT_FALSE(obj.SetPropValue("Name", "B"));
  EXPECT_TRUE(obj.SetPropValue("Name", ""));
  EXPECT_EQ(Props(obj), (decltype(Props(obj)){{"Rating", "400"}}));
}

TEST(CObjWithPropTest, PositionalAccessIsOneBased) {
  CObjWithProp obj;
  obj.SetPropValue("A", "1");
  obj.SetPropValue("B", "2");
  EXPECT_EQ(obj.GetPropAt(0), "");
  EXPECT_EQ(obj.GetPropAt(1), "1");
  EXPECT_EQ(obj.GetPropAt(2), "2");
  EXPECT_EQ(obj.GetPropAt(3), "");
  EXPECT_FALSE(obj.SetPropAt(0, "x"));
  EXPECT_FALSE(obj.SetPropAt(3, "x"));
  EXPECT_TRUE(obj.SetPropAt(2, "20"));
  EXPECT_TRUE(obj.SetPropAt(1, ""));
  EXPECT_EQ(Props(obj), (decltype(Props(obj)){{"B", "20"}}));
}

TEST(CObjWithPropTest, AddPropKeepsOnePropertyPerName) {
  CObjWithProp obj;
  auto owned = std::make_unique<CProp>("A", "1");
  const CProp* first = owned.get();
  EXPECT_EQ(obj.AddProp(std::move(owned)), 0);
  EXPECT_EQ(obj.IndexOfProp(first), 0);
  EXPECT_EQ(obj.AddProp(std::make_unique<CProp>("B", "2")), 1);
  EXPECT_EQ(obj.AddProp(std::make_unique<CProp>("A", "3")), 0);
  EXPECT_EQ(obj.AddProp(std::make_unique<CProp>("C", "")), -1);
  EXPECT_EQ(obj.AddProp(nullptr), -1);
  const CProp other("A", "3");
  EXPECT_EQ(obj.IndexOfProp(&other), -1);
  EXPECT_EQ(Props(obj), (decltype(Props(obj)){{"A", "3"}, {"B", "2"}}));
}

TEST(CObjWithPropTest, RemoveHBv2PropsTakesOnlyThePrefix) {
  CObjWithProp obj;
  obj.SetPropValue("HBv2_Std_Cost", "1500");
  obj.SetPropValue("Name", "A");
  obj.SetPropValue("HBv2_", "x");
  obj.SetPropValue("HBv2", "y");
  obj.SetPropValue("hbv2_z", "z");
  obj.RemoveHBv2Props();
  EXPECT_EQ(Props(obj), (decltype(Props(obj)){{"Name", "A"}, {"HBv2", "y"}, {"hbv2_z", "z"}}));
}

TEST(CObjWithPropTest, StoredListPinsItsBytes) {
  CObjWithProp obj;
  obj.SetPropValue("N", "A");
  EXPECT_EQ(WrittenBytes(obj), HexBytes("0100 FFFEFF01 4E00 FFFEFF01 4100"));  // "N", "A"
}

TEST(CObjWithPropTest, LoadingAppliesDuplicatesAndEmptyValuesLikeSet) {
  const struct {
    const char* fault;
    std::vector<std::pair<std::string, std::string>> stored, loaded;
  } cases[] = {
      {"empty list", {}, {}},
      {"empty value dropped", {{"A", ""}, {"B", "2"}}, {{"B", "2"}}},
      {"later value wins at first position",
       {{"A", "1"}, {"B", "2"}, {"A", "3"}},
       {{"A", "3"}, {"B", "2"}}},
      {"later empty value removes", {{"A", "1"}, {"A", ""}}, {}},
      {"removed then given again goes last",
       {{"A", "1"}, {"B", "2"}, {"A", ""}, {"A", "3"}},
       {{"B", "2"}, {"A", "3"}}},
      {"standard cost widened", {{"HBv2_Std_Cost", "15"}}, {{"HBv2_Std_Cost", "1500"}}},
  };
  for (const auto& c : cases) {
    CObjWithProp obj;
    EXPECT_EQ(Props(ReadBytes(obj, List(c.stored))), c.loaded) << c.fault;
  }
}

// Loading stores the pairs by a hashed look-up; the literal rule is SetPropValue pair by
// pair, on an object that may already hold properties.
TEST(CObjWithPropTest, LoadingEqualsSettingEveryPairInTurn) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::pair<std::string, std::string>> pairs;
    CObjWithProp expected;
    CObjWithProp loaded;
    for (int i = static_cast<int>(random() % 4); i > 0; --i) {
      const std::string name = "P" + std::to_string(random() % 6);
      expected.SetPropValue(name, "old");
      loaded.SetPropValue(name, "old");
    }
    for (int i = static_cast<int>(random() % 20); i > 0; --i) {
      pairs.emplace_back("P" + std::to_string(random() % 6),
                         random() % 3 == 0 ? "" : std::to_string(random() % 9));
      expected.SetPropValue(pairs.back().first, pairs.back().second);
    }
    EXPECT_EQ(Props(ReadBytes(loaded, List(pairs))), Props(expected)) << "round " << round;
  }
}

TEST(CObjWithPropTest, DamagedListThrowsAndChangesNothing) {
  Bytes bytes = List({{"A", "1"}, {"B", "2"}});
  const std::vector<Bytes> damaged = {
      Bytes(bytes.begin(), bytes.end() - 1), Bytes{0xFF, 0xFF},  // 65535 pairs in an empty stream
      Bytes{0x02, 0x00, 0x00},                                   // count of two with one byte left
  };
  for (const auto& stream : damaged) {
    CObjWithProp obj;
    obj.SetPropValue("Keep", "1");
    EXPECT_THROW(ReadBytes(obj, stream), CArchiveError);
    EXPECT_EQ(Props(obj), (decltype(Props(obj)){{"Keep", "1"}}));
  }
}

TEST(CObjWithPropTest, CopyIsDeepAndHasItsOwnHandle) {
  CObjWithProp original;
  original.SetPropValue("A", "1");
  CObjWithProp copy(original);
  copy.SetPropValue("A", "2");
  EXPECT_EQ(original.GetPropValue("A"), "1");
  EXPECT_NE(copy.GetHandle().Get(), original.GetHandle().Get());
  EXPECT_EQ(copy.GetHandle().Get(), &copy);
}

Bytes Written(const CObjWithProp& obj) {
  CArchiveWriter writer;
  obj.Serialize(writer);
  return writer.TakeBytes();
}

// An object that never had a property and one whose properties were all taken away are
// alike in everything: what they give, store, copy and take.
TEST(CObjWithPropTest, NeverFilledAndEmptiedListsBehaveAlike) {
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  const std::vector<Pairs> others = {{}, {{"A", "1"}}, {{"HBv2_X", "2"}, {"B", "3"}}};
  for (const Pairs& other : others) {
    CObjWithProp never;
    CObjWithProp emptied;
    emptied.SetPropValue("Gone", "1");
    emptied.SetPropAt(1, "");
    for (CObjWithProp* obj : {&never, &emptied}) {
      SCOPED_TRACE(obj == &never ? "never filled" : "emptied");
      EXPECT_TRUE(Props(*obj).empty());
      EXPECT_EQ(Written(*obj), List({}));
      EXPECT_EQ(obj->GetPropAt(1), "");
      EXPECT_FALSE(obj->SetPropAt(1, "x"));
      EXPECT_FALSE(obj->SetPropValue("None", ""));
      obj->RemoveHBv2Props();
      CObjWithProp source;
      for (const auto& [name, value] : other) source.SetPropValue(name, value);
      CObjWithProp copy(*obj);
      EXPECT_TRUE(Props(copy).empty());
      copy = source;
      EXPECT_EQ(Props(copy), other);
      copy = *obj;  // an empty list copied over a full one
      EXPECT_TRUE(Props(copy).empty());
      EXPECT_EQ(Written(copy), List({}));
      ReadBytes(*obj, List(other));
      EXPECT_EQ(Props(*obj), other);
    }
  }
}

TEST(CObjWithPropTest, AHandleTurnsNullWhenItsObjectGoes) {
  CObjHandle handle;
  {
    CObjWithProp obj;
    handle = obj.GetHandle();
    EXPECT_EQ(handle.Get(), &obj);
    EXPECT_EQ(obj.GetHandle().Get(), &obj);  // the same handle again
  }
  EXPECT_EQ(handle.Get(), nullptr);
}

class RecordingNotifier : public CPropWindowNotifier {
 public:
  bool PropWindowExists() const override { return m_exists; }
  void SendPropMessage(int message, CObjWithProp* object) override {
    m_sent.emplace_back(message, object);
  }
  void PostPropMessage(int message, CObjHandle object) override {
    m_posted.emplace_back(message, object);
  }
  void OpenPropDialog() override { ++m_shown; }
  void ClosePropDialog() override { --m_shown; }

  bool m_exists = true;
  int m_shown = 0;
  std::vector<std::pair<int, CObjWithProp*>> m_sent;
  std::vector<std::pair<int, CObjHandle>> m_posted;
};

class PropWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { m_previous = SetPropWindowNotifier(&m_notifier); }
  void TearDown() override { SetPropWindowNotifier(m_previous); }

  RecordingNotifier m_notifier;
  CPropWindowNotifier* m_previous = nullptr;
};

TEST_F(PropWindowTest, NothingHappensWithoutAWindow) {
  m_notifier.m_exists = false;
  CObjWithProp obj;
  for (int message : {kPropMsgShowObject, kPropMsgClear, kPropMsgRefresh}) {
    EXPECT_EQ(obj.NotifyPropDialog(message), 0);
  }
  EXPECT_TRUE(m_notifier.m_sent.empty());
  EXPECT_TRUE(m_notifier.m_posted.empty());
  SetPropWindowNotifier(nullptr);
  EXPECT_EQ(obj.NotifyPropDialog(kPropMsgShowObject), 0);
}

TEST_F(PropWindowTest, MessagesReachTheNotifierAndAQueuedOneHoldsAHandle) {
  auto obj = std::make_unique<CObjWithProp>();
  EXPECT_EQ(obj->NotifyPropDialog(kPropMsgRefresh), 1);
  EXPECT_EQ(obj->NotifyPropDialog(kPropMsgClear), 1);
  ASSERT_EQ(m_notifier.m_posted.size(), 1u);
  EXPECT_EQ(m_notifier.m_posted[0].first, kPropMsgShowObject);
  EXPECT_EQ(m_notifier.m_posted[0].second.Get(), obj.get());
  ASSERT_EQ(m_notifier.m_sent.size(), 1u);
  EXPECT_EQ(m_notifier.m_sent[0], std::make_pair(kPropMsgClear, obj.get()));
  // The object goes before the queued message is delivered: the handle says so.
  obj.reset();
  EXPECT_FALSE(m_notifier.m_posted[0].second.IsAlive());
  EXPECT_EQ(m_notifier.m_posted[0].second.Get(), nullptr);
  CObjWithProp target;
  target.GoToObject(&target, CObjWithProp::kGoNext);
  EXPECT_EQ(m_notifier.m_sent.back(), std::make_pair(kPropMsgShowObject, &target));
  OpenPropDialog();
  EXPECT_EQ(m_notifier.m_shown, 1);
  ClosePropDialog();
  EXPECT_EQ(m_notifier.m_shown, 0);
}

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
