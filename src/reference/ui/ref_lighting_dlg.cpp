#include "reference/ui/ref_lighting_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/linear_environment.h"
#include "linear/ui/workbook_export.h"
#include "reference/ref_lighting_export.h"
#include "reference/ui/ref_light_range_dlg.h"
#include "reference/ui/ref_lighting_pictures.h"

namespace {

constexpr int kMsgLightingCaption = 32060;
constexpr int kMsgCalculationCaption = 32320;
constexpr int kMsgLeave = 32360;
constexpr int kMsgEmptyLayout = 32397;
constexpr int kMsgCancel = 2713;
constexpr std::array<int, 4> kStepTitles = {32321, 32333, 32346, 32349};
constexpr int kPictureWidth = 180, kStepPictureHeight = 170, kOrientationPictureHeight = 120;

}  // namespace

CLightingCalcDlg::CLightingCalcDlg(CLightingSetup setup, QWidget* parent)
    : QDialog(parent), m_setup(std::move(setup)) {
  setObjectName(QStringLiteral("lighting_dialog"));
  setWindowTitle(StringQText(kMsgLightingCaption) + QStringLiteral(" - ") +
                 StringQText(kMsgCalculationCaption));
  auto* layout = new QVBoxLayout(this);
  m_title = new QLabel(this);
  m_title->setObjectName(QStringLiteral("1527"));
  QFont bold = m_title->font();
  bold.setBold(true);
  m_title->setFont(bold);
  layout->addWidget(m_title);
  m_pages = new QStackedWidget(this);
  m_pages->addWidget(BuildRoomPage());
  m_pages->addWidget(BuildLuminairePage());
  m_pages->addWidget(BuildIlluminancePage());
  m_pages->addWidget(BuildResultsPage());
  if (m_setup.rangePage) {
    m_range = new CLightRangeDlg(true, this);
    m_pages->addWidget(m_range);
    connect(m_range, &CLightRangeDlg::Chosen, this, &CLightingCalcDlg::Finish);
    connect(m_range, &CLightRangeDlg::Back, this, [this] { ShowStep(4); });
  }
  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildPictures());
  middle->addWidget(m_pages, 1);
  layout->addLayout(middle, 1);
  layout->addWidget(BuildButtons());
  m_workbooks = m_setup.workbooks;
  if (!m_workbooks && m_setup.environment)
    m_workbooks = new CWorkbookExport(*m_setup.environment, *this);
  TranslateWindow(this);
  // The range page goes back as the previous button does.
  if (m_range) m_range->CancelButton()->setText(m_previous->text());
  SetValue(m_plane, m_room.plane, 'f', true);
  SetValue(m_depreciation, m_room.depreciation, 'f');
  SetValue(m_ceiling, m_room.ceiling, 'd');
  SetValue(m_wall, m_room.wall, 'd');
  SetValue(m_floor, m_room.floor, 'd');
  ShowStep(1);
}

CLightingCalcDlg::~CLightingCalcDlg() = default;

QWidget* CLightingCalcDlg::BuildButtons() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  auto button = [&](const char* name, const QString& text) {
    auto* b = new QPushButton(text, box);
    b->setObjectName(QString::fromLatin1(name));
    return b;
  };
  m_previous = button("1148", QStringLiteral(" << "));
  m_next = button("1149", QStringLiteral(" >> "));
  m_finish = button("1150", QStringLiteral("OK"));
  m_cancel = button("2", QString());
  SetMessageText(m_cancel, kMsgCancel);
  row->addStretch();
  for (QPushButton* b : {m_previous, m_next, m_finish, m_cancel}) row->addWidget(b);
  connect(m_previous, &QPushButton::clicked, this, [this] { Previous(); });
  connect(m_next, &QPushButton::clicked, this, [this] { Next(); });
  connect(m_finish, &QPushButton::clicked, this, [this] { Next(); });
  connect(m_cancel, &QPushButton::clicked, this, &CLightingCalcDlg::reject);
  return box;
}

