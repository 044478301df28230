#include "model/document/dorne_doc_test_support.h"

#include "app/profile.h"
#include "app/unit_entry.h"
#include "geometry/box.h"
#include "model/element/box_point_source.h"
#include "model/document/doc_observer.h"
#include "model/tapoff/tap_off_position.h"
#include "support/temp_folder.h"

namespace {

class CRecordingObserver : public CDocObserver {
 public:
  void OnDocNotice(EDocNotice notice, CRun*) override { notices.push_back(notice); }
  int Count(EDocNotice notice) const {
    return static_cast<int>(std::count(notices.begin(), notices.end(), notice));
  }
  std::vector<EDocNotice> notices;
};

class CAnsweringPrompter : public CDocPrompter {
 public:
  explicit CAnsweringPrompter(bool ok) : m_ok(ok) {}
  bool AskOkCancel(int message, const std::string&) override {
    asked.push_back(message);
    return m_ok;
  }
  void Beep() override { ++beeps; }
  std::vector<int> asked;
  int beeps = 0;

 private:
  bool m_ok;
};

class DorneDocTest : public DorneDocTestBase {
 protected:
  CTempFolder m_folder{"doc"};
};

TEST_F(DorneDocTest, JobNumberOfANewDocument) {
  const struct {
    const char* stored;  // [User] "NumAff", null when absent
    int open;
    const char* expected;
  } rows[] = {{"41", 0, "42"}, {"41", 2, "44"}, {"ABC", 3, "ABC"},
              {"0", 0, "1"},   {"0", 2, "3"},   {nullptr, 0, "1"}};
  for (const auto& row : rows) {
    CProfile profile(
        m_folder.File(std::string("tvr-") + (row.stored ? row.stored : "none") + ".ini"));
    if (row.stored != nullptr) {
      ASSERT_TRUE(profile.WriteProfileText("User", "NumAff", row.stored));
    }
    CDocEnvironment environment;
    environment.profile = &profile;
    environment.openDocuments = row.open;
    EXPECT_EQ(NewDocument(environment)->GetDocProperty("NumAff"), row.expected)
        << (row.stored ? row.stored : "none");
  }
}

TEST_F(DorneDocTest, SavingRaisesTheJobNumberCounterOnlyUpward) {
  const struct {
    const char* own;
    const char* stored;
    const char* after;
  } rows[] = {{"120", "97", "120"}, {"120", "130", "130"}, {"ABC", "5", "5"}, {"", "5", "5"}};
  for (const auto& row : rows) {
    CProfile profile(m_folder.File(std::string("counter-") + row.own + row.stored + ".ini"));
    ASSERT_TRUE(profile.WriteProfileText("User", "NumAff", row.stored));
    CDocProps props;
    props.SetPropValue("NumAff", row.own);
    props.RaiseJobNumberCounter(profile);
    EXPECT_EQ(profile.ReadProfileText("User", "NumAff", ""), row.after)
        << row.own << " over " << row.stored;
  }
}

TEST_F(DorneDocTest, LengthUnitFromTheUnitsTableElseMetric) {
  std::vector<CUnitEntry> units(2);
  units[0] = {"10", "", "inches", "%f|in", "25.4", "%.1f|in", "25.4", "25.4"};
  units[1] = {"20", "", "bad", "%f|m", "1000", "%.0f|m", "1000", "0"};
  CDocEnvironment environment;
  environment.units = &units;
  auto document = NewDocument(environment);
  const std::vector<std::pair<int, int>> rows = {{10, 10}, {20, -1}, {30, -1}, {-1, -1}};
  for (const auto& [asked, kept] : rows) {
    document->SetLengthUnit(asked);
    EXPECT_EQ(document->GetLengthUnitId(), kept) << asked;
  }
  EXPECT_EQ(document->GetUnits().GetScale(), 1.0);
}

TEST_F(DorneDocTest, NewDocumentWaitsForItsStart) {
  CRecordingObserver observer;
  CDocEnvironment environment;
  environment.userName = "Anne";
  auto document = NewDocument(environment);
  document->AddObserver(&observer);
  document->OnNewDocument("07/12/2026");
  ASSERT_EQ(document->GetRunCount(), 1);
  CRun& run = *document->GetCurrentRun();
  EXPECT_EQ(run.GetFlagsWord(), 0u);
  EXPECT_EQ(document->GetToolMode(), CDorneDoc::kToolPlaceStart);
  EXPECT_EQ(document->GetFreeFaceMask(), 63);
  EXPECT_EQ(document->GetDocProperty("Creator"), "Anne");
  EXPECT_FALSE(document->IsModified());
  EXPECT_EQ(observer.Count(EDocNotice::kRunAdded), 1);
  EXPECT_EQ(document->SetCurrentRun(&run), -1);
  EXPECT_EQ(document->DuplicateRun(0), 0);
}

TEST_F(DorneDocTest, RunMarkerPointsAlongItsDirection) {
  auto document = NewDocument();
  document->OnNewDocument("d");
  CRun& run = *document->GetCurrentRun();
  CDev* marker = run.GetStartMarker();
  marker->SetPosition(C3DPoint(1000, 0, 0));
  marker->SetBackOffsets({300, 200, 0});
  const struct {
    int direction;
    C3DPoint centre;
  } rows[] = {{4, {1525, 0, 0}},    {0, {475, 0, 0}},    {5, {1000, 0, 525}},
              {1, {1000, 0, -525}}, {2, {1000, 525, 0}}, {3, {1000, -525, 0}}};
  for (const auto& row : rows) {
    marker->SetDirection(row.direction);
    document->PlaceRunMarker(run);
    const CBox* pointer = marker->GetBox(CDev::kBodySlot + 1);
    EXPECT_EQ(pointer->GetOrigin(), row.centre) << row.direction;
    const CBox* section = marker->GetBox(CDev::kBodySlot);
    EXPECT_EQ(section->GetExtent(0) + section->GetExtent(1) + section->GetExtent(2), 500)
        << row.direction;
    EXPECT_TRUE(section->IsListed());
  }
}

TEST_F(DorneDocTest, PlacingTheStartMakesTheRunEditable) {
  auto document = NewDocument();
  document->OnNewDocument("d");
  CRun& run = *document->GetCurrentRun();
  run.GetStartMarker()->SetPosition(C3DPoint(1000, 0, 0));
  run.GetStartMarker()->SetDirection(4);
  document->PlaceRunStart(run);
  EXPECT_EQ(run.GetFlagsWord(), 1u);
  EXPECT_EQ(run.GetStartMarker(), nullptr);
  EXPECT_EQ(document->GetToolMode(), CDorneDoc::kToolAddStraight);
  const CDev* start = run.GetCurrentElement();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->GetKind(), CDev::kEnd);
  EXPECT_EQ(start->GetPosition(), C3DPoint(1000, 0, 0));
  EXPECT_EQ(document->GetFreeFaceMask(), FaceIndexToBit(4));
  EXPECT_TRUE(document->IsModified());
  const std::size_t elements = run.GetDevices().size();
  document->PlaceRunStart(run);
  EXPECT_EQ(run.GetDevices().size(), elements);
}

