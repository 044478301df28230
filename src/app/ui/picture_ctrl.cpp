#include "app/ui/picture_ctrl.h"

#include <QFile>
#include <QPainter>

#include "app/owner_draw_rules.h"
#include "app/ui/translator.h"

CPictureCtrl::CPictureCtrl(QWidget* parent) : QWidget(parent), m_options(kPictureDefaultOptions) {}

void CPictureCtrl::SetOptions(int options) {
  m_options = options;
  update();
}

bool CPictureCtrl::LoadPictureFile(const QString& path) {
  m_picture = QImage();
  update();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray bytes = file.readAll();
  if (bytes.isEmpty()) return false;
  // The format comes from the bytes, not from the file's name.
  return m_picture.loadFromData(bytes) && !m_picture.isNull();
}

bool CPictureCtrl::GetPictureSize(int& width, int& height) const {
  width = m_picture.isNull() ? 0 : m_picture.width();
  height = m_picture.isNull() ? 0 : m_picture.height();
  return !m_picture.isNull();
}

QRect CPictureCtrl::PictureRect() const {
  int width = 0;
  int height = 0;
  if (!GetPictureSize(width, height)) return QRect();
  CRect placed = PlacePicture(width, height, this->width(), this->height(), m_options);
  return QRect(placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top);
}

void CPictureCtrl::SetText(const QString& text) {
  m_text = text;
  update();
}

void CPictureCtrl::SetTextStyle(ETextStyle style, bool centerVertically) {
  m_textStyle = style;
  m_centerVertically = centerVertically;
  update();
}

void CPictureCtrl::SetTextFont(std::optional<QFont> font) {
  m_textFont = std::move(font);
  update();
}

QFont CPictureCtrl::TextFont() const {
  if (m_textFont) return *m_textFont;
  const CTranslator& translator = CTranslator::Instance();
  return translator.IsActive() ? translator.LanguageFont() : font();
}

int CPictureCtrl::TextFlags() const {
  if (m_centerVertically) {
    int horizontal = m_textStyle == ETextStyle::Center  ? Qt::AlignHCenter
                     : m_textStyle == ETextStyle::Right ? Qt::AlignRight
                                                        : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter | Qt::TextSingleLine;
  }
  switch (m_textStyle) {
    case ETextStyle::Center: return Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    case ETextStyle::Right: return Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap;
    case ETextStyle::LeftNoWordWrap: return Qt::AlignLeft | Qt::AlignTop;
    case ETextStyle::Left: break;
  }
  return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
}

void CPictureCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!m_picture.isNull()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureRect(), m_picture);
  }
  if (m_text.isEmpty()) return;
  painter.setFont(TextFont());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(rect(), TextFlags(), m_text);
}
