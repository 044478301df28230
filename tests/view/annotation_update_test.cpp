#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "layout_scene.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_update.h"

namespace {

int CountKind(const CAnnotationList& list, int kind) {
  int count = 0;
  for (std::size_t i = 0; i < list.Size(); ++i) count += list.At(i)->GetKind() == kind ? 1 : 0;
  return count;
}

class AnnotationUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { m_document = BuildLayoutScene(2, 4); }
  CAnnotationList& List() { return m_document->Annotations(); }
  void Refresh() { UpdateTitleBlock(*m_document, m_slots); }

  std::unique_ptr<CDorneDoc> m_document;
  CLabelStyleSlots m_slots = CAppSettings().labels;
};

TEST_F(AnnotationUpdateTest, TheTitleBlockIsMadeOnceAndEachStraightGetsItsBranchDimension) {
  Refresh();
  Refresh();
  EXPECT_EQ(CountKind(List(), CAnnotation::kTitleBlock), 1);
  // Two runs of an end and three straights: every straight has an element behind it.
  EXPECT_EQ(CountKind(List(), CAnnotation::kBranch), 6);
  EXPECT_EQ(CountKind(List(), CAnnotation::kDimension), 0) << "no run is built";
  for (std::size_t i = 0; i < List().Size(); ++i) {
    const CAnnotation& a = *List().At(i);
    if (a.GetKind() == CAnnotation::kTitleBlock) {
      EXPECT_EQ(a.GetOffset()[0], 2000);
    }
    if (a.GetKind() == CAnnotation::kBranch) {
      EXPECT_FALSE(a.IsLabelPointUnset());
    }
  }
}

TEST_F(AnnotationUpdateTest, LengthDimensionsFollowTheRunsBuildState) {
  CRun* run = m_document->GetRuns().front();
  run->SetPartsState(1);
  Refresh();
  EXPECT_EQ(CountKind(List(), CAnnotation::kDimension), 3);
  run->SetPartsState(0);
  Refresh();
  EXPECT_EQ(CountKind(List(), CAnnotation::kDimension), 0);
  EXPECT_EQ(CountKind(List(), CAnnotation::kBranch), 6) << "branch dimensions stay";
  m_slots[kLabelDimension].flags = 1;
  Refresh();
  EXPECT_EQ(CountKind(List(), CAnnotation::kDimension), 6) << "shown on every run";
}

TEST_F(AnnotationUpdateTest, OfTwoDimensionsOfOneElementTheLaterSurvives) {
  m_slots[kLabelDimension].flags = 1;
  Refresh();
  CDev* element = m_document->GetRuns().front()->GetChainOrder().at(2);
  auto extra = std::make_unique<CAnnotation>(CAnnotation::kDimension);
  extra->SetOwnerElement(element);
  const CAnnotation* later = &List().Append(std::move(extra));
  Refresh();
  int owned = 0;
  for (std::size_t i = 0; i < List().Size(); ++i) {
    const CAnnotation* a = List().At(i);
    if (a->GetKind() != CAnnotation::kDimension || a->GetOwnerElement() != element) continue;
    ++owned;
    EXPECT_EQ(a, later);
  }
  EXPECT_EQ(owned, 1);
}

TEST_F(AnnotationUpdateTest, ADraggedBranchLabelKeepsItsPlaceUntilTheLengthChanges) {
  Refresh();
  CDev* element = m_document->GetRuns().front()->GetChainOrder().at(2);
  CAnnotation* branch = nullptr;
  for (std::size_t i = 0; i < List().Size(); ++i)
    if (List().At(i)->GetKind() == CAnnotation::kBranch &&
        List().At(i)->GetOwnerElement() == element)
      branch = List().At(i);
  ASSERT_NE(branch, nullptr);
  const C3DPoint dragged(1, 2, 3);
  branch->SetLabelPoint(dragged);
  Refresh();
  EXPECT_EQ(branch->GetLabelPoint(), dragged);
  element->SetBookedLength(1500);
  Refresh();
  EXPECT_NE(branch->GetLabelPoint(), dragged);
}

TEST_F(AnnotationUpdateTest, UserTextsOnAnElementAreLeftAlone) {
  CDev* element = m_document->GetRuns().front()->GetChainOrder().at(1);
  auto note = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
  note->SetOwnerElement(element);
  note->SetFlags(CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached);
  const CAnnotation* kept = &List().Append(std::move(note));
  Refresh();
  EXPECT_TRUE(List().Contains(kept));
}

TEST(ConnectionTextValuesTest, UnsetBoxesShowNoValues) {
  const struct {
    const char* guards;
    CConnectionBoxValues box;
    bool fromBack;
    std::optional<std::array<int, 3>> values;
  } rows[] = {
      {"a set box", {300, 200, 100, 10, 20, 30}, false, std::array<int, 3>{160, 80, 30}},
      {"measured from the back",
       {300, 200, 100, 10, 20, 30},
       true,
       std::array<int, 3>{160, 80, 70}},
      {"halves truncate toward zero",
       {301, 201, 0, -1, 0, 0},
       false,
       std::array<int, 3>{149, 100, 0}},
      {"no width", {0, 200, 100, 10, 20, 30}, false, std::nullopt},
      {"the unset x offset", {300, 200, 100, -157869, 20, 30}, false, std::nullopt},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ConnectionTextValues(row.box, row.fromBack), row.values) << row.guards;
}

}  // namespace
