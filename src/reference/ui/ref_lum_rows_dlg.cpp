#include "reference/ui/ref_lum_rows_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgTitle = 32398;
constexpr int kMsgLamp = 32340;
constexpr int kMsgPower = 32341;
constexpr int kMsgBallast = 32275;
constexpr std::array<int, kLumMaxRows> kTubeIds = {1571, 1572, 1573, 1574, 1575,
                                                   1576, 1577, 1578, 1579, 1580};
constexpr std::array<int, kLumMaxRows> kCheckIds = {1614, 1615, 1616, 1617, 1624,
                                                    1625, 1626, 1627, 1628, 1629};

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CLumRowsDlg::CLumRowsDlg(std::string catalogueFolder, std::uint32_t chosen, QWidget* parent,
                         std::string filter)
    : QDialog(parent),
      m_folder(std::move(catalogueFolder)),
      m_filter(std::move(filter)),
      m_chosen(chosen) {
  setObjectName(QStringLiteral("lum_rows_dialog"));
  SetMessageText(this, kMsgTitle);
  auto* layout = new QVBoxLayout(this);
  m_descriptions = new QComboBox(this);
  m_descriptions->setObjectName(QStringLiteral("1059"));
  layout->addWidget(m_descriptions);
  BuildRows();
  QDialogButtonBox* buttons = MakeOkCancelButtons(this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  layout->addWidget(buttons);
  const CLuminaireDescriptions found =
      LuminaireDescriptions(m_folder, m_filter, m_chosen, &LookupText);
  for (const std::string& text : found.texts) m_descriptions->addItem(ToQ(text));
  m_descriptions->setCurrentIndex(found.chosen);
  QueryLuminaires();
  UpdateOk();
  connect(m_descriptions, &QComboBox::currentIndexChanged, this, &CLumRowsDlg::QueryLuminaires);
  TranslateWindow(this);
}

void CLumRowsDlg::BuildRows() {
  auto* grid = new QGridLayout;
  for (auto [column, message] : {std::pair{0, kMsgLamp}, {1, kMsgPower}, {2, kMsgBallast}}) {
    auto* header = new QLabel(this);
    SetMessageText(header, message);
    grid->addWidget(header, 0, column);
  }
  for (int row = 0; row < kLumMaxRows; ++row) {
    RowControls& c = m_controls[static_cast<std::size_t>(row)];
    c.tube = new QLabel(this);
    c.tube->setObjectName(QString::number(kTubeIds[static_cast<std::size_t>(row)]));
    c.power = new QLabel(this);
    c.ballast = new QLabel(this);
    c.option = new QPushButton(this);
    c.option->setCheckable(true);
    c.option->setAutoDefault(false);
    c.option->setObjectName(QStringLiteral("lum_option_%1").arg(row + 1));
    c.check = new QCheckBox(this);
    c.check->setObjectName(QString::number(kCheckIds[static_cast<std::size_t>(row)]));
    grid->addWidget(c.tube, row + 1, 0);
    grid->addWidget(c.power, row + 1, 1);
    grid->addWidget(c.ballast, row + 1, 2);
    grid->addWidget(c.option, row + 1, 2);
    grid->addWidget(c.check, row + 1, 3);
    connect(c.check, &QCheckBox::clicked, this, [this, row] { SelectRow(row); });
    connect(c.option, &QPushButton::clicked, this, [this, row] { OnRowOptionChanged(row); });
  }
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void CLumRowsDlg::QueryLuminaires() {
  const QString description = m_descriptions->currentText();
  m_rows = m_descriptions->currentIndex() < 0
               ? std::vector<CLuminaireRow>{}
               : LuminaireRows(m_folder, description.toStdString(), m_filter, &LookupText);
  for (std::size_t i = 0; i < m_controls.size(); ++i) {
    const RowControls& c = m_controls[i];
    const bool shown = i < m_rows.size();
    const bool twoBallasts = shown && m_rows[i].secondRecord != 0;
    for (QWidget* w : {static_cast<QWidget*>(c.tube), static_cast<QWidget*>(c.power),
                       static_cast<QWidget*>(c.check)})
      w->setVisible(shown);
    c.ballast->setVisible(shown && !twoBallasts);
    c.option->setVisible(twoBallasts);
    if (!shown) continue;
    const CLuminaireRow& row = m_rows[i];
    c.tube->setText(ToQ(row.tube));
    c.power->setText(ToQ(row.power));
    c.ballast->setText(ToQ(row.ballast));
    c.option->setChecked(twoBallasts && row.secondRecord == m_chosen);
    c.option->setText(ToQ(c.option->isChecked() ? row.secondBallast : row.ballast));
    c.check->setChecked(m_chosen != 0 && (row.record == m_chosen || row.secondRecord == m_chosen));
  }
  adjustSize();
}

void CLumRowsDlg::SelectRow(int row) {
  for (int i = 0; i < kLumMaxRows; ++i)
    if (i != row) m_controls[static_cast<std::size_t>(i)].check->setChecked(false);
  const RowControls& c = m_controls[static_cast<std::size_t>(row)];
  if (!c.check->isChecked() || static_cast<std::size_t>(row) >= m_rows.size()) {
    m_chosen = 0;
  } else {
    const CLuminaireRow& r = m_rows[static_cast<std::size_t>(row)];
    m_chosen = !c.option->isHidden() && c.option->isChecked() ? r.secondRecord : r.record;
  }
  UpdateOk();
}

void CLumRowsDlg::OnRowOptionChanged(int row) {
  const RowControls& c = m_controls[static_cast<std::size_t>(row)];
  if (static_cast<std::size_t>(row) >= m_rows.size()) return;
  const CLuminaireRow& r = m_rows[static_cast<std::size_t>(row)];
  c.option->setText(ToQ(c.option->isChecked() ? r.secondBallast : r.ballast));
  if (c.check->isChecked()) SelectRow(row);
}

void CLumRowsDlg::UpdateOk() { m_ok->setEnabled(m_chosen != 0); }
