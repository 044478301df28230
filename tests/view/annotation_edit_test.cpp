#include <gtest/gtest.h>

#include "layout_scene.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_dialog_rules.h"
#include "view/annotation_edit.h"
#include "view/annotation_places.h"

namespace {

class AnnotationEditTest : public ::testing::Test {
 protected:
  void SetUp() override { m_document = BuildLayoutScene(3, 3); }
  CAnnotation& Add(int kind, std::array<std::int32_t, 4> rect, bool drawn) {
    auto made = std::make_unique<CAnnotationLabel>(kind);
    CAnnotation& added = m_document->Annotations().Append(std::move(made));
    if (drawn) m_places.Record(added, {rect[0], rect[1], rect[2], rect[3]}, {});
    return added;
  }
  std::unique_ptr<CDorneDoc> m_document;
  CAnnotationPlaces m_places;
};

TEST_F(AnnotationEditTest, TheMouseFindsTheLastDrawnLabelUnderIt) {
  CAnnotation& below = Add(CAnnotation::kText, {0, 0, 100, 50}, true);
  CAnnotation& above = Add(CAnnotation::kText, {50, 20, 150, 70}, true);
  Add(CAnnotation::kText, {0, 0, 200, 200}, false);
  const CAnnotationList& list = m_document->Annotations();
  EXPECT_EQ(HitTestAnnotations(list, m_places, {10, 10}), &below);
  EXPECT_EQ(HitTestAnnotations(list, m_places, {60, 30}), &above);
  EXPECT_EQ(HitTestAnnotations(list, m_places, {100, 10}), nullptr) << "right edge is outside";
  EXPECT_EQ(HitTestAnnotations(list, m_places, {180, 180}), nullptr)
      << "not drawn in the last pass";
}

TEST_F(AnnotationEditTest, DialogResultsAddKeepOrDelete) {
  const struct {
    bool fresh;
    int result;
    bool changed;
    std::size_t size;
  } rows[] = {{true, kEditOk, true, 2},       {true, kEditCancel, false, 1},
              {true, kEditDelete, false, 1},  {false, kEditOk, true, 1},
              {false, kEditCancel, false, 1}, {false, kEditDelete, true, 0},
              {false, kEditNone, false, 1}};
  for (const auto& row : rows) {
    m_document->Annotations().Clear();
    CAnnotation& existing = Add(CAnnotation::kText, {}, true);
    auto fresh = row.fresh ? std::make_unique<CAnnotationLabel>(CAnnotation::kText) : nullptr;
    EXPECT_EQ(
        ApplyEditResult(*m_document, std::move(fresh), row.fresh ? nullptr : &existing, row.result),
        row.changed)
        << row.fresh << " " << row.result;
    EXPECT_EQ(m_document->Annotations().Size(), row.size) << row.fresh << " " << row.result;
  }
}

TEST_F(AnnotationEditTest, AnElementsAutomaticTextOpensNoDialog) {
  CAnnotationLabel text(CAnnotation::kText);
  EXPECT_TRUE(IsUserEditable(text));
  text.SetFlags(CAnnotation::kFlagAttached);
  EXPECT_FALSE(IsUserEditable(text));
  text.SetFlags(CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached);
  EXPECT_TRUE(IsUserEditable(text));
  EXPECT_FALSE(IsUserEditable(CAnnotationLabel(CAnnotation::kTitleBlock)));
}

TEST_F(AnnotationEditTest, ASectionLabelTakesThoseOfLikeRunsAlong) {
  const std::vector<CRun*>& runs = m_document->GetRuns();
  const char* ratings[] = {"06", "06", "10"};
  std::vector<CAnnotation*> sections;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    runs[i]->SetProp("Catalog", "QDA");
    runs[i]->SetProp("Calibre", ratings[i]);
    auto section = std::make_unique<CAnnotation>(CAnnotation::kSection);
    section->SetOwnerRun(runs[i]);
    section->SetOffset(1000, 0);
    sections.push_back(&m_document->Annotations().Append(std::move(section)));
  }
  MoveAnnotation(*m_document, *sections[0], 100, 40, EAnnotationMove::kDrag);
  EXPECT_EQ(sections[0]->GetOffset(), (std::array<std::int32_t, 2>{1100, 40}));
  EXPECT_EQ(sections[1]->GetOffset(), (std::array<std::int32_t, 2>{1100, 40}));
  EXPECT_EQ(sections[2]->GetOffset(), (std::array<std::int32_t, 2>{1000, 0}));
}

TEST_F(AnnotationEditTest, AResetPutsADimensionsLabelBackBetweenItsEnds) {
  const std::vector<CDev*> chain = m_document->GetRuns().front()->GetChainOrder();
  auto made = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
  made->SetEnd(0, chain[0]);
  made->SetEnd(1, chain[2]);
  made->SetDimensionCodes({CDev::kBodySlot, 9, CDev::kBodySlot, 9});
  CAnnotation& dimension = m_document->Annotations().Append(std::move(made));
  const std::uint64_t before = m_document->Annotations().Changes();
  MoveAnnotation(*m_document, dimension, 30, -20, EAnnotationMove::kDrag);
  EXPECT_GT(m_document->Annotations().Changes(), before) << "a kept picture is out of date";
  const C3DPoint half = (chain[2]->GetBox(CDev::kBodySlot)->GetOrigin() -
                         chain[0]->GetBox(CDev::kBodySlot)->GetOrigin()) *
                        0.5;
  EXPECT_NE(dimension.GetLabelPoint(), half);
  MoveAnnotation(*m_document, dimension, 0, 0, EAnnotationMove::kReset);
  EXPECT_EQ(dimension.GetLabelPoint(), half);
  EXPECT_EQ(dimension.GetOffset(), (std::array<std::int32_t, 2>{0, 0}));
}