// Remembers, while the delete's question is open, the mark of each element's main box.
class CMarkWatchingPrompter : public CAnsweringPrompter {
 public:
  explicit CMarkWatchingPrompter(const std::vector<CDev*>& chain)
      : CAnsweringPrompter(false), m_chain(chain) {}
  bool AskOkCancel(int message, const std::string& text) override {
    for (const CDev* element : m_chain) {
      const CBox* box = element->GetBox(CDev::kBodySlot);
      marks.push_back(box != nullptr ? box->GetSelectionState() : -1);
    }
    return CAnsweringPrompter::AskOkCancel(message, text);
  }
  std::vector<int> marks;

 private:
  std::vector<CDev*> m_chain;
};

// The question showed nothing of what the delete would take.
TEST_F(DorneDocTest, TheDeleteShowsWhatItWouldTakeWhileItAsks) {
  struct Row {
    const char* name;
    std::size_t selected;
    std::vector<std::size_t> shown;  // chain indexes drawn in the lighter colour
  };
  const Row rows[] = {
      {"an elbow takes everything beyond it", 2, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"an in-line unit takes itself alone", 7, {7}},
      {"the branch at its end", 12, {12}},
  };
  for (const Row& row : rows) {
    auto document = NewDocument();
    CRun& run = AddRun(*document, "QDA");
    std::vector<CDev*> chain = BuildChain(run);
    chain.resize(13);  // the elements linked in the chain
    for (CDev* element : chain)
      if (!element->HasMainBox()) element->MakeBox(CDev::kBodySlot);
    CMarkWatchingPrompter cancel(chain);
    document->SetPrompter(&cancel);
    CDev* selected = chain[row.selected];
    ASSERT_EQ(selected->SelectElement(true, selected->GetBox(CDev::kBodySlot)), 1) << row.name;
    bool removed = true;
    EXPECT_EQ(document->DeleteCurrentElement(&removed), 1) << row.name;
    EXPECT_FALSE(removed) << row.name;
    ASSERT_EQ(cancel.marks.size(), chain.size()) << row.name;
    for (std::size_t i = 0; i < chain.size(); ++i) {
      const bool shown = std::find(row.shown.begin(), row.shown.end(), i) != row.shown.end();
      EXPECT_EQ(cancel.marks[i], shown ? 2 : 0) << row.name << ": element " << i;
      // Cancelled: the selected element alone shows as selected again.
      EXPECT_EQ(chain[i]->GetBox(CDev::kBodySlot)->GetSelectionState(), i == row.selected ? 1 : 0)
          << row.name << ": element " << i;
    }
    EXPECT_EQ(document->Selection().Element(), selected) << row.name;
    document->SetPrompter(nullptr);
  }
}

