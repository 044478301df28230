#pragma once

#include <QStatusBar>

class QLabel;

// The status bar of the main frame: the message pane, the program's picture (pane 514,
// 245 pixels wide, no border), the distance pane 513 of the layout view and the three
// key-lock panes. Panes are named "pane_514", "pane_513", "pane_caps", "pane_num" and
// "pane_scroll".
class CFrameStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit CFrameStatusBar(QWidget* parent = nullptr);

  // The idle prompt ("Ready").
  void ShowIdlePrompt();
  void SetPaneText(int paneId, const QString& text);
  QString PaneText(int paneId) const;

 private:
  QLabel* AddIndicator(const QString& name, int message);

  QLabel* m_iconPane = nullptr;
  QLabel* m_distancePane = nullptr;
};
