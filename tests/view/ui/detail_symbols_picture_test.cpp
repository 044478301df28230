// Close-ups of element details drawn through QPainter, kept as build/test-output/
// detail_symbols_qg.png, detail_symbols_qm.png and busbar_sections.png for review: the bar
// ends of ranges QG and QM with their phase labels, the pictograms of kind-8 elements, the
// source symbols of feed units and the six busbar cross-sections of section labels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <optional>

#include "../detail_scene.h"
#include "app/child_process.h"
#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/phase_order.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "samplewriter/sample_layout.h"
#include "support/test_output.h"
#include "view/busbar_section.h"
#include "view/draw_context.h"
#include "view/element_draw_options.h"
#include "view/draw_recorder.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/nominal_font_measurer.h"
#include "view/ui/qt_draw_device.h"
#include "view/ui/qt_font_measurer.h"
#include "view/ui/view_export.h"

namespace {

constexpr CSize kPanel{600, 500};

// Fits the mapping to the projected boxes of the elements, y up.
void FitElements(CDrawContext& dc, const std::vector<const CDev*>& elements) {
  double left = 1e300, bottom = 1e300, right = -1e300, top = -1e300;
  for (const CDev* e : elements) {
    for (const auto& slot : e->GetBoxSlots()) {
      if (!slot) continue;
      left = std::min(left, slot->GetProjectedMin().x),
      right = std::max(right, slot->GetProjectedMax().x);
      bottom = std::min(bottom, slot->GetProjectedMin().y),
      top = std::max(top, slot->GetProjectedMax().y);
    }
  }
  CDrawMapping& mapping = dc.Mapping();
  mapping.SetMode(MapMode::Isotropic);
  mapping.SetWindowOrigin({std::int32_t((left + right) / 2), std::int32_t((bottom + top) / 2)});
  mapping.SetWindowExtent(
      {std::int32_t((right - left) * 1.3) + 200, std::int32_t((top - bottom) * 1.3) + 200});
  mapping.SetViewportExtent({kPanel.cx, -kPanel.cy});
  mapping.SetViewportOrigin({kPanel.cx / 2, kPanel.cy / 2});
}

// Every box of the elements, far ones first, as the scene would draw them.
void DrawBoxes(CDrawContext& dc, const std::vector<const CDev*>& elements) {
  std::vector<const CBox*> boxes;
  for (const CDev* e : elements)
    for (const auto& slot : e->GetBoxSlots())
      if (slot) boxes.push_back(slot.get());
  std::stable_sort(boxes.begin(), boxes.end(), [](const CBox* a, const CBox* b) {
    return a->GetProjectedMax().z < b->GetProjectedMax().z;
  });
  CElementDrawCache cache;
  const CElementDrawOptions options = CElementDrawOptions::FromSettings(CAppSettings(), false);
  for (const CBox* box : boxes) DrawElementBox(dc, *box, 0, cache, options);
}

QImage Panel(const std::vector<const CDev*>& elements) {
  QImage image(kPanel.cx, kPanel.cy, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  {
    CQtDrawDevice device(painter);
    CQtFontMeasurer measurer;
    CDrawContext dc(device, measurer, kPanel);
    FitElements(dc, elements);
    DrawBoxes(dc, elements);
  }
  painter.setPen(Qt::gray);
  painter.drawRect(0, 0, kPanel.cx - 1, kPanel.cy - 1);
  return image;
}

// What the same drawing hands to a recorder: the texts, and the logical x of each.
std::vector<std::pair<std::string, int>> Labels(const std::vector<const CDev*>& elements) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, kPanel);
  FitElements(dc, elements);
  DrawBoxes(dc, elements);
  std::vector<std::pair<std::string, int>> texts;
  for (const auto& call : recorder.Calls())
    if (call.kind == "Text") texts.emplace_back(call.text, call.points[0].x);
  return texts;
}

