#include "app/ui/draw_list_box.h"

#include <QApplication>
#include <QBitmap>
#include <QFontDatabase>
#include <QPainter>
#include <QStyledItemDelegate>

#include <optional>

#include "app/owner_draw_rules.h"

namespace {

int g_sharedItemHeight = -1;

class CBitmapItemDelegate : public QStyledItemDelegate {
 public:
  explicit CBitmapItemDelegate(CDrawListBox* list) : QStyledItemDelegate(list), m_list(list) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
    QPixmap bitmap = m_list->ItemBitmap(index.row());
    return QSize(bitmap.isNull() ? 0 : bitmap.width(), m_list->ItemHeight());
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect,
                      option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    QPixmap bitmap = m_list->ItemBitmap(index.row());
    if (!bitmap.isNull()) painter->drawPixmap(option.rect.topLeft(), bitmap);
    if (option.state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.QStyleOption::operator=(option);
      focus.backgroundColor = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
      m_list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, m_list);
    }
    painter->restore();
  }

 private:
  CDrawListBox* m_list;
};

}  // namespace

CDrawListBox::CDrawListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new CBitmapItemDelegate(this));
  setUniformItemSizes(true);
}

void CDrawListBox::SetBitmaps(const std::vector<QPixmap>& bitmaps) {
  m_bitmaps.clear();
  for (const QPixmap& bitmap : bitmaps) {
    QPixmap keyed = bitmap;
    if (!keyed.isNull()) keyed.setMask(bitmap.createMaskFromColor(Qt::white, Qt::MaskInColor));
    m_bitmaps.push_back(keyed);
  }
  doItemsLayout();
  viewport()->update();
}

QPixmap CDrawListBox::ItemBitmap(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= m_bitmaps.size()) return QPixmap();
  return m_bitmaps[static_cast<std::size_t>(row)];
}

int CDrawListBox::ItemHeight() const {
  if (g_sharedItemHeight < 0) {
    QFont font = parentWidget() ? parentWidget()->font()
                                : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    std::optional<int> first;
    if (!m_bitmaps.empty() && !m_bitmaps.front().isNull()) first = m_bitmaps.front().height();
    g_sharedItemHeight = BitmapListItemHeight(QFontMetrics(font).height(), first);
  }
  return g_sharedItemHeight;
}

void CDrawListBox::ResetSharedItemHeight() { g_sharedItemHeight = -1; }
