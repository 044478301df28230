#include "reference/ui/ref_light_range_dlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgRangeCaption = 32300;
constexpr int kMsgLightingCaption = 32060;
constexpr int kMsgRangeTitle = 32301;
constexpr int kMsgRangeLead = 32302;
constexpr int kMsgRangeHint = 32303;
constexpr int kMsgQfpText = 32304;
constexpr int kMsgQybText = 32305;
constexpr int kMsgQyaText = 32306;
constexpr int kMsgHeavyNote = 32307;
constexpr int kMsgLightNote = 32308;
constexpr int kMsgEmbeddedTitle = 32395;
constexpr int kMsgBack = 31016;

QLabel* Label(QWidget* parent, int id, int message) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::number(id));
  SetMessageText(label, message);
  label->setWordWrap(true);
  return label;
}

// Descriptions stand under one another: each starts on a line of its own.
void BreakBefore(QLabel* label) {
  if (!label->text().contains(QLatin1Char('\n'))) label->setText(QLatin1Char('\n') + label->text());
}

}  // namespace

CLightArrow::CLightArrow(const QColor& colour, QWidget* parent)
    : QWidget(parent), m_colour(colour) {
  setMinimumSize(36, 48);
}

// The outline first, then the shaft shaded column by column: lighter towards three
// quarters of its width, darker again to the right.
void CLightArrow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int w = width() - 1, h = height() - 1, a = w / 6;
  const QPolygon outline(
      {{a, 0}, {w - a, 0}, {w - a, h - a}, {w, h - a}, {w / 2, h}, {0, h - a}, {a, h - a}, {a, 0}});
  painter.setPen(QPen(m_colour, 0));
  painter.setBrush(m_colour);
  painter.drawPolygon(outline);
  const int s = w - 2 * a;
  for (int i = 0; s > 0 && i <= s; ++i) {
    const int e = i < s / 2 ? (a + i) / 3 : (s + a - 1 - i) / 3;
    const double t = i < (3 * s) / 4 ? static_cast<int>(4.0 * i / 3) / static_cast<double>(s)
                                     : (4.0 * s - 4 - 4.0 * i) / s;
    auto channel = [t](int c) { return std::clamp(c + static_cast<int>((255 - c) * t), 0, 255); };
    painter.setPen(
        QColor(channel(m_colour.red()), channel(m_colour.green()), channel(m_colour.blue())));
    painter.drawLine(a + i, 0, a + i, h - a + e);
  }
}

CLightRangeDlg::CLightRangeDlg(bool embedded, QWidget* parent)
    : QDialog(parent, embedded ? Qt::Widget : Qt::Dialog), m_embedded(embedded) {
  setObjectName(QStringLiteral("light_range_dialog"));
  setWindowTitle(StringQText(kMsgLightingCaption) + QStringLiteral(" - ") +
                 StringQText(kMsgRangeCaption));
  auto* layout = new QVBoxLayout(this);
  m_title = Label(this, 1527, embedded ? kMsgEmbeddedTitle : kMsgRangeTitle);
  QFont bold = m_title->font();
  bold.setBold(true);
  m_title->setFont(bold);
  layout->addWidget(m_title);
  layout->addWidget(Label(this, 1503, kMsgRangeHint));
  auto* columns = new QHBoxLayout;
  // The lead names what the columns beside it offer: alone on a line it read as a
  // caption followed by nothing. The columns take the room, so that the lead stays
  // beside them once the embedded page hides the first.
  columns->addWidget(Label(this, 1501, kMsgRangeLead), 0, Qt::AlignVCenter);
  QWidget* qfp = RangeColumn(1505, kMsgQfpText, 1529, 1528, "QFP");
  columns->addWidget(qfp, 1);
  columns->addWidget(RangeColumn(1509, kMsgQybText, 1535, 1530, "QYB"), 1);
  columns->addWidget(RangeColumn(1511, kMsgQyaText, 1536, 1531, "QYA"), 1);
  layout->addLayout(columns);
  auto* notes = new QHBoxLayout;
  notes->addWidget(Label(this, 1512, kMsgHeavyNote));
  notes->addWidget(Label(this, 1515, kMsgLightNote));
  layout->addLayout(notes);
  m_cancel = new QPushButton(this);
  m_cancel->setObjectName(QStringLiteral("2"));
  SetMessageText(m_cancel, kMsgBack);
  connect(m_cancel, &QPushButton::clicked, this, &CLightRangeDlg::reject);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(m_cancel);
  layout->addLayout(bottom);
  if (embedded) qfp->hide();  // the lighting calculation offers lighting busbar only
  TranslateWindow(this);
  for (int id : {1505, 1509, 1511, 1512, 1515})
    if (auto* label = findChild<QLabel*>(QString::number(id))) BreakBefore(label);
}

QWidget* CLightRangeDlg::RangeColumn(int labelId, int labelMessage, int arrowId, int buttonId,
                                     const char* text) {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->addWidget(Label(column, labelId, labelMessage));
  auto* arrow = new CLightArrow(m_labelColour, column);
  arrow->setObjectName(QString::number(arrowId));
  layout->addWidget(arrow, 1, Qt::AlignHCenter);
  auto* button = new QPushButton(QString::fromLatin1(text), column);
  button->setObjectName(QString::number(buttonId));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, button] { ChooseByText(button->text()); });
  layout->addWidget(button);
  const int index = buttonId == 1528 ? 0 : buttonId == 1531 ? 1 : 2;
  m_ranges[static_cast<std::size_t>(index)] = button;
  return column;
}

void CLightRangeDlg::SetOffered(bool qfp, bool qya, bool qyb) {
  m_ranges[0]->setEnabled(qfp);
  m_ranges[1]->setEnabled(qya);
  m_ranges[2]->setEnabled(qyb);
}

void CLightRangeDlg::ChooseByText(const QString& text) {
  const QString code = text.left(3);
  if (code == QLatin1String("QFP") && !m_embedded) m_choice = kQfp;
  else if (code == QLatin1String("QYA")) m_choice = kQya;
  else if (code == QLatin1String("QYB")) m_choice = kQyb;
  if (m_choice == kNone) return;
  if (m_embedded) emit Chosen();
  else QDialog::accept();
}

// Enter chooses the range of the focused button, and nothing else.
void CLightRangeDlg::accept() {
  auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
  ChooseByText(focused != nullptr && isAncestorOf(focused) ? focused->text() : QString());
}

void CLightRangeDlg::reject() {
  if (m_embedded) emit Back();
  else QDialog::reject();
}
