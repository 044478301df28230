#pragma once

#include <QStyledItemDelegate>

// Draws one entry of the language list: the language's flag at the left (when it has
// one) and its name 25 pixels further, in a font that can show the language's
// character set. Items are 16 pixels high. The entry key ("033--0") is the item's
// Qt::UserRole data.
class CLanguageItemDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
