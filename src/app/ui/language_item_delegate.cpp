#include "app/ui/language_item_delegate.h"

#include <QApplication>
#include <QPainter>

#include "app/info_dialog_rules.h"
#include "app/ui/flag_sheet.h"
#include "app/ui/translator.h"

namespace {

constexpr int kItemHeight = 16;
constexpr int kNameIndent = 25;

QFont NameFont(const std::string& key, const QFont& fallback) {
  std::optional<int> charset = LanguageCharset(key);
  if (!charset) return fallback;
  std::optional<QFont> font = CTranslator::Instance().SetLanguageCharset(*charset, false);
  return font ? *font : fallback;
}

}  // namespace

void CLanguageItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  const QPalette& palette = option.palette;
  bool selected = option.state & QStyle::State_Selected;
  bool enabled = option.state & QStyle::State_Enabled;
  painter->save();
  painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
  painter->setPen(!enabled
                      ? palette.color(QPalette::Disabled, QPalette::Text)
                      : (selected ? palette.highlightedText().color() : palette.text().color()));
  std::string key = index.data(Qt::UserRole).toString().toStdString();
  painter->setFont(NameFont(key, option.font));
  QRect nameRect = option.rect.adjusted(kNameIndent, 0, 0, 0);
  painter->setClipRect(option.rect);
  painter->drawText(nameRect, Qt::AlignVCenter | Qt::AlignLeft,
                    index.data(Qt::DisplayRole).toString());
  QPixmap flag = LanguageFlag(LanguageNumber(key));
  if (!flag.isNull())
    painter->drawPixmap(QRect(option.rect.left() + 1, option.rect.top() + 1, 20, 14), flag);
  painter->restore();
}

QSize CLanguageItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  return QSize(size.width() + kNameIndent, std::max(kItemHeight, size.height()));
}