QImage Sheet(const std::vector<QImage>& panels) {
  QImage sheet(kPanel.cx * static_cast<int>(panels.size()), kPanel.cy, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  for (std::size_t i = 0; i < panels.size(); ++i)
    painter.drawImage(int(i) * kPanel.cx, 0, panels[i]);
  return sheet;
}

int CountColour(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour ? 1 : 0;
  return count;
}

void ShowAll(const CDetailScene& scene) {
  for (const auto& slot : scene.element->GetBoxSlots())
    if (slot) {
      slot->ClearFaceNibbles();
      scene.document->Projection().UpdateFaceVisibility(*slot);
    }
}

// Pictograms of kind-8 elements and a feed unit with its source, hand-placed.
std::vector<CDetailScene> SymbolScenes(const std::string& catalog) {
  std::vector<CDetailScene> scenes;
  for (int variant : {7, 8, 13, 9}) {
    CDetailScene& s = scenes.emplace_back(catalog, CDev::kInLineVariant, variant, 4);
    s.run->SetProp("COTE_NEUTRE", "0");
    const double x = 900.0 * (variant == 13 ? 2 : variant == 9 ? 3 : variant - 7);
    s.Place(7, {x, 0, 0}, 500, 300, 300)->SetKindCode(1);
  }
  CDetailScene& feed = scenes.emplace_back(catalog, CDev::kEnd, 0, 4);
  feed.Place(7, {0, -1500, 0}, 600, 600, 600)->SetPassWord(0xf2000000u | (1u << 26));
  CDetailScene& board = scenes.emplace_back(catalog, CDev::kEnd, 0, 4);
  board.Place(7, {1500, -1500, 0}, 600, 600, 600)->SetPassWord(0xf1000000u | (3u << 26));
  for (const CDetailScene& s : scenes) ShowAll(s);
  return scenes;
}

std::vector<const CDev*> ElementsOf(const std::vector<CDetailScene>& scenes) {
  std::vector<const CDev*> elements;
  for (const CDetailScene& s : scenes) elements.push_back(s.element);
  return elements;
}

// A range QM end of variant 6 with its six bars and, further along, the bars' part box.
CDetailScene QmBarEnd(int phaseCode) {
  CDetailScene scene("QM", CDev::kEnd, 6, 4);
  scene.run->SetFlagsWord(phase_order::WithCode(2, phaseCode));
  scene.Place(CBoxOwner::kBodySlot, {0, 700, 0}, 400, 600, 700)->SetKindCode(1);
  scene.Place(7, {0, 700, 0}, 400, 600, 700)->SetKindCode(1);
  for (int slot = 10; slot <= 15; ++slot)
    scene.Place(slot, {0, 200, 110.0 * (slot - 10) - 275}, 120, 400, 10)->SetKindCode(1);
  ShowAll(scene);
  return scene;
}

class DetailSymbolsPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
    RegisterRangeRuns();
    CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  }
  void TearDown() override {
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().Reset();
  }
};

// A QG end laid out by the range with its bars; the run's phase order as given.
CDev* QgEnd(CDorneDoc& document, int phaseCode) {
  document.OnNewDocument("");
  while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
  std::vector<CDev*> laid;
  EXPECT_EQ(LayOutSample(document, "run QGA 10\nstart 2\ngo 4 3000\nend 0\n", &laid), "");
  if (laid.empty()) return nullptr;
  CDev& shape = *laid.front();
  CRun& run = *shape.GetRun();
  run.SetFlagsWord(phase_order::WithCode(run.GetFlagsWord(), phaseCode));
  shape.SetStyle((shape.GetStyle() & ~0xF000FFu) | 2u | (2u << 20));
  shape.SetPropValue("ENTRAX", "200/200/200");
  shape.BuildBoxes(0);
  document.RebuildScene();
  return &shape;
}

