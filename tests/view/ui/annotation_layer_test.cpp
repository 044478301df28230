// The annotations a view keeps as a picture of their own and lays over its scene: drawn
// again only when what they are drawn from changed, and showing what a picture drawn in
// full shows.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <array>
#include <functional>
#include <optional>

#include "../layout_scene.h"
#include "app/app_settings.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_places.h"
#include "view/annotation_update.h"
#include "view/display_layers.h"
#include "view/ui/scene_paint_cache.h"
#include "view/ui/view_export.h"
#include "view/view_window.h"

namespace {

constexpr QSize kSize(900, 640);

std::unique_ptr<CDorneDoc> AnnotatedLayout(int runs = 3, int elementsPerRun = 10) {
  auto document = BuildLayoutScene(runs, elementsPerRun);
  for (CRun* run : document->GetRuns()) {
    run->SetCatalog("QDA");
    run->SetProp("Calibre", "06");
    run->SetPartsState(1);
  }
  auto text = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
  text->SetOwnerDocument();
  text->SetText("A note\ton two cells");
  text->SetOffset(300, 300);
  document->Annotations().Append(std::move(text));
  UpdateTitleBlock(*document, CAppSettings().labels);
  return document;
}

QImage Painted(const CDorneDoc& document, const CViewWindow& window,
               const CSceneDrawOptions& options, CScenePaintCache* cache) {
  QImage image(kSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintScene(painter, document, window, kSize, options, cache);
  painter.end();
  return image;
}

// Laid over the scene, the edges of smoothed glyphs may round a step otherwise than when
// drawn on it: pixels that differ by more than that.
int Unlike(const QImage& a, const QImage& b) {
  int unlike = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      unlike += std::abs(qRed(p) - qRed(q)) > 1 || std::abs(qGreen(p) - qGreen(q)) > 1 ||
                        std::abs(qBlue(p) - qBlue(q)) > 1
                    ? 1
                    : 0;
    }
  return unlike;
}

TEST(AnnotationLayerTest, KeptLabelsAreDrawnAgainOnlyWhenWhatTheyShowChanged) {
  const auto document = AnnotatedLayout();
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, {kSize.width(), kSize.height()});
  CSceneDrawOptions options = SceneOptionsFromSettings(CAppSettings(), false);
  options.layers.fill(true);
  CAnnotationPlaces places;
  options.annotationPlaces = &places;
  CDev* element = document->GetRuns().front()->GetChainOrder().at(4);
  CAnnotation* note = nullptr;
  for (std::size_t i = 0; i < document->Annotations().Size(); ++i)
    if (document->Annotations().At(i)->GetKind() == CAnnotation::kText)
      note = document->Annotations().At(i);
  ASSERT_NE(note, nullptr);
  const struct {
    const char* name;
    std::function<void()> change;
    bool redrawn;
  } steps[] = {
      {"nothing changed", [] {}, false},
      {"an element selected",
       [&] { element->SelectElement(true, element->GetBox(CDev::kBodySlot)); }, false},
      {"a label moved",
       [&] {
         note->SetOffset(900, 500);
         document->Annotations().Touch();
       },
       true},
      {"the view panned", [&] { window.Pan(120, 60); }, true},
      {"the texts hidden", [&] { options.layers[CAnnotation::kText] = false; }, true},
  };
  CScenePaintCache cache;
  QImage last = Painted(*document, window, options, &cache);
  EXPECT_TRUE(cache.Annotations().Redrawn());
  EXPECT_EQ(Unlike(last, Painted(*document, window, options, nullptr)), 0);
  for (const auto& step : steps) {
    step.change();
    const QImage kept = Painted(*document, window, options, &cache);
    EXPECT_EQ(cache.Annotations().Redrawn(), step.redrawn) << step.name;
    EXPECT_EQ(Unlike(kept, Painted(*document, window, options, nullptr)), 0) << step.name;
    EXPECT_EQ(kept == last, std::string(step.name) == "nothing changed") << step.name;
    EXPECT_TRUE(places.Drawn(*note) || !options.layers[CAnnotation::kText]) << step.name;
    last = kept;
  }
}

