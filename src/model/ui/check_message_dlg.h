#pragma once

#include "model/document/check_message_frame.h"

#include <QDialog>

#include <functional>

class CCheckMessageTable;
class QLabel;
class QPushButton;
class QToolButton;

// The design-check dialog (dialog 239): shows the first record of a rebuild's message
// table, frames its element on the layout view, and for the length checks of the QD
// ranges offers to lengthen or shorten the element. ResultCode() is 1 when closed and 2
// after a correction (the caller rebuilds the run).
class CCheckMessageDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 239;
  static constexpr int kProblemId = 1108;
  static constexpr int kStatic1Id = 1109;
  static constexpr int kStatic2Id = 1110;
  static constexpr int kZoomId = 1111;
  static constexpr int kSolutionId = 1112;
  static constexpr int kZoomAllId = 1113;
  static constexpr int kLengthenId = 1689;
  static constexpr int kShortenId = 1046;
  static constexpr int kOkId = 1;

  // table: not owned; view: the layout view to frame on, or null.
  CCheckMessageDlg(const CCheckMessageTable& table, CCheckZoomTarget* view,
                   QWidget* parent = nullptr);
  ~CCheckMessageDlg() override;

  // Called before a correction changes the element (the document's undo step).
  void SetBeforeCorrection(std::function<void()> callback) {
    m_beforeCorrection = std::move(callback);
  }

  void ShowMessage(int index, bool erase);
  void ApplyLengthCorrection(int amount);
  int ResultCode() const { return m_result; }
  const CZoomRect& ZoomRect() const { return m_zoom; }

 private:
  void BuildControls();
  void LayOut(const QString& problem, const QString& solution);
  void OnZoom();
  void OnZoomAll();
  void done(int result) override;

  const CCheckMessageTable& m_table;
  CCheckZoomTarget* m_view = nullptr;
  int m_index = 0;
  int m_result = 1;
  CZoomRect m_zoom;
  std::function<void()> m_beforeCorrection;
  QLabel* m_problem = nullptr;
  QLabel* m_solution = nullptr;
  QLabel* m_static1 = nullptr;
  QLabel* m_static2 = nullptr;
  QToolButton* m_zoomButton = nullptr;
  QToolButton* m_zoomAllButton = nullptr;
  QPushButton* m_lengthen = nullptr;
  QPushButton* m_shorten = nullptr;
  QPushButton* m_ok = nullptr;
};
