#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "app/app_settings.h"
#include "model/document/check_message_frame.h"
#include "model/document/doc_observer.h"
#include "view/annotation_places.h"
#include "view/annotation_update.h"
#include "view/element_draw_cache.h"
#include "view/scene_drawing.h"
#include "view/ui/scene_paint_cache.h"
#include "view/ui/settle_ahead.h"
#include "view/view_window.h"

class CBOMGrid;
class CDorneDoc;
class CDrawMapping;
class CDorneViewToolHost;
class CProfile;
class CViewTools;
class QMouseEvent;

// The 3D layout view of a layout document: the document's scene drawn through the
// drawing context in the document's view window, with zoom, panning, the view presets
// and the display layers. It follows the document's notices and repaints; the document
// never calls it. The mouse and the keys drive the document's tool modes
// (dorne_view_tools.cpp).
class CDorneView : public QWidget, public CDocObserver, public CCheckZoomTarget {
  Q_OBJECT

 public:
  // The application's settings (zoom and move factors, layers, support display, back
  // buffer) and the settings file toggles are written to; null: defaults of its own,
  // nothing written.
  struct CContext {
    CAppSettings* settings = nullptr;
    CProfile* profile = nullptr;
  };

  CDorneView(CDorneDoc& document, const CContext& context, QWidget* parent = nullptr);
  ~CDorneView() override;

  CDorneDoc* Document() const { return m_document; }
  // The document is going: the view shows nothing from now on.
  void Detach();
  const CAppSettings& Settings() const { return *m_settings; }

  // The view window as the document keeps it.
  CViewWindow ViewWindow() const;
  CSize ClientSize() const { return {width(), height()}; }
  CSceneDrawOptions DrawOptions(bool monochrome) const;
  // What the view shows, drawn anew into a picture of the client's size.
  QImage Snapshot() const;
  // While the mouse turns, pans or zooms the view, and until it rests for a moment, the
  // view shows the light picture of the elements; then the full one again.
  // A release whose scene is still being settled aside shows it until done: asked, the
  // view waits for that.
  bool ShowsLightPicture() {
    if (m_releasePending) m_settleAhead.Finish(false);
    return m_moving;
  }
  // Whether a released turn's scene is being settled aside, without waiting for it.
  bool SettlingRelease() const { return m_releasePending; }
  // A scene of fewer boxes is rebuilt at the release itself: the sort aside runs on
  // several threads only from about 2,000 boxes, and below twice that its thread and the
  // picture recorded there cost more than they spare. From 5,000 boxes on, the release
  // aside shows the full picture in about half the time of a rebuild at the release.
  static constexpr std::size_t kReleaseAsideFromBoxes = 4096;
  void SetReleaseAsideFrom(std::size_t boxes) { m_releaseAsideFrom = boxes; }
  // How long the mouse rests before that (a test on a busy machine may lengthen it).
  void SetRestTime(int milliseconds) { m_rest.setInterval(milliseconds); }
  int RestTime() const { return m_rest.interval(); }
  // Whether the order of the view turned last was sorted aside while the mouse paused
  // (waiting for a sort under way).
  bool SortedAside() {
    m_settleAhead.Finish(false);
    return m_settleAhead.LastDone();
  }

  // Where this view's last pass on the screen drew the labels (its mouse finds them there,
  // whatever another view of the document shows).
  const CAnnotationPlaces& LabelPlaces() const { return m_labelPlaces; }

  // How many times the full or light picture was recorded for a paint (a picture
  // recorded aside, and then played, not counted).
  std::size_t PicturesRecorded() const { return m_paintCache.Recordings(); }

  // The view commands (each records its undo step and repaints); false where the
  // view refuses (it beeps then).
  bool ZoomIn();
  bool ZoomOut();
  void ZoomAll() override;
  bool ZoomToRect(CPoint first, CPoint second);
  void PanBy(std::int32_t dx, std::int32_t dy);
  // Preset 0..13 turns the view and zooms to fit; any other number only finds which
  // preset the current angles are.
  void ApplyViewPreset(int preset);
  // Turns the view to the projection angles, re-sorts the scene, finds the preset and
  // zooms to fit (the view angle dialog's apply).
  void ApplyViewAngles(const std::array<int, 3>& angles);
  void ToggleVisibility(int index);
  void Refresh();

  void OnDocNotice(EDocNotice notice, CRun* run) override;

  // Rebuilds the current run's parts; its design-check dialog frames the elements of
  // each message on this view (dorne_view_checks.cpp).
  bool RebuildCurrentRun();
  std::vector<std::pair<double, double>> ProjectedCorners(const CDev& element) const override;
  void SetHighlight(double x, double y, int radius, bool erase) override;
  void ZoomToRect(const CZoomRect& rect) override;

