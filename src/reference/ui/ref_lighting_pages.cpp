#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_lighting_dlg.h"

namespace {

constexpr int kMsgRoomIntro = 32330;
constexpr int kMsgLength = 32322;
constexpr int kMsgWidth = 32323;
constexpr int kMsgHeight = 32324;
constexpr int kMsgPlane = 32325;
constexpr int kMsgCeiling = 32326;
constexpr int kMsgWall = 32327;
constexpr int kMsgFloor = 32328;
constexpr int kMsgDepreciation = 32329;
constexpr int kMsgSuspension = 32334;
constexpr int kMsgLuminaire = 32335;
constexpr int kMsgFlux = 32337;
constexpr int kMsgLuminaireIntro = 32338;
constexpr int kMsgLamp = 32340;
constexpr int kMsgPower = 32341;
constexpr int kMsgDescription = 32342;
constexpr int kMsgBallast = 32275;
constexpr int kMsgIlluminance = 32347;
constexpr int kMsgIlluminancePresets = 32348;
constexpr int kMsgCount = 32350;
constexpr int kMsgRuns = 32351;
constexpr int kMsgPerRun = 32352;
constexpr int kMsgRunSpacing = 32353;
constexpr int kMsgRunWall = 32354;
constexpr int kMsgEm = 32355;
constexpr int kMsgLightSpacing = 32356;
constexpr int kMsgLightWall = 32357;
constexpr int kMsgExport = 32358;
constexpr int kMsgAcross = 32359;
constexpr int kMsgCeilingPresets = 32361;
constexpr int kMsgWallPresets = 32366;
constexpr int kMsgFloorPresets = 32371;
constexpr int kMsgDepreciationPresets = 32376;
constexpr int kMsgIlluminancePresetTexts = 32381;
constexpr int kDefaultDepreciationPercent = 80;

QLabel* Caption(QWidget* parent, int message) {
  auto* label = new QLabel(parent);
  SetMessageText(label, message);
  return label;
}

QLabel* Unit(QWidget* parent, const char* unit) {
  return new QLabel(QString::fromLatin1(unit), parent);
}

// A row of a step: caption, field, unit and an optional preset list.
void AddRow(QGridLayout* grid, int message, QWidget* field, const char* unit,
            QWidget* extra = nullptr) {
  const int row = grid->rowCount();
  QLabel* caption = Caption(field->parentWidget(), message);
  // A refused value names its field by this caption.
  if (qobject_cast<QLineEdit*>(field)) field->setAccessibleName(caption->text());
  grid->addWidget(caption, row, 0);
  grid->addWidget(field, row, 1);
  grid->addWidget(Unit(field->parentWidget(), unit), row, 2);
  if (extra) grid->addWidget(extra, row, 3);
}

QGridLayout* StepGrid(QWidget* page, int introMessage) {
  auto* layout = new QVBoxLayout(page);
  if (introMessage != 0) {
    QLabel* intro = Caption(page, introMessage);
    intro->setWordWrap(true);
    layout->addWidget(intro);
  }
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  layout->addStretch();
  return grid;
}

}  // namespace

QLineEdit* CLightingCalcDlg::AddEdit(QWidget* page, const char* name) {
  auto* edit = new QLineEdit(page);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaximumWidth(110);
  return edit;
}

// A preset list beside its field: choosing an item writes its value (divided for the
// depreciation factor) into the field; typing into the field drops the choice.
QComboBox* CLightingCalcDlg::AddPresets(QWidget* page, const char* name, int firstMessage,
                                        int count, int min, int max, QLineEdit* target,
                                        int divisor) {
  auto* combo = new QComboBox(page);
  combo->setObjectName(QString::fromLatin1(name));
  for (int message = firstMessage; message < firstMessage + count; ++message)
    for (const CLightingPreset& preset : LightingPresets(LookupText(message), min, max))
      combo->addItem(QString::fromStdString(preset.label), preset.value);
  combo->setCurrentIndex(-1);
  connect(combo, &QComboBox::activated, this, [this, combo, target, divisor] {
    const int value = combo->currentData().toInt();
    SetText(target, divisor == 1 ? QString::number(value)
                                 : QString::fromStdString(FormatLightingValue(
                                       value * (1000 / divisor), 'f', m_setup.decimal)));
    target->selectAll();
  });
  connect(target, &QLineEdit::textChanged, this, [this, combo] {
    if (!m_writing) combo->setCurrentIndex(-1);
  });
  return combo;
}

QWidget* CLightingCalcDlg::BuildRoomPage() {
  auto* page = new QWidget(this);
  QGridLayout* grid = StepGrid(page, kMsgRoomIntro);
  AddRow(grid, kMsgLength, m_length = AddEdit(page, "light_length"), "m");
  AddRow(grid, kMsgWidth, m_width = AddEdit(page, "light_width"), "m");
  AddRow(grid, kMsgHeight, m_height = AddEdit(page, "light_height"), "m");
  AddRow(grid, kMsgPlane, m_plane = AddEdit(page, "light_plane"), "m");
  m_ceiling = AddEdit(page, "light_ceiling");
  AddRow(grid, kMsgCeiling, m_ceiling, "%",
         AddPresets(page, "1547", kMsgCeilingPresets, 5, 0, 99, m_ceiling, 1));
  m_wall = AddEdit(page, "light_wall");
  AddRow(grid, kMsgWall, m_wall, "%",
         AddPresets(page, "1548", kMsgWallPresets, 5, 0, 99, m_wall, 1));
  m_floor = AddEdit(page, "light_floor");
  AddRow(grid, kMsgFloor, m_floor, "%",
         AddPresets(page, "1549", kMsgFloorPresets, 5, 0, 99, m_floor, 1));
  m_depreciation = AddEdit(page, "light_depreciation");
  QComboBox* depreciation =
      AddPresets(page, "1550", kMsgDepreciationPresets, 5, 0, 99, m_depreciation, 100);
  AddRow(grid, kMsgDepreciation, m_depreciation, "", depreciation);
  // The usual surfaces: the second item of each reflectance list. The factor's list shows
  // the room the field's 0.8 stands for, rather than a blank that read as an empty list.
  for (const char* name : {"1547", "1548", "1549"})
    page->findChild<QComboBox*>(QString::fromLatin1(name))->setCurrentIndex(1);
  depreciation->setCurrentIndex(depreciation->findData(kDefaultDepreciationPercent));
  return page;
}

