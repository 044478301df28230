#include <gtest/gtest.h>

#include "platform/text_conversions.h"
#include "view/annotation_label_box.h"
#include "view/draw_context.h"
#include "view/draw_recorder.h"
#include "view/nominal_font_measurer.h"

namespace {

// The extents a pass keeps are those the context measures, in the font selected at the
// time: a text measured again in another font is measured anew.
TEST(LabelTextExtentsTest, KnownExtentsFollowTheFontSelected) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, {800, 600});
  CLabelTextExtents known;
  const struct {
    const char* font;
    const char* text;
  } steps[] = {{"Arial,9,0", "1000 mm"},  {"Arial,9,0", "12"},    {"Arial,9,0", "1000 mm"},
               {"Arial,20,0", "1000 mm"}, {"Arial,20,700", "12"}, {"Arial,9,0", "12"}};
  for (const auto& step : steps) {
    dc.SelectFont(TextToLogFont(step.font));
    EXPECT_EQ(known.Of(dc, step.text), dc.GetTextExtent(step.text)) << step.font << step.text;
  }
}

}  // namespace
