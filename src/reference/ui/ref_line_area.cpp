#include "reference/ui/ref_line_area.h"

#include <QCheckBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <array>

#include "app/typed_field.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_picture.h"

namespace {

// The zone colours: title bars of the six zones, and the frame of them all.
const std::array<QColor, 6> kZoneTitles = {QColor(255, 224, 178), QColor(200, 230, 201),
                                           QColor(230, 230, 230), QColor(187, 222, 251),
                                           QColor(225, 190, 231), QColor(255, 249, 196)};
const QColor kZoneFrame(245, 245, 245);

QRect ToQRect(const CRefRect& rect) {
  return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

}  // namespace

CRefLineArea::CRefLineArea(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ref_line_area"));
  setMinimumSize(560, 360);
  m_plus = new QPushButton(QStringLiteral("+"), this);
  m_plus->setObjectName(QStringLiteral("ref_quantity_plus"));
  m_minus = new QPushButton(QStringLiteral("-"), this);
  m_minus->setObjectName(QStringLiteral("ref_quantity_minus"));
  m_rows = new QScrollBar(Qt::Vertical, this);
  m_rows->setObjectName(QStringLiteral("ref_price_rows"));
  connect(m_plus, &QPushButton::clicked, this, [this] { emit QuantityChanged(1); });
  connect(m_minus, &QPushButton::clicked, this, [this] { emit QuantityChanged(-1); });
  connect(m_rows, &QScrollBar::valueChanged, this, [this] { update(); });
  HideControls();
}

int CRefLineArea::RowHeight() const { return fontMetrics().height() + 8; }

// Wide enough for seven digits, and for the quantity buttons side by side.
int CRefLineArea::ColumnUnit() const {
  return std::max(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 7, 2 * RowHeight() + 4);
}

int CRefLineArea::ZoneWidth() const {
  return std::min(width() / 2 - RowHeight(),
                  fontMetrics().horizontalAdvance(QLatin1Char('0')) * 44);
}

void CRefLineArea::HideControls() {
  for (auto& [control, edit] : m_edits) edit->hide();
  for (auto& [control, label] : m_captions) label->hide();
  for (auto& [control, button] : m_chooseButtons) button->hide();
  for (auto& [control, box] : m_checkBoxes) box->hide();
  m_plus->hide();
  m_minus->hide();
  m_rows->hide();
}

void CRefLineArea::ShowNothing() {
  m_content = Content::Nothing;
  HideControls();
  update();
}

void CRefLineArea::ShowSchematic(LayoutMaker maker, int picture, const std::map<int, int>& counts,
                                 bool countsLocked) {
  m_content = Content::Schematic;
  m_maker = std::move(maker);
  m_picture = picture;
  m_counts = counts;
  m_countsLocked = countsLocked;
  HideControls();
  LayOut();
  update();
}

void CRefLineArea::ShowPrices(const CRefReportView& view, bool lineTotal, bool selectionTotal,
                              bool quantityButtons) {
  m_content = Content::Prices;
  m_view = view;
  m_lineTotal = lineTotal;
  m_selectionTotal = selectionTotal;
  m_quantityButtons = quantityButtons;
  HideControls();
  m_rows->setValue(1);
  update();
}

void CRefLineArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_content == Content::Schematic) LayOut();
}

void CRefLineArea::LayOut() {
  if (!m_maker) return;
  m_layout = m_maker(CRefRect{0, 0, width(), height()}, RowHeight(), ZoneWidth());
  PlaceRows();
}

QLineEdit* CRefLineArea::MakeCountEdit(int control) {
  QLineEdit*& edit = m_edits[control];
  if (edit == nullptr) {
    edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("ref_count_%1").arg(control));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaxLength(6);
  }
  return edit;
}

QLabel* CRefLineArea::MakeCaption(int control) {
  QLabel*& label = m_captions[control];
  if (label == nullptr) {
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("ref_caption_%1").arg(control));
  }
  return label;
}

QPushButton* CRefLineArea::MakeChooseButton(int control) {
  QPushButton*& button = m_chooseButtons[control];
  if (button == nullptr) {
    button = new QPushButton(QStringLiteral("..."), this);
    button->setObjectName(QStringLiteral("ref_choose_%1").arg(control));
    connect(button, &QPushButton::clicked, this,
            [this, control] { emit ChooseRequested(control); });
  }
  return button;
}

QCheckBox* CRefLineArea::MakeCheck(int control) {
  QCheckBox*& box = m_checkBoxes[control];
  if (box == nullptr) {
    box = new QCheckBox(this);
    box->setObjectName(QStringLiteral("ref_check_%1").arg(control));
    // The box shows what the line's slots hold; a click asks for the change, and the
    // schematic drawn again shows its outcome.
    connect(box, &QCheckBox::clicked, this, [this, control](bool checked) {
      m_checkBoxes[control]->setChecked(!checked);
      emit CheckRequested(control, !checked);
    });
  }
  return box;
}

QCheckBox* CRefLineArea::PositionCheck(int control) const {
  const auto found = m_checkBoxes.find(control);
  return found != m_checkBoxes.end() && found->second->isVisible() ? found->second : nullptr;
}

QPushButton* CRefLineArea::ChooseButton(int control) const {
  const auto found = m_chooseButtons.find(control);
  return found != m_chooseButtons.end() && found->second->isVisible() ? found->second : nullptr;
}

