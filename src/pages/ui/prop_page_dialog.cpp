#include "pages/ui/prop_page_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/message_box.h"
#include "app/ui/window_translation.h"

namespace {

CPageMessageHandler& Handler() {
  static CPageMessageHandler handler;
  return handler;
}

}  // namespace

CPageMessageHandler SetPageMessageHandler(CPageMessageHandler handler) {
  CPageMessageHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

void ShowPageMessage(QWidget* page, const QString& text) {
  if (Handler()) Handler()(page, text);
  else TranslatedMessageBox(text, kMbOk | kMbIconExclamation, page);
}

CPropPageDialog::CPropPageDialog(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

QString CPropPageDialog::Caption() { return ResourceQText(Rules().GetCaptionMessage()); }

void CPropPageDialog::LoadPage() {
  Rules().Load();
  ShowValues();
}

CApplyOutcome CPropPageDialog::ApplyPage(bool quiet) {
  StoreValues();
  const CApplyOutcome outcome = Rules().Apply();
  ShowValues();
  if (outcome.result == EApplyResult::kRefused) ReportRefusal(outcome.refusal, quiet);
  return outcome;
}

void CPropPageDialog::ReloadPage() { LoadPage(); }

void CPropPageDialog::ReportRefusal(const CPageRefusal& refusal, bool quiet) {
  QApplication::beep();
  if ((refusal.message != 0 || !refusal.text.empty()) && !quiet) {
    const QString text = QString::fromStdString(
        !refusal.text.empty() ? refusal.text
        : refusal.limit2.empty()
            ? FormatMessageText(refusal.message, "s", refusal.limit)
            : FormatMessageText(refusal.message, "ss", refusal.limit, refusal.limit2));
    // The box takes the activation: the property window must neither apply nor close.
    const int marker = m_modalMarker;
    m_modalMarker = kModalMarker;
    ShowPageMessage(this, text);
    m_modalMarker = marker;
  }
  FocusField(refusal.field);
}

void CPropPageDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    ApplyPage();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    ReloadPage();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void CPropPageDialog::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  const int right = width() - 1;
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawLine(right, 0, right, height() - 1);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(right - 1, 0, right - 1, height() - 1);
}

void CPropPageDialog::SetFoldButton(QAbstractButton* button) {
  m_foldButton = button;
  button->setObjectName(QString::number(kFoldButtonId));
  button->setCheckable(true);
  connect(button, &QAbstractButton::toggled, this, &CPropPageDialog::FoldChanged);
}

void CPropPageDialog::SetComboDropHeight(QComboBox* combo, int lines) {
  if (combo != nullptr) combo->setMaxVisibleItems(std::max(1, lines));
}

QLineEdit* CPropPageDialog::MakeEdit(int id) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::number(id));
  return edit;
}

QLabel* CPropPageDialog::MakeLabel(int id, int message) {
  auto* label = new QLabel(this);
  label->setObjectName(QString::number(id));
  if (message != 0) SetMessageText(label, message);
  return label;
}

QLabel* CPropPageDialog::MakeValueLabel(int id) {
  QLabel* label = MakeLabel(id);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(90);
  return label;
}

QComboBox* CPropPageDialog::MakeCombo(int id) {
  auto* combo = new QComboBox(this);
  combo->setObjectName(QString::number(id));
  return combo;
}

QCheckBox* CPropPageDialog::MakeCheck(int id, int message) {
  auto* box = new QCheckBox(this);
  box->setObjectName(QString::number(id));
  if (message != 0) SetMessageText(box, message);
  return box;
}

QRadioButton* CPropPageDialog::MakeRadio(int id, int message) {
  auto* radio = new QRadioButton(this);
  radio->setObjectName(QString::number(id));
  if (message != 0) SetMessageText(radio, message);
  return radio;
}

QGroupBox* CPropPageDialog::MakeGroup(int id, int message) {
  auto* group = new QGroupBox(this);
  group->setObjectName(QString::number(id));
  SetMessageText(group, message);
  return group;
}

void CPropPageDialog::ShowOutcome(const CApplyOutcome& outcome) {
  if (outcome.result == EApplyResult::kRefused) ReportRefusal(outcome.refusal, false);
}

QPushButton* CPropPageDialog::MakeButton(int id, int message) {
  auto* button = new QPushButton(this);
  button->setObjectName(QString::number(id));
  if (message != 0) SetMessageText(button, message);
  return button;
}

namespace {

CPageCommandHandler& CommandHandler() {
  static CPageCommandHandler handler;
  return handler;
}

}  // namespace

CPageCommandHandler SetPageCommandHandler(CPageCommandHandler handler) {
  return std::exchange(CommandHandler(), std::move(handler));
}

bool RunPageCommand(int command) { return CommandHandler() && CommandHandler()(command); }

QGridLayout* CPropPageDialog::MakeGrid() {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 4);
  grid->setVerticalSpacing(4);
  return grid;
}
