#include "model/document/check_message_presenter.h"
#include "model/run/phase_order.h"
#include "model/document/work_notifier.h"
#include "model/builder/part_builder_test_support.h"

namespace {

// A run of the test range: rebuilds as every range run does, with the test builder.
class CRebuildTestRun : public CRun {
 public:
  using CRun::CRun;
  std::unique_ptr<CPartBuilder> CreatePartBuilder() override {
    ++builders;
    return std::make_unique<CTestPartBuilder>(*this);
  }
  int RebuildParts(int level) override {
    CRun::RebuildParts(-1);
    SetPartBuilder(CreatePartBuilder());
    return CRun::RebuildParts(level);
  }
  int builders = 0;
};

class CRecordingNotifier : public CWorkNotifier {
 public:
  void SetWaitCursor(bool on) override { cursor.push_back(on); }
  void ShowStatusMessage(int message) override { statuses.push_back(message); }
  void ShowMessage(int message) override { messages.push_back(message); }
  void ReportProblem(const std::string&) override {}
  std::vector<int> messages;
  std::vector<bool> cursor;
  std::vector<int> statuses;
};

class CAnswers : public CCheckMessagePresenter {
 public:
  int ShowCheckMessages(CPartBuilder&) override {
    const int answer = answers.empty() ? 1 : answers.front();
    if (answers.size() > 1) answers.erase(answers.begin());
    ++shown;
    return answer;
  }
  std::vector<int> answers;
  int shown = 0;
};

class RunRebuildTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
    m_tables.patterns = {{{"E-100", "100", "100", "100", "100", "100", "100"}}};
    m_run = std::make_unique<CRebuildTestRun>(&m_document);
    m_run->SetCatalog("QDA");
    m_run->SetProp("Calibre", "63");
    m_run->SetProp("SupportAuto", "0");
    m_run->AttachRangeTables(m_tables);
    SetWorkNotifier(&m_notifier);
    SetCheckMessagePresenter(&m_answers);
  }
  void TearDown() override {
    SetWorkNotifier(nullptr);
    SetCheckMessagePresenter(nullptr);
    m_run.reset();
    RunTestBase::TearDown();
  }

  // start, straights along +X, last end.
  std::vector<CDev*> Line(const std::string& endRef, const std::vector<std::int32_t>& lengths) {
    CChainBuilder chain(*m_run);
    std::vector<CDev*> elements{chain.Start(4)};
    elements.front()->SetReference("E-100");
    m_run->GetBOM().RemoveRefQuantity("END-0", 1);
    m_run->GetBOM().AddHeldQuantity("E-100", 1);
    for (std::int32_t length : lengths)
      elements.push_back(chain.Add(elements.back(), 4, CDev::kInLine, length));
    elements.push_back(chain.Add(elements.back(), 4, CDev::kEnd, 0, endRef));
    return elements;
  }

  CFakeRunDocument m_document;
  CRangeTables m_tables;
  std::unique_ptr<CRebuildTestRun> m_run;
  CRecordingNotifier m_notifier;
  CAnswers m_answers;
};

struct LevelCase {
  const char* name;
  int level;
  std::vector<int> answers;
  int shown;
  int builders;
};

class RunRebuildLevelTest : public RunRebuildTest,
                            public ::testing::WithParamInterface<LevelCase> {};