TEST_F(DetailSymbolsPictureTest, QgEndsShowBarsLabelledInThePhaseOrder) {
  CDorneDoc document;
  std::vector<std::vector<std::pair<std::string, int>>> orders;
  std::vector<QImage> panels;
  for (const int code : {1, 0}) {  // "123", then "321"
    CDev* shape = QgEnd(document, code);
    ASSERT_NE(shape, nullptr);
    ASSERT_NE(shape->GetBox(11), nullptr);
    orders.push_back(Labels({shape}));
    panels.push_back(Panel({shape}));
  }
  const std::vector<CDetailScene> symbols = SymbolScenes("QGA");
  panels.push_back(Panel(ElementsOf(symbols)));
  const QImage sheet = Sheet(panels);
  EXPECT_TRUE(sheet.save(QString::fromStdString(TestOutputPath("detail_symbols_qg.png")), "PNG"));
  // The phases are labelled, and turning the order round swaps phases 1 and 3 on the row.
  auto xOf = [](const auto& labels, const std::string& text) -> std::optional<int> {
    const auto it =
        std::find_if(labels.begin(), labels.end(), [&](auto& l) { return l.first == text; });
    if (it == labels.end()) return std::nullopt;
    return it->second;
  };
  for (const auto& labels : orders)
    for (const char* text : {"N", "1", "2", "3"}) EXPECT_TRUE(xOf(labels, text)) << text;
  EXPECT_EQ(xOf(orders[0], "1") < xOf(orders[0], "3"), xOf(orders[1], "3") < xOf(orders[1], "1"));
  EXPECT_GT(CountColour(panels.back(), qRgb(200, 0, 0)), 0) << "the red pictograms";

  // The section label of the run takes its housings from the run's catalogue.
  const CRun& run = *QgEnd(document, 1)->GetRun();
  const auto* ratings = run.GetRatingList();
  ASSERT_NE(ratings, nullptr);
  ASSERT_FALSE(ratings->empty());
  const auto section =
      BusbarSectionOf(run, run.GetPropText("Catalog") + "   " + ratings->front().label);
  ASSERT_TRUE(section.has_value());
  EXPECT_EQ(section->range, 'G');
  EXPECT_EQ(section->width, run.FindReference().Width());
  EXPECT_EQ(section->height, run.FindReference().Height());
  EXPECT_EQ(section->scaleHeight, run.FindReference(ratings->back().code).Height());
  const CRun bare(&document);
  EXPECT_FALSE(BusbarSectionOf(bare, "QGA   2500").has_value()) << "no ratings: nothing";
  EXPECT_GT(CountColour(panels.back(), qRgb(0, 0, 200)), 0) << "the blue pictogram";
}

// The view's own DXF export (the path of its command) carries the phase labels, and the
// view's own paint shows the bar ends of the laid-out run.
TEST_F(DetailSymbolsPictureTest, TheViewsExportAndPaintCarryTheDetails) {
  CDorneDoc document;
  CDev* shape = QgEnd(document, 1);
  ASSERT_NE(shape, nullptr);
  const QSize size(1000, 700);
  CViewWindow window;
  const auto extent = GetSceneExtent(document);
  ASSERT_TRUE(extent.has_value());
  window.ZoomAll(*extent, 0.9, {size.width(), size.height()});
  CSceneDrawOptions options;
  options.monochrome = true;
  const std::string path = TestOutputPath("detail_symbols_view.dxf");
  std::string fault;
  ASSERT_TRUE(ExportViewDxf(document, window, size, options, QString::fromStdString(path), fault))
      << fault;
  CChildProcess python;
  if (python.Start("/usr/bin/python3", {"-c", "import ezdxf"}) != 0 || python.Wait() != 0)
    GTEST_SKIP() << "python3-ezdxf is not installed";
  CChildProcess check;
  const std::string script = std::string(TVR_SOURCE_DIR) + "/tests/view/check_detail_dxf.py";
  ASSERT_EQ(check.Start("/usr/bin/python3", {script, path, "RUN", "N", "1", "2", "3"}), 0);
  EXPECT_EQ(check.Wait(), 0);
  const QImage shown = RenderScene(document, window, size, CSceneDrawOptions());
  EXPECT_TRUE(shown.save(QString::fromStdString(TestOutputPath("detail_symbols_view.png")), "PNG"));
}

TEST_F(DetailSymbolsPictureTest, QmEndsShowBarsPictogramsAndSources) {
  const CDetailScene bars = QmBarEnd(1);
  const auto labels = Labels({bars.element});
  std::vector<std::string> texts;
  for (const auto& l : labels) texts.push_back(l.first);
  // each bar labelled, once on each of its two broad faces
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::string>{"1", "1", "2", "2", "3", "3", "N", "N", "PE", "PE",
                                             "PE", "PE"}));
  const std::vector<CDetailScene> symbols = SymbolScenes("QM");
  const QImage sheet = Sheet({Panel({bars.element}), Panel(ElementsOf(symbols))});
  EXPECT_TRUE(sheet.save(QString::fromStdString(TestOutputPath("detail_symbols_qm.png")), "PNG"));
  EXPECT_GT(CountColour(sheet, qRgb(128, 128, 128)), 0) << "the grey source symbols";
}