QWidget* CLightingCalcDlg::BuildLuminairePage() {
  auto* page = new QWidget(this);
  QGridLayout* grid = StepGrid(page, kMsgLuminaireIntro);
  AddRow(grid, kMsgSuspension, m_suspension = AddEdit(page, "light_suspension"), "m");
  m_luminaires = new QComboBox(page);
  m_luminaires->setObjectName(QStringLiteral("light_luminaire"));
  m_luminaires->setMinimumWidth(220);
  auto* rows = new QPushButton(QStringLiteral("..."), page);
  rows->setObjectName(QStringLiteral("1554"));
  rows->setAutoDefault(false);
  AddRow(grid, kMsgLuminaire, m_luminaires, "", rows);
  AddRow(grid, kMsgFlux, m_flux = AddEdit(page, "light_flux"), "lm");
  m_descriptionBox = new QWidget(page);
  auto* form = new QFormLayout(m_descriptionBox);
  form->addRow(Caption(m_descriptionBox, kMsgDescription),
               m_description = new QLabel(m_descriptionBox));
  form->addRow(Caption(m_descriptionBox, kMsgLamp), m_tube = new QLabel(m_descriptionBox));
  form->addRow(Caption(m_descriptionBox, kMsgPower), m_power = new QLabel(m_descriptionBox));
  form->addRow(Caption(m_descriptionBox, kMsgBallast), m_ballast = new QLabel(m_descriptionBox));
  grid->addWidget(m_descriptionBox, grid->rowCount(), 0, 1, 3);
  m_picture = new QLabel(page);
  m_picture->setObjectName(QStringLiteral("1562"));
  m_picture->setFixedSize(120, 90);
  m_picture->setAlignment(Qt::AlignCenter);
  m_picture->setStyleSheet(QStringLiteral("background: white; border: 1px solid gray"));
  grid->addWidget(m_picture, grid->rowCount() - 1, 3);
  connect(m_luminaires, &QComboBox::activated, this, [this] { ChooseLuminaire(true); });
  connect(rows, &QPushButton::clicked, this, &CLightingCalcDlg::OpenLuminaireRows);
  return page;
}

QWidget* CLightingCalcDlg::BuildIlluminancePage() {
  auto* page = new QWidget(this);
  QGridLayout* grid = StepGrid(page, 0);
  m_illuminance = AddEdit(page, "light_illuminance");
  m_illuminancePresets = AddPresets(page, "light_illuminance_presets", kMsgIlluminancePresetTexts,
                                    12, 10, 10000, m_illuminance, 1);
  AddRow(grid, kMsgIlluminance, m_illuminance, "lx");
  AddRow(grid, kMsgIlluminancePresets, m_illuminancePresets, "");
  return page;
}

QWidget* CLightingCalcDlg::BuildResultsPage() {
  auto* page = new QWidget(this);
  QGridLayout* grid = StepGrid(page, 0);
  auto readOnly = [&](const char* name) {
    QLineEdit* edit = AddEdit(page, name);
    edit->setReadOnly(true);
    return edit;
  };
  auto countList = [&](const char* name) {
    auto* combo = new QComboBox(page);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setMaximumWidth(110);
    connect(combo, &QComboBox::currentTextChanged, this, &CLightingCalcDlg::LayoutEdited);
    return combo;
  };
  AddRow(grid, kMsgIlluminance, m_wanted = readOnly("light_wanted"), "lx");
  AddRow(grid, kMsgCount, m_count = readOnly("light_count"), "");
  AddRow(grid, kMsgRuns, m_runs = countList("light_runs"), "");
  AddRow(grid, kMsgRunSpacing, m_runSpacing = readOnly("light_run_spacing"), "m");
  AddRow(grid, kMsgRunWall, m_runWall = readOnly("light_run_wall"), "m");
  AddRow(grid, kMsgPerRun, m_perRun = countList("light_per_run"), "");
  AddRow(grid, kMsgLightSpacing, m_lightSpacing = readOnly("light_spacing"), "m");
  AddRow(grid, kMsgLightWall, m_lightWall = readOnly("light_wall_spacing"), "m");
  AddRow(grid, kMsgEm, m_em = readOnly("light_em"), "lx");
  m_across = new QCheckBox(page);
  m_across->setObjectName(QStringLiteral("1325"));
  SetMessageText(m_across, kMsgAcross);
  grid->addWidget(m_across, grid->rowCount(), 0, 1, 2);
  auto* exportButton = new QPushButton(page);
  exportButton->setObjectName(QStringLiteral("1453"));
  exportButton->setAutoDefault(false);
  SetMessageText(exportButton, kMsgExport);
  grid->addWidget(exportButton, grid->rowCount() - 1, 3);
  connect(m_across, &QCheckBox::clicked, this, [this] {
    m_room.acrossWidth = m_across->isChecked();
    ShowPictures();
    Calculate(kLightingAuto | kLightingExchange, false);
  });
  connect(exportButton, &QPushButton::clicked, this, &CLightingCalcDlg::ExportStudy);
  return page;
}
