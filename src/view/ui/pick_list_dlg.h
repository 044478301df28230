#pragma once

#include <QDialog>
#include <QRect>
#include <QStringList>

#include "platform/draw_types.h"
#include "platform/log_font.h"

class QLineEdit;
class QListWidget;

// The reference pick list over a bill-of-materials cell: an edit field the size of the
// cell with the run's code table always listed under it (at most six items high). The
// text is the typed or chosen reference.
class CPickListDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxVisibleItems = 6;

  // cell: the cell's rectangle in global coordinates.
  CPickListDlg(const QRect& cell, const CLogFont& font, CColor color, const QStringList& codes,
               const QString& text, QWidget* parent = nullptr);

  QString GetText() const;
  QListWidget* List() const { return m_list; }
  QLineEdit* Edit() const { return m_edit; }

 private:
  QLineEdit* m_edit = nullptr;
  QListWidget* m_list = nullptr;
};