TEST(AnnotationLayerTest, ClearingTheKeptSceneDrawsTheLabelsAgain) {
  const auto document = AnnotatedLayout();
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, {kSize.width(), kSize.height()});
  const CSceneDrawOptions options = SceneOptionsFromSettings(CAppSettings(), false);
  CScenePaintCache cache;
  const QImage first = Painted(*document, window, options, &cache);
  cache.Clear();
  EXPECT_TRUE(Painted(*document, window, options, &cache) == first);
  EXPECT_TRUE(cache.Annotations().Redrawn());
}

// The layer is drawn anew on a thread of its own while the scene is played in bands; laid
// over them, it shows what a picture drawn in full shows, wherever the labels fall among
// the bands.
TEST(AnnotationLayerTest, LabelsDrawnWhileTheBandsPlayShowAsDrawnInFull) {
  const auto document = AnnotatedLayout(20, 50);
  const std::optional<CRect> extent = GetSceneExtent(*document);
  ASSERT_TRUE(extent.has_value());
  const struct {
    const char* name;
    std::array<int, 3> angles;
    double zoom;  // of the whole scene in the view
    CPoint pan;
  } rows[] = {
      {"the view as built, all of it in the view", {0, 0, 0}, 0.9, {0, 0}},
      {"turned, the labels across band edges", {30, 20, 0}, 0.9, {0, 0}},
      {"turned the other way and zoomed in", {-40, 15, 0}, 2.5, {0, 0}},
      {"zoomed out and panned, labels at the picture's edge", {10, 35, 0}, 0.5, {300, 200}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    document->SetViewAngles(row.angles[0], row.angles[1], row.angles[2]);
    CViewWindow window;
    window.ZoomAll(*GetSceneExtent(*document), row.zoom, {kSize.width(), kSize.height()});
    window.Pan(row.pan.x, row.pan.y);
    CSceneDrawOptions options = SceneOptionsFromSettings(CAppSettings(), false);
    options.layers.fill(true);
    CScenePaintCache cache;
    const QImage layered = Painted(*document, window, options, &cache);
    EXPECT_TRUE(cache.Annotations().Redrawn());
    EXPECT_EQ(Unlike(layered, Painted(*document, window, options, nullptr)), 0);
    // Played back from what was kept, with the layer kept as well.
    EXPECT_TRUE(Painted(*document, window, options, &cache) == layered);
    EXPECT_FALSE(cache.Annotations().Redrawn());
  }
}

// Without annotations there is no layer to lay over the scene; the first one added is
// drawn, and the last one taken out leaves nothing of it.
TEST(AnnotationLayerTest, ALayoutWithoutAnnotationsShowsItsScenePlainUntilOneIsAdded) {
  const auto document = BuildLayoutScene(3, 10);
  ASSERT_EQ(document->Annotations().Size(), 0u);
  CViewWindow window;
  window.ZoomAll(*GetSceneExtent(*document), 0.9, {kSize.width(), kSize.height()});
  CSceneDrawOptions options = SceneOptionsFromSettings(CAppSettings(), false);
  options.layers.fill(true);
  CScenePaintCache cache;
  const QImage plain = Painted(*document, window, options, &cache);
  EXPECT_TRUE(cache.Annotations().Redrawn());
  EXPECT_TRUE(plain == Painted(*document, window, options, nullptr));
  const struct {
    const char* name;
    std::function<void()> change;
    bool redrawn;
    bool showsPlain;
  } steps[] = {
      {"nothing changed: the bare layer is kept", [] {}, false, true},
      {"a note added",
       [&] {
         auto text = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
         text->SetOwnerDocument();
         text->SetText("A note");
         text->SetOffset(300, 300);
         document->Annotations().Append(std::move(text));
       },
       true, false},
      {"the note taken out", [&] { document->Annotations().Clear(); }, true, true},
      {"the view panned with none", [&] { window.Pan(120, 60); }, true, false},
  };
  for (const auto& step : steps) {
    step.change();
    const QImage kept = Painted(*document, window, options, &cache);
    EXPECT_EQ(cache.Annotations().Redrawn(), step.redrawn) << step.name;
    EXPECT_EQ(Unlike(kept, Painted(*document, window, options, nullptr)), 0) << step.name;
    EXPECT_EQ(kept == plain, step.showsPlain) << step.name;
  }
}

}  // namespace
