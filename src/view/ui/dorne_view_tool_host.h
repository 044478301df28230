#pragma once

#include "view/view_tools.h"

class CDorneView;

// The layout view as the tools see it: beeps, cursors, prompts, the mouse capture, the
// length question, the view window and the pictures.
class CDorneViewToolHost : public CViewToolHost {
 public:
  explicit CDorneViewToolHost(CDorneView& view) : m_view(view) {}

  void Beep() override;
  void Refresh() override;
  void SetCursor(int cursor) override;
  void SetPrompt(int message) override;
  void Capture(bool on) override { m_captured = on; }
  bool HasCapture() const override { return m_captured; }
  std::optional<std::string> AskText(int message, const std::string& text) override;
  CPoint ToLogical(CPoint device) const override;
  CPoint ToDevice(CPoint logical) const override;
  CRect ClientRect() const override;
  bool ZoomToRect(CPoint first, CPoint second) override;
  void ExportViewImage(const CRect& rect) override;
  void FindViewPreset() override;
  void SetDistanceLayer(bool on) override;
  const CAnnotationPlaces& LabelPlaces() const override;
  int EditAnnotation(CAnnotationLabel& label, bool isNew) override;
  void EditProjectInfo() override;
  int RunTapOffDialog(int& code) override;
  int PlaceTapOffUnit(CBox& box, int code, CDev* unit) override;
  bool SettleTurnAside() override;
  void Tell(const std::string& text) override;

 private:
  CDorneView& m_view;
  bool m_captured = false;
};
