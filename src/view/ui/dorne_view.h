#pragma once

#include <QImage>
#include <QWidget>

#include "app/app_settings.h"
#include "model/doc_observer.h"
#include "view/element_draw_cache.h"
#include "view/scene_drawing.h"
#include "view/view_window.h"

class CDorneDoc;
class CProfile;

// The 3D layout view of a layout document: the document's scene drawn through the
// drawing context in the document's view window, with zoom, panning, the view presets
// and the display layers. It follows the document's notices and repaints; the document
// never calls it. Tool modes and mouse editing are not part of it.
class CDorneView : public QWidget, public CDocObserver {
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

  // The view commands (each records its undo step and repaints); false where the
  // view refuses (it beeps then).
  bool ZoomIn();
  bool ZoomOut();
  void ZoomAll();
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

 signals:
  // The support display changed: the bill-of-materials grids show it.
  void SupportDisplayChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SaveViewStep(int action, bool force = false);
  void Store(const CViewWindow& window);
  void FitStoredWindow();

  CDorneDoc* m_document;
  CAppSettings m_ownSettings;
  CAppSettings* m_settings;
  CProfile* m_profile;
  QSize m_lastSize;
  QImage m_buffer;
  bool m_fitted = false;
  // Supports and outlets of the elements, kept across repaints until the document tells
  // of a change.
  mutable CElementDrawCache m_drawCache;
};