void CRefLineArea::PlaceRows() {
  const int h = RowHeight();
  const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 10;
  for (auto& [control, edit] : m_edits) edit->hide();
  for (auto& [control, label] : m_captions) label->hide();
  for (auto& [control, button] : m_chooseButtons) button->hide();
  for (auto& [control, box] : m_checkBoxes) box->hide();
  const int buttonWidth = h;
  std::vector<const CRefSchematicZone*> zones;
  for (const CRefSchematicZone& zone : m_layout.zones) zones.push_back(&zone);
  zones.push_back(&m_layout.options);
  for (const CRefSchematicZone* placed : zones) {
    const CRefSchematicZone& zone = *placed;
    int y = zone.rect.top + h;  // below the title row
    for (const CRefSchematicRow& row : zone.lines) {
      const bool titleStatic = row.component < 0;
      const int rowTop = titleStatic ? zone.rect.top : y;
      QLabel* caption = MakeCaption(row.captionControl);
      caption->setText(QString::fromStdString(row.caption));
      // A zone's total stands at the right of its title row, a caption left of its count.
      QRect place = titleStatic
                        ? QRect(zone.rect.right - editWidth - 5, rowTop + 2, editWidth, h - 4)
                        : QRect(zone.rect.left + 5, rowTop + 2,
                                zone.rect.right - zone.rect.left - editWidth - 15, h - 4);
      if (row.chooseButton != 0 && !titleStatic) place.setWidth(std::max(0, place.width() - h - 4));
      if (row.checkControl != 0) place.setWidth(std::max(0, place.width() - h - 4));
      caption->setGeometry(place);
      caption->setAlignment(titleStatic ? Qt::AlignRight | Qt::AlignVCenter
                                        : Qt::AlignLeft | Qt::AlignVCenter);
      caption->show();
      if (row.chooseButton != 0) {
        // Left of the count (or the zone's total), the caption giving way to it.
        QPushButton* button = MakeChooseButton(row.chooseButton);
        const int right = titleStatic ? place.left() : zone.rect.right - editWidth - 5;
        button->setGeometry(right - buttonWidth - 4, rowTop + 2, buttonWidth, h - 4);
        button->setEnabled(!m_countsLocked);
        button->show();
      }
      if (row.checkControl != 0) {
        QCheckBox* box = MakeCheck(row.checkControl);
        const int right = zone.rect.right - editWidth - 5 - (row.chooseButton != 0 ? h + 4 : 0);
        box->setGeometry(right - h - 4, rowTop + 2, h, h - 4);
        box->setChecked(row.checked);
        box->setEnabled(!m_countsLocked);
        box->show();
      }
      if (row.countControl != 0) {
        QLineEdit* edit = MakeCountEdit(row.countControl);
        const auto count = m_counts.find(row.countControl);
        edit->setText(QString::number(count != m_counts.end() ? count->second : 0));
        edit->setReadOnly(m_countsLocked || !row.editable);
        edit->setGeometry(zone.rect.right - editWidth - 5, rowTop + 2, editWidth, h - 4);
        edit->show();
      }
      if (!titleStatic) y += h;
    }
  }
}

bool CRefLineArea::ReadCounts(std::map<int, int>& counts, int& badControl,
                              std::string& problem) const {
  for (const auto& [control, edit] : m_edits) {
    if (!edit->isVisible()) continue;
    const QLabel* caption = Caption(control);
    const auto value = ReadWholeField(edit->text().toStdString(),
                                      caption ? caption->text().toStdString() : std::string(), 0,
                                      CRefLineEditContext::kMaxCount, problem);
    if (!value) {
      badControl = control;
      return false;
    }
    counts[control] = *value;
  }
  return true;
}

QLineEdit* CRefLineArea::CountEdit(int control) const {
  const auto found = m_edits.find(control);
  return found != m_edits.end() && found->second->isVisible() ? found->second : nullptr;
}

QLabel* CRefLineArea::Caption(int control) const {
  const auto found = m_captions.find(control);
  return found != m_captions.end() && found->second->isVisible() ? found->second : nullptr;
}

void CRefLineArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_content == Content::Schematic) PaintSchematic(painter);
  else if (m_content == Content::Prices) PaintPrices(painter);
  else painter.fillRect(rect(), palette().window());
}

void CRefLineArea::PaintSchematic(QPainter& painter) {
  painter.fillRect(rect(), Qt::white);
  const int top = m_layout.pictureTop, bottom = std::max(m_layout.pictureBottom, top + 60);
  PaintRefLinePicture(painter, QRect(0, top, width(), bottom - top), m_picture);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const int h = RowHeight();
  for (std::size_t zone = 0; zone < m_layout.zones.size(); ++zone) {
    const CRefSchematicZone& z = m_layout.zones[zone];
    if (z.rect.Empty()) continue;
    const QRect frame = ToQRect(z.rect).adjusted(-1, -1, 1, 1);
    painter.setPen(Qt::black);
    painter.setBrush(kZoneFrame);
    painter.drawRect(frame);
    const QRect title(z.rect.left + 2, z.rect.top + 2, z.rect.right - z.rect.left - 4, h - 4);
    painter.fillRect(title, zone == 2 ? kZoneFrame : kZoneTitles[zone]);
    painter.drawText(title.adjusted(3, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     StringQText(z.titleMessage));
    if (zone == 3) painter.drawLine(z.rect.left, z.rect.top + h, z.rect.right, z.rect.top + h);
  }
  const CRefSchematicZone& options = m_layout.options;
  if (options.rect.Empty()) return;
  painter.setPen(Qt::black);
  painter.setBrush(kZoneFrame);
  painter.drawRect(ToQRect(options.rect).adjusted(-6, -2, 6, 2));
  const QRect title(options.rect.left + 2, options.rect.top + 2,
                    options.rect.right - options.rect.left - 4, h - 4);
  painter.drawText(title.adjusted(3, 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   StringQText(options.titleMessage));
}