TEST_F(DorneDocTest, WithoutASelectionNothingIsAskedAndNothingGoes) {
  auto document = NewDocument();
  CRun& run = AddRun(*document, "QDA");
  const std::vector<CDev*> chain = BuildChain(run);
  CAnsweringPrompter ok(true);
  document->SetPrompter(&ok);
  run.SetCurrentElement(chain[12]);  // the end of a branch, being placed
  bool removed = true;
  EXPECT_EQ(document->DeleteCurrentElement(&removed), 0);
  EXPECT_FALSE(removed);
  EXPECT_TRUE(ok.asked.empty());
  EXPECT_EQ(run.GetDevices().size(), chain.size());
  document->SetPrompter(nullptr);
}

// The delete command took the element being placed and only when it ended a branch: a
// selection in the middle of the run left it and took another element, or nothing.
TEST_F(DorneDocTest, DeletingTakesTheSelectionWhereverItLies) {
  struct Row {
    const char* name;
    std::size_t selected;           // index in the chain of BuildChain
    std::vector<std::size_t> gone;  // chain indexes no longer in the run
  };
  const Row rows[] = {
      {"the branch at its end", 12, {12}},
      {"a node in the middle takes what lies beyond it", 5, {5, 6, 7, 8, 9, 10, 11}},
      {"the last element of the line", 11, {11}},
  };
  for (const Row& row : rows) {
    auto document = NewDocument();
    CRun& run = AddRun(*document, "QDA");
    const std::vector<CDev*> chain = BuildChain(run);
    CAnsweringPrompter ok(true);
    document->SetPrompter(&ok);
    CDev* selected = chain[row.selected];
    if (!selected->HasMainBox()) selected->MakeBox(CDev::kBodySlot);
    ASSERT_EQ(selected->SelectElement(true, selected->GetBox(CDev::kBodySlot)), 1) << row.name;
    const CDev* placing = run.GetCurrentElement();
    bool removed = false;
    EXPECT_EQ(document->DeleteCurrentElement(&removed), 1) << row.name;
    EXPECT_TRUE(removed) << row.name;
    EXPECT_EQ(ok.asked, std::vector<int>{31464}) << row.name;
    for (std::size_t i = 0; i + 2 < chain.size(); ++i) {
      const bool gone = std::find(row.gone.begin(), row.gone.end(), i) != row.gone.end();
      EXPECT_EQ(run.OwnsElement(chain[i]), !gone) << row.name << ": element " << i;
    }
    EXPECT_TRUE(run.OwnsElement(placing)) << row.name << ": the unit being placed stays";
    EXPECT_EQ(document->Selection().Element(), nullptr) << row.name;
    EXPECT_TRUE(document->IsModified()) << row.name;
    document->SetPrompter(nullptr);
  }
}

