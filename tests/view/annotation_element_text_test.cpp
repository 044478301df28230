// The automatic text of an element: a QM feed unit with a breaker (kind 0, variant 4)
// shows the values of its connection box, recomputed at every refresh; the text mode
// depends neither on the element's bill line nor on the label styles.
#include <gtest/gtest.h>

#include <string>

#include "layout_scene.h"
#include "model/annotation/annotation.h"
#include "model/annotation/annotation_list.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "view/annotation_update.h"

namespace {

// The automatic text of the element (kind 6, attached), none when it has none.
const CAnnotation* AutomaticText(const CDorneDoc& document, const CDev& element) {
  const CAnnotationList& list = document.Annotations();
  for (std::size_t i = 0; i < list.Size(); ++i) {
    const CAnnotation* a = list.At(i);
    if (a->GetKind() == CAnnotation::kText && a->GetOwnerElement() == &element) return a;
  }
  return nullptr;
}

TEST(AnnotationElementTextTest, AQMFeedUnitShowsItsConnectionBoxValues) {
  const struct {
    const char* catalog;
    int variant;
    bool box;
    std::uint32_t coverSide;  // style bits 26-27
    const char* notext;
    const char* text;  // "-": no automatic text
    const char* guards;
  } rows[] = {
      {"QMA", 4, true, 0, "", "A = 160\nB = 80\nC = 120", "the box's values"},
      {"QMC", 4, true, 1u << 26, "", "A = 160\nB = 80\nC = 280", "depth less z from the back"},
      {"QMA", 4, false, 0, "", "-", "no connection box"},
      {"QMA", 4, true, 0, "1", "-", "NOTEXT"},
      {"QMA", 3, true, 0, "", "-", "another variant"},
      {"QDA", 4, true, 0, "", "-", "another range"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.guards);
    std::unique_ptr<CDorneDoc> document = BuildLayoutScene(1, 3);
    CRun& run = *document->GetRuns().front();
    run.SetCatalog(row.catalog);
    CDev& feed = *run.GetDevices().front();
    feed.SetVariantBoth(row.variant);
    feed.SetStyle(feed.GetStyle() | row.coverSide);
    feed.SetPropValue("NOTEXT", row.notext);
    if (row.box) document->AddEquipmentBox(feed, {320, 160, 400, 0, 0, 120});
    // No bill line and the label styles all off: the text is still worked out.
    const CLabelStyleSlots slots{};
    UpdateRunAnnotations(*document, run, slots);
    const CAnnotation* text = AutomaticText(*document, feed);
    if (std::string(row.text) == "-") {
      EXPECT_EQ(text, nullptr);
      continue;
    }
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), row.text);
    EXPECT_EQ(text->GetFlags(), 0x910u);
    // A changed box shows at the next refresh.
    document->SetEquipmentValues(feed, {320, 160, 400, 10, 0, 120});
    UpdateRunAnnotations(*document, run, slots);
    ASSERT_EQ(AutomaticText(*document, feed), text);
    EXPECT_EQ(text->GetText().substr(0, 7), "A = 170");
  }
}

}  // namespace