TEST(AnnotationDialogRulesTest, AlignmentAndMeasuringBits) {
  using namespace annotation_dialog;
  EXPECT_EQ(AlignmentEntry(0x010), 0);
  EXPECT_EQ(AlignmentEntry(0x030), 0) << "both bits: left";
  EXPECT_EQ(AlignmentEntry(0x020), 2);
  EXPECT_EQ(AlignmentEntry(0), 1);
  EXPECT_EQ(WithAlignment(0x231, 2), 0x221u);
  EXPECT_EQ(WithAlignment(0x221, 1), 0x201u);
  EXPECT_EQ(WithMeasuringMode(0x1C1, 1), 0x141u);
  EXPECT_EQ(WithMeasuringMode(0x101, 7), 0x101u) << "an unknown mode measures directly";
  EXPECT_EQ(WithOpaqueSwitch(0x00050400, true), 0x00050401u) << "the box bytes are kept";
  EXPECT_EQ(WithOpaqueSwitch(0x000504FF, false), 0x00050400u);
}

TEST(AnnotationDialogRulesTest, AShownWithRunTextIsLinkedToTheRunOfTheShownPage) {
  const std::unique_ptr<CDorneDoc> document = BuildLayoutScene(2, 2);
  CAnnotationLabel text(CAnnotation::kText);
  document->SetBomPage(0);
  annotation_dialog::ApplyRunChoice(text, true, document.get());
  EXPECT_NE(text.GetFlags() & CAnnotation::kFlagWithRun, 0u);
  EXPECT_EQ(text.GetLinkedRun(), nullptr) << "the totals page names no run";
  document->SetBomPage(2);
  annotation_dialog::ApplyRunChoice(text, true, document.get());
  EXPECT_EQ(text.GetLinkedRun(), document->GetCurrentRun());
  annotation_dialog::ApplyRunChoice(text, false, document.get());
  EXPECT_EQ(text.GetFlags() & CAnnotation::kFlagWithRun, 0u);
}

TEST(AnnotationDialogRulesTest, TheHiddenAttachBoxPutsATextOnTheSelectedElementOrFreesIt) {
  using namespace annotation_dialog;
  const std::unique_ptr<CDorneDoc> document = BuildLayoutScene(1, 3);
  CDev* element = document->GetRuns().front()->GetChainOrder().at(1);
  constexpr std::uint32_t kBoth = CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached;
  CAnnotationLabel text(CAnnotation::kText);
  text.SetOffset(300, 400);
  EXPECT_FALSE(AttachChoiceEnabled(text, nullptr)) << "a free text, nothing selected";
  ApplyAttachChoice(text, true, nullptr);
  EXPECT_EQ(text.GetFlags() & kBoth, 0u);
  EXPECT_TRUE(AttachChoiceEnabled(text, element));
  ApplyAttachChoice(text, true, element);
  EXPECT_EQ(text.GetFlags() & kBoth, kBoth);
  EXPECT_EQ(text.GetOwnerElement(), element);
  EXPECT_EQ(text.GetOffset(), (std::array<std::int32_t, 2>{0, 500}));
  EXPECT_TRUE(AttachChoiceEnabled(text, nullptr)) << "an attached text can be freed";
  ApplyAttachChoice(text, true, nullptr);
  EXPECT_EQ(text.GetOwnerElement(), element) << "kept as it is";
  ApplyAttachChoice(text, false, nullptr);
  EXPECT_EQ(text.GetFlags() & kBoth, 0u);
  EXPECT_EQ(text.GetOwnerKind(), EAnnotationOwner::kDocument);
  EXPECT_EQ(text.GetOffset(), (std::array<std::int32_t, 2>{0, 0}));
}

// A text linked to a run or put on an element in its dialog goes with that run or element:
// neither leaves it pointing at an object that is gone.
TEST_F(AnnotationEditTest, ATextEditedOntoARunOrElementGoesWithIt) {
  CAnnotationList& list = m_document->Annotations();
  CRun* run = m_document->GetRuns().at(1);
  CDev* element = m_document->GetRuns().at(2)->GetChainOrder().at(0);
  auto& linked = static_cast<CAnnotationLabel&>(Add(CAnnotation::kText, {}, true));
  auto& attached = static_cast<CAnnotationLabel&>(Add(CAnnotation::kText, {}, true));
  m_document->SetCurrentRun(run);
  m_document->SetBomPage(2);
  annotation_dialog::ApplyRunChoice(linked, true, m_document.get());
  ASSERT_TRUE(ApplyEditResult(*m_document, nullptr, &linked, kEditOk));
  annotation_dialog::ApplyAttachChoice(attached, true, element);
  ASSERT_TRUE(ApplyEditResult(*m_document, nullptr, &attached, kEditOk));
  list.RemoveRunAnnotations(*run);
  EXPECT_FALSE(list.Contains(&linked));
  ASSERT_TRUE(list.Contains(&attached));
  list.RemoveElementAnnotations(*element, true);
  EXPECT_FALSE(list.Contains(&attached));
}

}  // namespace