TEST_F(DorneDocTest, ACancelledOrRefusedDeleteKeepsTheSelectedElement) {
  auto document = NewDocument();
  CRun& run = AddRun(*document, "QDA");
  const std::vector<CDev*> chain = BuildChain(run);
  document->SetModifiedFlag(false);
  CAnsweringPrompter cancel(false);
  document->SetPrompter(&cancel);
  ASSERT_EQ(chain[5]->SelectElement(true, chain[5]->GetBox(CDev::kBodySlot)), 1);
  bool removed = true;
  EXPECT_EQ(document->DeleteCurrentElement(&removed), 1);
  EXPECT_FALSE(removed);
  EXPECT_TRUE(run.OwnsElement(chain[5]));
  EXPECT_FALSE(document->IsModified());
  // The run's start cannot go: the answer is a beep, and the selection stays.
  CAnsweringPrompter ok(true);
  document->SetPrompter(&ok);
  chain[0]->MakeBox(CDev::kBodySlot);
  ASSERT_EQ(chain[0]->SelectElement(true, chain[0]->GetBox(CDev::kBodySlot)), 1);
  EXPECT_EQ(document->DeleteCurrentElement(&removed), 0);
  EXPECT_FALSE(removed);
  EXPECT_EQ(ok.beeps, 1);
  EXPECT_EQ(document->Selection().Element(), chain[0]);
  EXPECT_EQ(run.GetDevices().size(), chain.size());
  document->SetPrompter(nullptr);
}

// Every joint box offers outlets 0..2 of the QD range code.
class COutletSource : public CBoxPointSource {
 public:
  C3DPoint ConnectionCode(const CBox& box, int point, int) override {
    return point >= 10 ? C3DPoint(3, 128 * 256, 5) : box.GetOrigin();
  }
  C3DPoint SupportPoint(const CBox&, int, int) override { return {}; }
};

TEST_F(DorneDocTest, DeletingAJointTakesOffTheTapOffUnitsOnIt) {
  COutletSource outlets;
  CRunEnvironment::Instance().SetBoxPoints(&outlets);
  auto document = NewDocument();
  CRun& run = AddRun(*document, "QDA");
  CChainBuilder chain(run);
  CDev* joint = chain.Add(chain.Start(4), 4, CDev::kJoint, 1000);
  joint->MakeBox(0);
  run.SetFlagsWord(1);
  run.SetPartsState(2);
  CDev* unit = run.NewElement();
  unit->SetKind(CDev::kTapOff);
  unit->SetActive(1);
  unit->SetBooked(0);
  unit->SetReference("QDTAP1");
  unit->SetAttached(run.GetFirstElement());
  unit->SetStyle(11 | (4u << 12) | (1u << 16));
  unit->SetBookedLength(128);
  run.AddDevice(unit);
  ASSERT_EQ(PositionTapOffUnit(*unit, false), 1);
  ASSERT_GE(run.GetBOM().FindLine("QDTAP1"), 1);
  CAnsweringPrompter ok(true);
  document->SetPrompter(&ok);
  ASSERT_EQ(joint->SelectElement(true, joint->MakeBox(CDev::kBodySlot)), 1);
  EXPECT_EQ(document->DeleteCurrentElement(), 1);
  // Compared by kind: the address of an element gone may be taken by a new one.
  ASSERT_EQ(run.GetDevices().size(), 1u);
  EXPECT_EQ(run.GetDevices().front()->GetKind(), CDev::kEnd);
  EXPECT_LT(run.GetBOM().FindLine("QDTAP1"), 0);
  CRunEnvironment::Instance().SetBoxPoints(nullptr);
}