QWidget* CLightingCalcDlg::BuildPictures() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  m_stepPicture = new QLabel(column);
  m_stepPicture->setObjectName(QStringLiteral("1565"));
  m_stepPicture->setFixedSize(kPictureWidth, kStepPictureHeight);
  m_orientationPicture = new QLabel(column);
  m_orientationPicture->setObjectName(QStringLiteral("1571"));
  m_orientationPicture->setFixedSize(kPictureWidth, kOrientationPictureHeight);
  layout->addWidget(m_stepPicture);
  layout->addWidget(m_orientationPicture);
  layout->addStretch();
  return column;
}

void CLightingCalcDlg::ShowPictures() {
  const bool range = m_step == 5;
  m_stepPictureId = range ? 0 : LightingStepPicture(m_step, m_room.suspension);
  m_orientationPictureId =
      m_step == 3 || m_step == 4 ? LightingOrientationPicture(m_room.acrossWidth) : 0;
  m_stepPicture->setVisible(m_stepPictureId != 0);
  m_orientationPicture->setVisible(m_orientationPictureId != 0);
  m_stepPicture->setPixmap(DrawLightingPicture(m_stepPictureId, m_stepPicture->size()));
  m_orientationPicture->setPixmap(
      DrawLightingPicture(m_orientationPictureId, m_orientationPicture->size()));
}

void CLightingCalcDlg::ShowStep(int step) {
  if (step == m_step) return;
  m_step = step;
  m_pages->setCurrentIndex(step - 1);
  const bool range = step == 5;
  for (QPushButton* b : {m_previous, m_next, m_finish, m_cancel}) b->setVisible(!range);
  m_title->setVisible(!range);
  ShowPictures();
  if (range) return;
  m_title->setText(StringQText(kStepTitles[static_cast<std::size_t>(step - 1)]));
  WriteStep();
  m_previous->setEnabled(step > 1);
  m_next->setVisible(step < LastStep());
  m_finish->setVisible(step == LastStep());
  QPushButton* byDefault = step == 4 ? (m_next->isVisible() ? m_next : m_finish) : m_next;
  byDefault->setDefault(true);
}

bool CLightingCalcDlg::Next() {
  if (m_step == 5) return false;  // the range page finishes by its own buttons
  if (!ReadStep(true)) return false;
  if (m_step < LastStep()) ShowStep(m_step + 1);
  else Finish();
  return true;
}

bool CLightingCalcDlg::Previous() {
  if (m_step <= 1) return false;
  if (m_step < 5) ReadStep(false);
  ShowStep(m_step - 1);
  return true;
}

// Enter goes on, as the default button does.
void CLightingCalcDlg::accept() { Next(); }

void CLightingCalcDlg::reject() {
  if (m_step == 5) {
    ShowStep(4);
    return;
  }
  CShellDialogs* dialogs = m_setup.environment ? m_setup.environment->dialogs : nullptr;
  if (dialogs &&
      dialogs->Message(this, StringQText(kMsgLeave), kMbYesNo | kMbIconExclamation) != kIdYes)
    return;
  QDialog::reject();
}

void CLightingCalcDlg::Finish() {
  if (std::int64_t{m_result.runs} * m_result.perRun <= 0 || !m_lum) {
    Tell(StringQText(kMsgEmptyLayout));  // a line of no luminaire would be added
    if (m_step == 5) ShowStep(4);
    return;
  }
  m_line.kind = m_range && m_range->ChoiceMade() == CLightRangeDlg::kQyb ? 2 : 1;
  m_line.runs = m_result.runs;
  m_line.perRun = m_result.perRun;
  m_line.runLength = LightingRunLength(m_room, m_result);
  m_line.fixingCode = LuminaireFixingCode(m_setup.catalogueFolder, m_lum->reference);
  QDialog::accept();
}

void CLightingCalcDlg::ExportStudy() {
  if (!m_workbooks || !m_lum || !m_setup.environment) return;
  const CProjectFields none;
  const CXlExportFile file =
      WriteLightingExchangeFile(m_setup.project ? *m_setup.project : none,
                                m_setup.environment->profile, m_room, *m_lum, m_result);
  // The workbook is named in the user's language, as the study's title is.
  m_workbooks->Run(file, false, StringText(kMsgLightingCaption), "XlGDE.txt");
}
