#include "model/ui/check_message_dlg.h"

#include "app/ui/window_translation.h"
#include "model/document/check_message_table.h"
#include "model/element/dev.h"
#include "model/builder/length_correction.h"
#include "model/run/run.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kMargin = 10;
constexpr int kButtonSize = 28;

// Pictures 242 (zoom on the element) and 243 (the whole scene) of the zoom buttons.
QPixmap ZoomPicture(bool whole) {
  QPixmap picture(20, 20);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 2));
  if (whole) {
    painter.drawRect(3, 3, 14, 14);
    painter.drawLine(6, 10, 14, 10);
  } else {
    painter.drawEllipse(3, 3, 10, 10);
    painter.drawLine(12, 12, 17, 17);
  }
  return picture;
}

QSize TextSize(const QFontMetrics& metrics, const QString& text) {
  int width = 0;
  int height = 0;
  for (const QString& line : text.split('\n')) {
    width = std::max(width, metrics.horizontalAdvance(line) + 3);
    height += metrics.height() + 2;
  }
  return {width, height};
}

}  // namespace

CCheckMessageDlg::CCheckMessageDlg(const CCheckMessageTable& table, CCheckZoomTarget* view,
                                   QWidget* parent)
    : QDialog(parent), m_table(table), m_view(view) {
  setObjectName(QString::number(kDialogId));
  BuildControls();
  m_result = 1;
  ShowMessage(0, true);
  TranslateWindow(this);
}

CCheckMessageDlg::~CCheckMessageDlg() = default;

void CCheckMessageDlg::BuildControls() {
  auto label = [this](int id) {
    auto* control = new QLabel(this);
    control->setObjectName(QString::number(id));
    return control;
  };
  m_problem = label(kProblemId);
  m_solution = label(kSolutionId);
  m_static1 = label(kStatic1Id);
  m_static2 = label(kStatic2Id);
  auto zoomButton = [this](int id, bool whole) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::number(id));
    button->setIcon(QIcon(ZoomPicture(whole)));
    button->setFixedSize(kButtonSize, kButtonSize);
    return button;
  };
  m_zoomButton = zoomButton(kZoomId, false);
  m_zoomAllButton = zoomButton(kZoomAllId, true);
  auto pushButton = [this](int id, int text) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::number(id));
    SetMessageText(button, text);
    return button;
  };
  m_lengthen = pushButton(kLengthenId, 30197);
  m_shorten = pushButton(kShortenId, 31085);
  m_ok = new QPushButton(QStringLiteral("OK"), this);
  m_ok->setObjectName(QString::number(kOkId));
  m_ok->setDefault(true);
  connect(m_zoomButton, &QToolButton::clicked, this, &CCheckMessageDlg::OnZoom);
  connect(m_zoomAllButton, &QToolButton::clicked, this, &CCheckMessageDlg::OnZoomAll);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_lengthen, &QPushButton::clicked, this, [this] {
    const CCheckMessage& message = m_table.At(m_index);
    ApplyLengthCorrection(static_cast<int>(std::int64_t{message.value1} - message.value2));
  });
  connect(m_shorten, &QPushButton::clicked, this,
          [this] { ApplyLengthCorrection(-m_table.At(m_index).value2); });
}

void CCheckMessageDlg::LayOut(const QString& problem, const QString& solution) {
  const QFontMetrics metrics(font());
  const QSize problemSize = TextSize(metrics, problem);
  const QSize solutionSize = TextSize(metrics, solution);
  const int textLeft = kMargin + kButtonSize + kMargin;
  const int width = std::max({problemSize.width(), solutionSize.width(), 240});
  m_zoomButton->move(kMargin, kMargin);
  m_zoomAllButton->move(kMargin, kMargin + kButtonSize + 4);
  m_problem->setGeometry(textLeft, kMargin, width, problemSize.height());
  m_static1->setGeometry(textLeft, kMargin + problemSize.height(), width, 4);
  const int solutionTop = kMargin + problemSize.height() + kMargin;
  m_solution->setGeometry(textLeft, solutionTop, width, solutionSize.height());
  const int textBottom =
      std::max(solutionTop + solutionSize.height(), kMargin + 2 * kButtonSize + 4);
  m_static2->setGeometry(textLeft, textBottom, width, 4);
  const int buttonTop = textBottom + kMargin;
  const QSize buttonSize = m_ok->sizeHint().expandedTo(QSize(80, 0));
  const int right = textLeft + width;
  m_ok->setGeometry(right - buttonSize.width(), buttonTop, buttonSize.width(), buttonSize.height());
  m_shorten->setGeometry(right - 2 * buttonSize.width() - 6, buttonTop, buttonSize.width(),
                         buttonSize.height());
  m_lengthen->setGeometry(right - 3 * buttonSize.width() - 12, buttonTop, buttonSize.width(),
                          buttonSize.height());
  m_lengthen->hide();
  m_shorten->hide();
  setFixedSize(right + kMargin, buttonTop + buttonSize.height() + kMargin);
}

void CCheckMessageDlg::ShowMessage(int index, bool erase) {
  if (index < 0 || index >= CCheckMessageTable::kSize) return;
  const CCheckMessage& message = m_table.At(index);
  const QString problem = QString::fromStdString(message.problem);
  const QString solution = QString::fromStdString(message.solution);
  LayOut(problem, solution);
  m_problem->setText(problem);
  m_solution->setText(solution);
  const CRun* run = message.element != nullptr ? message.element->GetRun() : nullptr;
  const CCorrectionButtons buttons =
      CorrectionButtonsFor(message, run != nullptr ? run->GetPropText("Catalog") : "");
  m_lengthen->setVisible(buttons.lengthen);
  m_shorten->setVisible(buttons.shorten);
  m_index = index;
  if (m_view == nullptr) return;
  const CCheckFrame frame = FrameCheckMessage(message, *m_view);
  if (!frame.framed) return;
  m_view->SetHighlight(frame.x, frame.y, frame.radius, erase);
  m_zoom = frame.zoom;
}

void CCheckMessageDlg::OnZoom() {
  if (m_view != nullptr) m_view->ZoomToRect(m_zoom);
  m_ok->setFocus();
}

void CCheckMessageDlg::OnZoomAll() {
  if (m_view != nullptr) m_view->ZoomAll();
  m_ok->setFocus();
}

void CCheckMessageDlg::ApplyLengthCorrection(int amount) {
  CDev* element = m_table.At(m_index).element;
  if (element == nullptr) return;
  if (m_beforeCorrection) m_beforeCorrection();
  ::ApplyLengthCorrection(*element, amount);
  m_result = 2;
  accept();
}

void CCheckMessageDlg::done(int result) {
  if (m_view != nullptr) m_view->SetHighlight(0, 0, 0, true);
  QDialog::done(result);
}