TEST_F(DorneDocTest, DuplicateCopiesElementsLinksAndAnnotations) {
  auto document = RichDocument();
  CRun& source = *document->GetRunAt(0);
  document->SetCurrentRun(&source);
  const std::size_t annotations = document->Annotations().Size();
  const int index = document->DuplicateRun(0);
  ASSERT_EQ(index, 5);
  CRun& copy = *document->GetRunAt(index);
  EXPECT_EQ(document->GetCurrentRun(), &copy);
  EXPECT_EQ(copy.GetPropText("Catalog"), "QPC");
  EXPECT_NE(copy.GetPropText("Name"), source.GetPropText("Name"));
  ASSERT_EQ(copy.GetDevices().size(), source.GetDevices().size());
  for (std::size_t i = 0; i < copy.GetDevices().size(); ++i) {
    const CDev* back = copy.GetDevices()[i]->GetBackNeighbour();
    EXPECT_TRUE(back == nullptr || back->GetRun() == &copy) << i;
  }
  // The three element labels of the source come again on the copy.
  EXPECT_EQ(document->Annotations().Size(), annotations + 3);
  EXPECT_EQ(Save(*Load(Save(*document))), Save(*document));
}

// A costing's working copies come and go; only a copy the user keeps takes a name.
TEST_F(DorneDocTest, OnlyAKeptCopyTakesTheNextRunName) {
  const struct {
    int number;  // 0 the interactive copy, 1.. a working copy of that run
    bool takesName;
  } rows[] = {{1, false}, {2, false}, {0, true}};
  for (const auto& row : rows) {
    auto document = RichDocument();
    document->SetCurrentRun(document->GetRunAt(0));
    const std::string before = document->GetNextRunName();
    const int index = document->DuplicateRun(row.number);
    ASSERT_GT(index, 0) << row.number;
    EXPECT_EQ(document->GetNextRunName() != before, row.takesName) << row.number;
    if (row.number != 0) document->RemoveRun(document->GetRunAt(index));
    document->AddNewRun();
    const std::string expected = row.takesName ? CRun::AdvanceRunName(before) : before;
    EXPECT_EQ(document->GetCurrentRun()->GetPropText("Name"), expected) << row.number;
  }
}

TEST_F(DorneDocTest, TotalsAddTheRunsLines) {
  auto document = NewDocument();
  CRun& run = AddRun(*document, "QDA");
  BuildChain(run);
  document->SetSalesCoefficient(2.0f);
  document->ComputeRunTotals(false);
  ASSERT_EQ(document->GetTotalsCount(), 2);
  EXPECT_EQ(*document->GetTotals(0), *document->GetTotals(1));
  EXPECT_EQ(document->GetTotals(2), nullptr);
  EXPECT_EQ((*document->GetTotals(0))[4], (*document->GetTotals(0))[1] * 2.0);
}

TEST_F(DorneDocTest, ElementsUseTheDocumentsSelection) {
  auto document = RichDocument();
  CDev* element = document->GetRunAt(0)->GetDevices()[3];
  CElementSelection::Of(*element).Select(element, 2);
  EXPECT_EQ(document->Selection().Element(), element);
  EXPECT_EQ(&document->GetRunAt(0)->Selection(), &document->Selection());
  document->RemoveRun(document->GetRunAt(0));
  EXPECT_EQ(document->Selection().Element(), nullptr);
}

}  // namespace