TEST(BusbarSectionsPictureTest, EachRangeHasItsCrossSection) {
  constexpr int kCell = 300;
  QImage image(kCell * 3, kCell * 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  {
    CQtDrawDevice device(painter);
    CQtFontMeasurer measurer;
    CDrawContext dc(device, measurer, {kCell * 3, kCell * 2});
    const struct {
      char range;
      int w, h, neutral, digit;
      const char* name;
    } rows[] = {{'J', 160, 130, 0, 2, "QJF 2000"}, {'D', 140, 110, 0, 0, "QDA 1000"},
                {'G', 200, 300, 4, 0, "QGA 2500"}, {'P', 120, 140, 0, 0, "QPA 630"},
                {'M', 180, 700, 5, 0, "QMC 4000"}, {'W', 120, 250, 3, 0, "QWA 400"}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      const auto& row = rows[i];
      const std::int32_t left = kCell * std::int32_t(i % 3), top = kCell * std::int32_t(i / 3);
      CBusbarSection section;
      section.range = row.range, section.width = row.w, section.height = row.h;
      section.scaleWidth = 200, section.scaleHeight = 700;
      section.neutral = row.neutral, section.ratingDigit = row.digit;
      dc.SelectPen({PenStyle::Solid, 0, {0, 0, 0}});
      CLogFont font;
      font.faceName = "Arial", font.height = 14;
      dc.SelectFont(font);
      dc.DrawText(row.name, CRect{left, top + 5, left + kCell, top + 25}, text_format::kCenter);
      DrawBusbarSection(dc, section, CRect{left + 80, top + 40, left + 260, top + 220}, 8, 8);
    }
  }
  painter.end();
  EXPECT_TRUE(image.save(QString::fromStdString(TestOutputPath("busbar_sections.png")), "PNG"));
  EXPECT_GT(CountColour(image, qRgb(0, 0, 0)), 6 * 200);
}

// A QMA connection unit laid out by the range in bar mode, on a run with a protective
// conductor and with a connection piece: the protective conductor's two bars are
// labelled "PE", and the shims, laid against the bars of the neutral and the phases, take
// over those bars' labels.
TEST_F(DetailSymbolsPictureTest, QmProtectiveBarsAndShimsOfALaidOutUnit) {
  CDorneDoc document;
  document.OnNewDocument("");
  while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
  std::vector<CDev*> laid;
  ASSERT_EQ(LayOutSample(document,
                         "run QMA 25\nprop Neutral 5\nstart 6\nfield CLINQ 3/400/1\nentrax 1\n"
                         "go 4 3000\nend 1\n",
                         &laid),
            "");
  ASSERT_FALSE(laid.empty());
  laid.front()->GetRun()->RebuildParts(0);
  document.SetViewAngles(30, 315, 0);  // from below
  document.RebuildScene();
  const CDev& unit = *laid.front();
  for (int slot : {14, 15, 16, 17, 18, 19}) EXPECT_NE(unit.GetBox(slot), nullptr) << slot;
  // The labels each box draws on its own.
  const auto textsOf = [&](std::initializer_list<int> wanted) {
    CDrawRecorder recorder;
    CNominalFontMeasurer measurer;
    CDrawContext dc(recorder, measurer, kPanel);
    FitElements(dc, {&unit});
    CElementDrawCache cache;
    const CElementDrawOptions options = CElementDrawOptions::FromSettings(CAppSettings(), false);
    for (const int slot : wanted) DrawElementBox(dc, *unit.GetBox(slot), 0, cache, options);
    std::vector<std::string> texts;
    for (const auto& call : recorder.Calls())
      if (call.kind == "Text") texts.push_back(call.text);
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    return texts;
  };
  EXPECT_EQ(textsOf({14, 15}), (std::vector<std::string>{"PE"}));
  EXPECT_EQ(textsOf({16, 17, 18, 19}), (std::vector<std::string>{"1", "2", "3", "N"}));
  EXPECT_TRUE(textsOf({10, 11, 12, 13}).empty()) << "the shims carry the labels";
}

}  // namespace