TEST_P(RunRebuildLevelTest, ShowsTheChecksAndRebuildsAfterACorrection) {
  const LevelCase& row = GetParam();
  Line("NOPE", {3200});
  m_answers.answers = row.answers;
  EXPECT_EQ(m_run->RebuildParts(row.level), 1);
  EXPECT_EQ(m_answers.shown, row.shown);
  EXPECT_EQ(m_run->builders, row.builders);
  EXPECT_EQ(m_run->GetPartBuilder(), nullptr);
  EXPECT_EQ(m_run->GetPartsState(), 1);
  // Preparation, then one build per round; the cursor ends off.
  EXPECT_EQ(m_notifier.statuses.front(), 31511);
  EXPECT_EQ(m_notifier.statuses.back(), 31505);
  EXPECT_EQ(std::count(m_notifier.statuses.begin(), m_notifier.statuses.end(), 31505),
            row.builders);
  EXPECT_EQ(m_notifier.cursor, (std::vector<bool>{true, false}));
  EXPECT_GT(m_document.modified, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, RunRebuildLevelTest,
                         ::testing::Values(LevelCase{"quiet", 0, {2}, 0, 1},
                                           LevelCase{"closed", 1, {1}, 1, 1},
                                           LevelCase{"corrected_once", 1, {2, 1}, 2, 2},
                                           // a dialog that always corrects cannot hold the program
                                           LevelCase{"always_corrected", 1, {2}, 32, 33}),
                         [](const auto& info) { return std::string(info.param.name); });

// What the bill-of-materials rebuild does to each kind of device.
struct NormalCase {
  const char* name;
  int kind;
  int active;
  std::uint32_t style;
  std::uint32_t style2;
  int booked;
  bool remains;
  std::uint32_t expectedStyle;
  int expectedActive;
};

class RunRebuildBOMTest : public RunRebuildTest,
                          public ::testing::WithParamInterface<NormalCase> {};

TEST_P(RunRebuildBOMTest, BringsEveryDeviceBackToItsGenericForm) {
  const NormalCase& row = GetParam();
  std::vector<CDev*> line = Line("E-100", {1000, 2000});
  CDev* device = line[1];
  if (row.kind == CDev::kAccessory) {
    device = CChainBuilder(*m_run).Loose(CDev::kAccessory, "ACC-1");
    m_run->GetBOM().AddHeldQuantity("ACC-1", 1);
  }
  device->SetKind(row.kind);
  device->SetActive(row.active);
  device->SetStyle(row.style);
  device->SetStyle2(row.style2);
  device->SetBooked(row.booked);
  device->SetPropValue("HBv2_Price", "12");
  device->SetPropValue("SUPP", "3");
  m_run->SetPropValue("SUPP", "3");
  const std::size_t devices = m_run->GetDevices().size();
  EXPECT_EQ(m_run->RebuildBOM(true), 1);
  EXPECT_EQ(m_run->GetDevices().size(), devices - (row.remains ? 0 : 1));
  EXPECT_FALSE(m_run->HasProp("SUPP"));
  EXPECT_EQ(m_run->GetPartsState(), 0);
  EXPECT_EQ(m_document.totals, 1);
  // Every length is booked again: 3000 in all, wherever the joints were.
  std::int64_t booked = 0;
  for (const CDev* record : m_run->GetLengthRecords()) booked += record->GetBookedLength();
  EXPECT_EQ(booked, 3000);
  EXPECT_EQ(LineQuantity(*m_run, "ACC-1"), -1);
  // The start's own reference goes back to the default text of its kind.
  EXPECT_EQ(line[0]->GetReference(), "END-0");
  EXPECT_EQ(LineQuantity(*m_run, "END-0"), 2);
  if (!row.remains) return;
  EXPECT_EQ(device->GetStyle(), row.expectedStyle);
  EXPECT_EQ(device->GetActive(), row.expectedActive);
  EXPECT_EQ(device->HasProp("HBv2_Price"), row.expectedActive == 0);
  EXPECT_EQ(device->GetBooked(), row.expectedActive != 0 ? 1 : row.booked);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RunRebuildBOMTest,
    ::testing::Values(
        NormalCase{"unit_takes_its_second_style", CDev::kInLine, 1, 0x1F00, 0x0100, 1, true, 0x0100,
                   1},
        NormalCase{"flag_above_one_gives_variant_1", CDev::kInLine, 3, 0, 0, 1, true, 1, 1},
        NormalCase{"negative_flag_becomes_inactive", CDev::kInLine, -1, 0x10, 0x20, 1, true, 0x10,
                   0},
        NormalCase{"unbooked_is_booked", CDev::kInLine, 1, 0, 0, 0, true, 0, 1},
        NormalCase{"elbow_loses_bits_16_to_23", CDev::kElbow, 1, 0, 0x00AB0001, 1, true, 1, 1},
        NormalCase{"active_joint_dropped", CDev::kJoint, 1, 0, 0, 1, false, 0, 0},
        NormalCase{"straight_variant_123_is_a_joint", CDev::kStraight, 1, 123, 123, 1, false, 0, 0},
        NormalCase{"inactive_joint_takes_its_second_style", CDev::kJoint, 0, 0x3000, 0x0100, 1,
                   true, 0x0100, 0},
        NormalCase{"accessory_dropped", CDev::kAccessory, 1, 0, 0, 1, false, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// Damaged runs end their rebuild: no crash, no endless walk, no builder left behind.
TEST_F(RunRebuildTest, DamagedRunsStillEndTheirRebuild) {
  const std::function<void(CRangeTables&, std::vector<CDev*>&)> damages[] = {
      [](CRangeTables& tables, std::vector<CDev*>&) { tables.codes.clear(); },
      [](CRangeTables&, std::vector<CDev*>& line) { line[2]->SetKind(99); },
      [](CRangeTables&, std::vector<CDev*>& line) {  // a link back to the start
        line[3]->SetNeighbour(1, line[0]);
        line[0]->SetNeighbour(5, line[3]);
      }};
  for (const auto& damage : damages) {
    m_run = std::make_unique<CRebuildTestRun>(&m_document);
    m_run->SetCatalog("QDA");
    m_run->AttachRangeTables(m_tables);
    std::vector<CDev*> line = Line("E-100", {1000, 2000});
    damage(m_tables, line);
    EXPECT_EQ(m_run->RebuildParts(1), 1);
    EXPECT_EQ(m_run->GetPartBuilder(), nullptr);
    m_tables = MakeTestTables();
  }
}

TEST_F(RunRebuildTest, ReversalTakesThePhaseOrderSeenAtTheFarEnd) {
  CChainBuilder chain(*m_run);
  std::vector<CDev*> line{chain.Start(4)};
  line.push_back(chain.Add(line.back(), 4, CDev::kInLineVariant, 1000));
  line.push_back(chain.Add(line.back(), 4, CDev::kEnd, 0, "E-100"));
  line[1]->SetVariantBoth(8);
  // Bit 5 goes with every write of the code.
  m_run->SetFlagsWord(phase_order::WithCode(m_run->GetFlagsWord(), 2) | 0x20);
  m_run->Reverse();
  EXPECT_EQ(m_run->GetFirstElement(), line[2]);
  EXPECT_EQ(phase_order::CodeOfFlags(m_run->GetFlagsWord()), 5);  // variant 8 turns 2 into 5
  EXPECT_EQ(m_run->GetFlagsWord() & 0x20u, 0u);
}

TEST_F(RunRebuildTest, RotationAndReversalFollowTheChain) {
  std::vector<CDev*> line = Line("E-100", {1000, 2000});
  line[1]->SetStyle(0x3000);
  line[3]->SetPropValue("CAPOT", "1");
  m_run->SetRotation(32);
  EXPECT_EQ(m_run->GetRotation(), 32);
  EXPECT_EQ(line[0]->GetRotation(), 32);
  EXPECT_EQ(line[1]->GetStyle() & 0xF000u, 0u);
  EXPECT_FALSE(line[3]->HasProp("CAPOT"));
  m_run->Reverse();
  EXPECT_EQ(m_run->GetFirstElement(), line[3]);
  const std::int32_t lengths[] = {1000, 2000, 0, 0};
  for (std::size_t i = 0; i < line.size(); ++i) {
    EXPECT_EQ(line[i]->GetDirection(), 0) << i;
    EXPECT_EQ(line[i]->GetBookedLength(), lengths[i]) << i;
  }
  EXPECT_EQ(m_notifier.messages, std::vector<int>{30210});
}
