#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/app_settings.h"
#include "app/message_text.h"
#include "layout_scene.h"
#include "model/annotation/annotation.h"
#include "model/annotation/annotation_list.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "platform/folders.h"
#include "view/annotation_drawing.h"
#include "view/annotation_icons.h"
#include "view/annotation_update.h"
#include "view/display_layers.h"
#include "view/draw_context.h"
#include "view/draw_recorder.h"
#include "view/nominal_font_measurer.h"
#include "view/view_window.h"

namespace {

constexpr CSize kTarget{1200, 900};

// A grey 24-bit bitmap file of the size (a width of whole 4-byte scan lines).
void WriteBitmap(const std::string& path, std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> b(54 + width * 3 * height, 0x80);
  const auto put = [&b](std::size_t at, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  std::fill(b.begin(), b.begin() + 54, 0);
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<std::uint32_t>(b.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, width, 4);
  put(22, height, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

class AnnotationRunLabelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_document = BuildLayoutScene(3, 4);
    m_tables.options = {{"1", "IP 41"}, {"2", "IP 55"}};
    for (CRun* run : m_document->GetRuns()) {
      run->AttachRangeTables(m_tables);
      run->SetCatalog("QDA");
      run->SetProp("Calibre", "06");
    }
    m_options = SceneOptionsFromSettings(CAppSettings(), false);
    m_options.layers.fill(true);
  }

  CRun& Run(std::size_t i) { return *m_document->GetRuns().at(i); }

  const CAnnotation* Owned(const CRun* run, int kind) const {
    const CAnnotationList& list = m_document->Annotations();
    for (std::size_t i = 0; i < list.Size(); ++i)
      if (list.At(i)->GetKind() == kind && list.At(i)->GetOwnerRun() == run) return list.At(i);
    return nullptr;
  }

  std::vector<CDrawRecorder::Call> Draw(bool dxf = false) {
    CDrawRecorder recorder;
    CNominalFontMeasurer measurer;
    CDrawContext dc(recorder, measurer, kTarget);
    CViewWindow::FromDocument(*m_document).ApplyTo(dc.Mapping(), kTarget);
    m_options.dxf = dxf;
    DrawAnnotationLayers(dc, *m_document, m_options);
    return recorder.Calls();
  }

  std::optional<CRect> LabelRect(const CAnnotation& a) {
    CDrawRecorder recorder;
    CNominalFontMeasurer measurer;
    CDrawContext dc(recorder, measurer, kTarget);
    CViewWindow::FromDocument(*m_document).ApplyTo(dc.Mapping(), kTarget);
    return AnnotationLabelRect(dc, *m_document, a, m_options);
  }

  static int Count(const std::vector<CDrawRecorder::Call>& calls, const std::string& layer,
                   const std::string& kind) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const auto& call) {
      return call.layer == layer && call.kind == kind;
    }));
  }

  std::unique_ptr<CDorneDoc> m_document;
  CRangeTables m_tables;
  CSceneDrawOptions m_options;
  CLabelStyleSlots m_slots = CAppSettings().labels;
};

TEST_F(AnnotationRunLabelsTest, TheInformationLabelShowsProtectionWeightAndSupports) {
  const std::string weight = StringText(61455);
  const std::string supports = StringText(30198);
  const struct {
    const char* ip;
    const char* supp;
    bool weights;
    std::vector<std::string> shown, hidden;
  } cases[] = {
      {"2", "", false, {"\n\tIP 55"}, {weight, supports, "<ICO"}},
      {" ", "12/345", true, {weight + "\t345 kg", supports + "\t12  ", "\n\t<ICO1 >"}, {"IP "}},
      {"", "12/345", false, {supports + "\t12  "}, {weight}},
      {"9", "0", true, {"\n\t9"}, {weight, supports}},
      {"", "x/y", true, {}, {weight, supports, "<ICO"}},
  };
  for (const auto& c : cases) {
    Run(0).SetProp("IP", c.ip);
    Run(0).SetProp("SUPP", c.supp);
    UpdateRunAnnotations(*m_document, Run(0), m_slots, c.weights);
    const CAnnotation* info = Owned(&Run(0), CAnnotation::kRunInfo);
    ASSERT_NE(info, nullptr);
    for (const std::string& text : c.shown)
      EXPECT_NE(info->GetText().find(text), std::string::npos) << c.supp << "\n" << info->GetText();
    for (const std::string& text : c.hidden)
      EXPECT_EQ(info->GetText().find(text), std::string::npos) << c.supp << "\n" << info->GetText();
  }
}

