#include "app/ui/draw_tree_ctrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "app/owner_draw_rules.h"
#include "app/ui/translator.h"

namespace {

constexpr int kImageSize = 16;
constexpr int kMinimumRowHeight = 18;
const QColor kLightGrey(0xC0, 0xC0, 0xC0);
const QColor kGrey(0x80, 0x80, 0x80);

// Rows high enough for the images.
class CTreeRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    return QSize(size.width() + kTreeImageOffset, std::max(size.height(), kMinimumRowHeight));
  }
};

QRect ToQRect(const CRect& rect) {
  return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

CDrawTreeCtrl::CDrawTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  header()->hide();
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setItemDelegate(new CTreeRowDelegate(this));
  setIndentation(19);
}

void CDrawTreeCtrl::SetItemImages(QTreeWidgetItem* item, int image, int selectedImage) {
  item->setData(0, kImageRole, image);
  item->setData(0, kSelectedImageRole, selectedImage);
}

void CDrawTreeCtrl::SetImageList(std::vector<QPixmap> images) {
  m_images = std::move(images);
  viewport()->update();
}

void CDrawTreeCtrl::SetHasLines(bool on) {
  m_hasLines = on;
  viewport()->update();
}

void CDrawTreeCtrl::SetHasButtons(bool on) {
  m_hasButtons = on;
  viewport()->update();
}

void CDrawTreeCtrl::SetBackgroundBrush(std::optional<QBrush> brush) {
  m_background = std::move(brush);
  viewport()->update();
}

int CDrawTreeCtrl::ShownImage(QTreeWidgetItem* item) const {
  int role = item->isSelected() ? kSelectedImageRole : kImageRole;
  return TreeItemImage(item->data(0, role).toInt(), item->childCount() > 0, item->isExpanded(),
                       m_hasButtons);
}

QRect CDrawTreeCtrl::TextRect(QTreeWidgetItem* item) const {
  QRect cell = visualItemRect(item);
  if (cell.isEmpty()) return QRect();
  int width = QFontMetrics(ItemFont()).horizontalAdvance(item->text(0)) + 4;
  return QRect(cell.left() + 1 + kTreeImageOffset, cell.top(), width, cell.height());
}

QFont CDrawTreeCtrl::ItemFont() const {
  const CTranslator& translator = CTranslator::Instance();
  return translator.IsActive() ? translator.LanguageFont() : font();
}

void CDrawTreeCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect().adjusted(-2, -2, 2, 2),
                   m_background ? *m_background : QBrush(Qt::white));
  painter.setFont(ItemFont());
  bool focused = hasFocus();
  for (QTreeWidgetItem* item = itemAt(0, 0); item; item = itemBelow(item)) {
    QRect cell = visualItemRect(item);
    if (cell.top() > viewport()->height()) break;
    PaintItem(painter, item, focused);
    if (m_hasLines && item->parent()) PaintLines(painter, item);
  }
}

void CDrawTreeCtrl::PaintItem(QPainter& painter, QTreeWidgetItem* item, bool focused) const {
  QRect text = TextRect(item);
  painter.setPen(Qt::black);
  if (item->isSelected()) {
    painter.fillRect(text.adjusted(-1, -1, 1, 1),
                     focused ? palette().brush(QPalette::Highlight) : QBrush(kLightGrey));
    if (focused) painter.setPen(palette().color(QPalette::HighlightedText));
  }
  painter.drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   item->text(0));
  int image = ShownImage(item);
  if (image >= 0 && static_cast<std::size_t>(image) < m_images.size()) {
    QRect target(text.left() - kTreeImageOffset, text.center().y() - kImageSize / 2 + 1, kImageSize,
                 kImageSize);
    painter.drawPixmap(target, m_images[static_cast<std::size_t>(image)]);
  }
}

void CDrawTreeCtrl::PaintLines(QPainter& painter, QTreeWidgetItem* item) const {
  QRect text = TextRect(item);
  int x = text.left() - kTreeImageOffset - 1;
  int y = text.center().y();
  int end = TreeConnectorEnd(x, indentation());
  painter.setPen(kLightGrey);
  painter.drawLine(x, y, end, y);
  QTreeWidgetItem* parent = item->parent();
  if (parent->indexOfChild(item) != parent->childCount() - 1) return;
  QRect parentText = TextRect(parent);
  int top = parentText.isEmpty() ? 0 : parentText.bottom() + 1;
  painter.drawLine(end, y, end, top);
  if (m_hasButtons) PaintExpandBoxes(painter, item, end);
}

void CDrawTreeCtrl::PaintExpandBoxes(QPainter& painter, QTreeWidgetItem* item, int x) const {
  QTreeWidgetItem* parent = item->parent();
  for (int index = parent->indexOfChild(item); index >= 0; --index) {
    QTreeWidgetItem* sibling = parent->child(index);
    QRect rect = visualItemRect(sibling);
    if (sibling->childCount() == 0 || rect.isEmpty()) continue;
    CTreeExpandBox box = TreeExpandBox(x, rect.center().y(), !sibling->isExpanded());
    QRect frame = ToQRect(box.frame);
    painter.fillRect(frame, m_background ? *m_background : QBrush(Qt::white));
    painter.setPen(kGrey);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.fillRect(ToQRect(box.bar), Qt::black);
    if (box.upright) painter.fillRect(ToQRect(*box.upright), Qt::black);
  }
}

bool CDrawTreeCtrl::ToggleOnImage(const QPoint& point) {
  QTreeWidgetItem* item = itemAt(point);
  if (!item || !IsOnTreeImage(point.x(), TextRect(item).left())) return false;
  setCurrentItem(item);
  if (item->childCount() > 0) item->setExpanded(!item->isExpanded());
  return true;
}

void CDrawTreeCtrl::mousePressEvent(QMouseEvent* event) {
  if (!m_hasButtons && event->button() == Qt::LeftButton) {
    if (ToggleOnImage(event->position().toPoint())) {
      event->accept();
      return;
    }
    // Without buttons the indentation holds no expand box to click.
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item && event->position().x() < visualItemRect(item).left()) {
      event->accept();
      return;
    }
  }
  QTreeWidget::mousePressEvent(event);
}
