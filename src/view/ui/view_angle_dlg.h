#pragma once

#include <QDialog>

#include <array>

#include "view/view_presets.h"

class CDorneView;
class QComboBox;
class QSpinBox;

// Sets the three view angles of a layout view by number, or from one of ten preset
// orientations, and applies them with or without closing. The edits show the angles as
// the user thinks of them (-180..180: the first one turned the other way); the view
// turns the projection, re-sorts the scene and zooms to fit.
class CViewAngleDlg : public QDialog {
  Q_OBJECT

 public:
  // view: the view it turns; without one the dialog refuses to open (exec returns 0).
  explicit CViewAngleDlg(CDorneView* view, QWidget* parent = nullptr);

  int exec() override;

  // The angles of the edits, as shown.
  CViewAngles ShownAngles() const;
  void SetShownAngles(const CViewAngles& angles);
  // Chooses combo entry 0..9 (its angles go into the edits, nothing is applied).
  void ChooseEntry(int entry);
  int ChosenEntry() const;
  // Applies the edits to the view; false when there is no view.
  bool Apply();

 private:
  void BuildControls();
  void LoadFromView();
  void FollowPreset();

  CDorneView* m_view;
  QComboBox* m_presets = nullptr;
  std::array<QSpinBox*, 3> m_edits{};
};