TEST_F(AnnotationRunLabelsTest, LabelsOfDifferentRunsDoNotLieOnEachOther) {
  Run(2).SetProp("Calibre", "10");
  UpdateTitleBlock(*m_document, m_slots);
  Draw();
  std::vector<CRect> rects;
  for (std::size_t i = 0; i < 3; ++i) {
    const auto info = LabelRect(*Owned(&Run(i), CAnnotation::kRunInfo));
    ASSERT_TRUE(info);
    rects.push_back(*info);
  }
  const auto section0 = LabelRect(*Owned(&Run(0), CAnnotation::kSection));
  const auto section2 = LabelRect(*Owned(&Run(2), CAnnotation::kSection));
  ASSERT_TRUE(section0 && section2);
  rects.push_back(*section0);
  rects.push_back(*section2);
  for (std::size_t i = 0; i < rects.size(); ++i)
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      const CRect& a = rects[i];
      const CRect& b = rects[j];
      EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top)
          << i << " overlaps " << j;
    }
  // Runs of one catalogue and rating show the same section: their labels share a place.
  EXPECT_EQ(Owned(&Run(1), CAnnotation::kSection)->GetOffset(),
            Owned(&Run(0), CAnnotation::kSection)->GetOffset());
  EXPECT_EQ(Owned(&Run(0), CAnnotation::kRunInfo)->GetOffset(),
            (std::array<std::int32_t, 2>{0, 0}));
}

TEST_F(AnnotationRunLabelsTest, EveryRunHasADefaultPlaceOfItsOwn) {
  // Runs 5 and beyond once took the places of runs 1 to 4.
  m_document = BuildLayoutScene(9, 2);
  const char* calibres[] = {"06", "08", "10", "12", "16", "20", "25", "32", "40"};
  for (std::size_t i = 0; i < 9; ++i) {
    Run(i).AttachRangeTables(m_tables);
    Run(i).SetCatalog("QDA");
    Run(i).SetProp("Calibre", calibres[i]);
  }
  UpdateTitleBlock(*m_document, m_slots);
  for (int kind : {CAnnotation::kRunInfo, CAnnotation::kSection}) {
    std::vector<std::array<std::int32_t, 2>> places;
    std::vector<CRect> rects;
    for (std::size_t i = 0; i < 9; ++i) {
      const CAnnotation* label = Owned(&Run(i), kind);
      ASSERT_NE(label, nullptr) << "run " << i << " kind " << kind;
      places.push_back(label->GetOffset());
      const auto rect = LabelRect(*label);
      ASSERT_TRUE(rect);
      rects.push_back(*rect);
    }
    for (std::size_t i = 0; i < places.size(); ++i)
      for (std::size_t j = i + 1; j < places.size(); ++j) {
        EXPECT_NE(places[i], places[j]) << "kind " << kind << ": runs " << i << " and " << j;
        const CRect& a = rects[i];
        const CRect& b = rects[j];
        EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top ||
                    b.bottom <= a.top)
            << "kind " << kind << ": run " << i << " overlaps " << j;
      }
  }
}

TEST_F(AnnotationRunLabelsTest, ASecondLabelOfARunGoesAndTheLaterOneStays) {
  UpdateTitleBlock(*m_document, m_slots);
  CAnnotationList& list = m_document->Annotations();
  const std::size_t count = list.Size();
  std::vector<CAnnotation*> later;
  for (int kind : {CAnnotation::kRunInfo, CAnnotation::kSection, CAnnotation::kBom}) {
    auto second = std::make_unique<CAnnotation>(kind);
    second->SetOwnerRun(&Run(1));
    second->SetOffset(77, 88);
    later.push_back(&list.Append(std::move(second)));
  }
  UpdateTitleBlock(*m_document, m_slots);
  EXPECT_EQ(list.Size(), count);
  for (CAnnotation* a : later) {
    ASSERT_TRUE(list.Contains(a)) << a->GetKind();
    EXPECT_EQ(Owned(&Run(1), a->GetKind()), a) << a->GetKind();
  }
}

TEST_F(AnnotationRunLabelsTest, TheRefreshRunsOnlyWhenWhatItDependsOnChanged) {
  CAnnotationRefresh refresh;
  EXPECT_TRUE(refresh.Run(*m_document, m_slots, false));
  EXPECT_FALSE(refresh.Run(*m_document, m_slots, false));
  CAnnotationList& list = m_document->Annotations();
  const std::size_t count = list.Size();
  // An automatic label deleted comes back at the next paint.
  list.Remove(const_cast<CAnnotation*>(Owned(&Run(1), CAnnotation::kRunInfo)));
  EXPECT_TRUE(refresh.Run(*m_document, m_slots, false));
  EXPECT_EQ(list.Size(), count);
  EXPECT_FALSE(refresh.Run(*m_document, m_slots, false));
  Run(0).SetProp("Name", "Renamed");
  refresh.MarkStale();  // the document's notice of the change
  EXPECT_TRUE(refresh.Run(*m_document, m_slots, false));
  EXPECT_NE(Owned(&Run(0), CAnnotation::kRunInfo)->GetText().find("Renamed"), std::string::npos);
  EXPECT_TRUE(refresh.Run(*m_document, m_slots, true)) << "the weights setting changed";
  m_slots[kLabelDimension].flags ^= 1;
  EXPECT_TRUE(refresh.Run(*m_document, m_slots, true)) << "a label setting changed";
  m_document->SetCurrentRunOnly(!m_document->IsCurrentRunOnly());
  EXPECT_TRUE(refresh.Run(*m_document, m_slots, true)) << "other runs shown";
  EXPECT_FALSE(refresh.Run(*m_document, m_slots, true));
}