  // Tools (dorne_view_tools.cpp).
  CViewTools& Tools() const { return *m_tools; }
  // The tool commands; false for any other command.
  bool OnToolCommand(int command);
  bool UpdateToolCommand(int command, bool& enabled, std::optional<bool>& checked) const;
  // Ends the mouse action under way (Escape, wherever the focus is in the window).
  void FinishMouseAction();
  // Takes a page's saved view: its angles, then its rectangle; false when the page saved
  // no rectangle (the caller then fits the whole scene).
  bool TakeSavedView(const CBOMGrid& page);
  // A new run of the current run's range at a new start marker, as one undo step.
  void NewRun();
  // The cursor of the tool mode, as its resource number.
  int ToolCursor() const { return m_toolCursor; }
  void SetToolCursor(int cursor);
  // Asks for a text (the prompt, the text offered); nothing when not confirmed. Tests
  // give their own; the default asks in a dialog.
  using CTextAsker = std::function<std::optional<QString>(const QString&, const QString&)>;
  void SetTextAsker(CTextAsker asker) { m_askText = std::move(asker); }
  std::optional<QString> AskText(const QString& prompt, const QString& text);
  // Sounds the warning beep (tests count them).
  void SetBeeper(std::function<void()> beeper) { m_beep = std::move(beeper); }
  void Beep();

 signals:
  // The support display changed: the bill-of-materials grids show it.
  void SupportDisplayChanged();
  // The status line is to show this message.
  void PromptRequested(int message);
  // The status line is to show this text for now: why a click changed nothing.
  void StatusTextRequested(const QString& text);
  // The length from the insertion point toward the pointer along a free direction
  // (empty when there is none), for the status bar's distance pane.
  void DistanceChanged(const QString& text);
  // A picture of the view is asked for: the client rectangle, empty for all of it.
  void PictureRequested(const QRect& region);
  // The project information is to be edited (a double click on the title block).
  void ProjectInfoRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 public:
  // The folder of the document's file, where pictures are looked for by name.
  void SetDocumentFolder(std::string folder) { m_documentFolder = std::move(folder); }

 private:
  friend class CDorneViewToolHost;
  // The automatic annotations brought in step before the scene is painted.
  void RefreshAnnotations();
  void SaveViewStep(int action, bool force = false);
  void Store(const CViewWindow& window);
  void FitStoredWindow();
  void FitWindow(const CViewWindow& stored);
  // Tools (dorne_view_tools.cpp).
  void CreateTools();
  bool ToolKeyPress(QKeyEvent* event);
  void PaintToolOverlay(QPainter& painter) const;
  void PaintHighlight(QPainter& painter, const CDrawMapping& mapping) const;
  // The view moves under the mouse: light pictures until it rests.
  void NoteMotion();
  void EndMotion();
  void SettleAhead();
  // The release of a turn settles the scene aside (see CViewToolHost::SettleTurnAside)
  // when the order is the rebuild's to take; EndRelease once done or called off.
  bool SettleReleaseAside();
  void EndRelease();
  // The options of the full picture shown while the view rests.
  CSceneDrawOptions RestingDrawOptions() const;
  // Whether another view of the document turned its scene and has not settled it yet:
  // until then its boxes hold no face data (that view settles it once its mouse rests or
  // lets go, aside if it can; its own light picture needs none).
  bool TurnedElsewhere() const;
  // Settles such a scene, so that this view answers a click, or draws a picture asked of
  // it, from the faces of the turned scene rather than from none.
  void SettleTurnedScene();

  CDorneDoc* m_document;
  struct CHighlight {
    double x = 0, y = 0;
    int radius = 0;
  } m_highlight;
  CAppSettings m_ownSettings;
  CAppSettings* m_settings;
  CProfile* m_profile;
  QSize m_lastSize;
  QImage m_buffer;
  bool m_fitted = false;
  // The window the document was shown with, until the user changes it: while the frame
  // settles (a child window shown, then maximised) each new size fits this window afresh
  // rather than widening the last fit, so that opening a document does not change it.
  std::optional<CViewWindow> m_openedWindow;
  // Supports and outlets of the elements, kept across repaints until the document tells
  // of a change.
  mutable CElementDrawCache m_drawCache;
  CScenePaintCache m_paintCache;           // both cleared on every notice of the document
  CAnnotationRefresh m_annotationRefresh;  // marked stale on every notice
  // Written by the pass that draws the labels (a picture of them may be drawn while the
  // view's own is played, on another thread) and read between paints.
  mutable CAnnotationPlaces m_labelPlaces;
  // The full picture recorded after the order was sorted aside, for the paint once the
  // mouse stops; cleared on every notice.
  CScenePaintCache m_settledPicture;
  std::unique_ptr<CDorneViewToolHost> m_toolHost;
  std::unique_ptr<CViewTools> m_tools;
  int m_toolCursor = 0;
  CTextAsker m_askText;
  std::string m_documentFolder;
  std::function<void()> m_beep;
  bool m_moving = false;
  bool m_releasePending = false;  // between SettleReleaseAside and EndRelease
  std::size_t m_releaseAsideFrom = kReleaseAsideFromBoxes;
  QTimer m_rest;   // ends the light pictures once the mouse has rested
  QTimer m_pause;  // sorts a turned view aside once the mouse has paused
  CSettleAhead m_settleAhead;
};