TEST_F(AnnotationRunLabelsTest, TheTotalsTableListsTheLinesOfEveryRunMerged) {
  m_document->SetCurrentRunOnly(false);
  const struct {
    std::size_t run;
    const char* reference;
    int quantity;
  } lines[] = {{0, "REF-A", 2}, {1, "REF-A", 3}, {1, "REF-B", 1}, {2, "REF-C", 4}};
  for (const auto& line : lines)
    Run(line.run).GetBOM().AddRefQuantity(line.reference, line.quantity);
  for (CRun* run : m_document->GetRuns()) run->SetPartsState(1);
  UpdateTitleBlock(*m_document, m_slots);
  std::vector<std::string> texts;
  for (const auto& call : Draw())
    if (call.layer == "BOM" && call.kind == "Text") texts.push_back(call.text);
  const auto shown = [&texts](const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  };
  for (const char* text : {"REF-A", "REF-B", "REF-C", "5", "1", "4"})
    EXPECT_TRUE(shown(text)) << text;
  EXPECT_FALSE(shown("2")) << "run quantities are merged";
  Run(2).SetPartsState(0);
  EXPECT_EQ(Count(Draw(), "BOM", "Text"), 0) << "shown only when every run is built";
}

TEST_F(AnnotationRunLabelsTest, TheSupportIconIsDrawnOnScreenAndLeftOutOfDxf) {
  Run(0).SetProp("SUPP", "3");
  m_document->SetCurrentRunOnly(true);
  m_document->SetCurrentRun(&Run(0));
  UpdateTitleBlock(*m_document, m_slots);
  const auto bitmaps = [](const std::vector<CDrawRecorder::Call>& calls) {
    std::vector<CRect> found;
    for (const auto& call : calls)
      if (call.layer == "INFO" && call.kind == "Bitmap")
        found.push_back({call.points[0].x, call.points[0].y, call.points[1].x, call.points[1].y});
    return found;
  };
  const std::vector<CRect> screen = bitmaps(Draw());
  ASSERT_EQ(screen.size(), 1u);
  EXPECT_EQ(screen[0].right - screen[0].left, 32);
  EXPECT_EQ(screen[0].bottom - screen[0].top, 32);
  const auto info = LabelRect(*Owned(&Run(0), CAnnotation::kRunInfo));
  ASSERT_TRUE(info);
  EXPECT_GT(screen[0].left, info->left);
  EXPECT_LT(screen[0].bottom, info->bottom);
  EXPECT_TRUE(bitmaps(Draw(true)).empty());
  EXPECT_EQ(AnnotationIcon(384), nullptr) << "an icon the program does not have";
}

TEST_F(AnnotationRunLabelsTest, TheTitleBlockShowsTheLogoOfTheProgramFolderAboveItsLines) {
  UpdateTitleBlock(*m_document, m_slots);
  const std::string logo = tvr::platform::ProgramFolder() + kTitleBlockLogoFile;
  std::filesystem::remove(logo);
  EXPECT_EQ(Count(Draw(), "CART", "Bitmap"), 0) << "no logo file";
  WriteBitmap(logo, 60, 20);
  std::vector<CDrawRecorder::Call> calls = Draw();
  std::filesystem::remove(logo);
  const auto found = std::find_if(calls.begin(), calls.end(), [](const auto& call) {
    return call.layer == "CART" && call.kind == "Bitmap";
  });
  ASSERT_NE(found, calls.end());
  const CAnnotation* title = nullptr;
  for (std::size_t i = 0; i < m_document->Annotations().Size(); ++i)
    if (m_document->Annotations().At(i)->GetKind() == CAnnotation::kTitleBlock)
      title = m_document->Annotations().At(i);
  ASSERT_NE(title, nullptr);
  const auto box = LabelRect(*title);
  ASSERT_TRUE(box);
  const CPoint topLeft = found->points[0];
  const CPoint bottomRight = found->points[1];
  EXPECT_EQ(bottomRight.x, box->right);
  EXPECT_EQ(bottomRight.y, box->top) << "above the lines, not on them";
  EXPECT_EQ(bottomRight.x - topLeft.x, 3 * (bottomRight.y - topLeft.y)) << "the logo's shape";
  EXPECT_EQ(Count(Draw(true), "CART", "Bitmap"), 0);
}

}  // namespace
