#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/typed_field.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/linear_environment.h"
#include "reference/ref_lighting_export.h"
#include "reference/ui/ref_lighting_dlg.h"
#include "reference/ui/ref_lum_rows_dlg.h"

namespace {

constexpr int kMsgNoLuminaire = 32339;
constexpr int kMsgTooMany = 32396;

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void CLightingCalcDlg::Tell(const QString& text) {
  if (m_setup.environment && m_setup.environment->dialogs)
    m_setup.environment->dialogs->Message(this, text, kMbOk | kMbIconExclamation);
}

// Writes a text without dropping the preset choices that follow the user's typing.
void CLightingCalcDlg::SetText(QLineEdit* edit, const QString& text) {
  m_writing = true;
  edit->setText(text);
  m_writing = false;
}

void CLightingCalcDlg::SetValue(QLineEdit* edit, std::int32_t value, char kind, bool padded) {
  SetText(edit, ToQ(FormatLightingValue(value, kind, m_setup.decimal, padded)));
}

bool CLightingCalcDlg::ReadValue(QLineEdit* edit, std::int32_t& field, std::int32_t min,
                                 std::int32_t max, char kind, bool report) {
  const auto value = ParseLightingValue(edit->text().toStdString(), kind);
  if (value && (max < min || (*value >= min && *value <= max))) {
    SetValue(edit, *value, kind, kind == 'f' && edit != m_depreciation);
    field = *value;
    return true;
  }
  if (!report) return false;
  if (max < min || max > 2147483646) {
    Tell(ToQ(FieldNumberMessage(edit->accessibleName().toStdString(), kind != 'f')));
  } else {
    const auto limit = [&](std::int32_t v) {
      return FormatLightingValue(v, kind, m_setup.decimal);
    };
    Tell(ToQ(FieldRangeMessage(edit->accessibleName().toStdString(), limit(min), limit(max),
                               kind != 'f')));
  }
  edit->selectAll();
  edit->setFocus();
  return false;
}

bool CLightingCalcDlg::ReadStep(bool report) {
  CLightingRoom& r = m_room;
  switch (m_step) {
    case 1:
      return ReadValue(m_length, r.length, 1000, 1000000, 'f', report) &&
             ReadValue(m_width, r.width, 1000, 1000000, 'f', report) &&
             ReadValue(m_height, r.height, 1000, 100000, 'f', report) &&
             ReadValue(m_plane, r.plane, 0, r.height - 100, 'f', report) &&
             ReadValue(m_ceiling, r.ceiling, 0, 99, 'd', report) &&
             ReadValue(m_wall, r.wall, 0, 99, 'd', report) &&
             ReadValue(m_floor, r.floor, 0, 99, 'd', report) &&
             ReadValue(m_depreciation, r.depreciation, 100, 1000, 'f', report);
    case 2: {
      if (!ReadValue(m_suspension, r.suspension, 0, r.height - r.plane - 100, 'f', report))
        return false;
      if (!m_lum) {
        if (report) Tell(StringQText(kMsgNoLuminaire));
        return false;
      }
      return ReadValue(m_flux, m_lum->flux, 1, 100000, 'd', report);
    }
    case 3:
      if (!ReadValue(m_illuminance, r.illuminance, 1, 2147483647, 'd', report)) return false;
      return !report || Calculate(kLightingAuto | kLightingApply, true);
    default: return true;
  }
}

void CLightingCalcDlg::WriteStep() {
  switch (m_step) {
    case 1: m_length->setFocus(); break;
    case 2:
      SetValue(m_suspension, m_room.suspension, 'f', true);
      FillLuminaires();
      m_suspension->setFocus();
      break;
    case 3:
      if (m_room.illuminance >= 1) SetValue(m_illuminance, m_room.illuminance, 'd');
      else SetText(m_illuminance, QString());
      Calculate(kLightingAuto | kLightingApply, false);
      m_illuminance->setFocus();
      m_illuminance->selectAll();
      break;
    case 4:
      SetValue(m_wanted, m_room.illuminance, 'd');
      ShowResults();
      break;
    default: break;
  }
}

void CLightingCalcDlg::FillLuminaires() {
  m_types = LoadLuminaireTypes(m_setup.catalogueFolder);
  m_luminaires->clear();
  for (const CLuminaireType& type : m_types) m_luminaires->addItem(ToQ(type.name), type.record);
  m_luminaires->setCurrentIndex(m_luminaires->findData(m_lumRecord));
  ChooseLuminaire(false);
}

void CLightingCalcDlg::ChooseLuminaire(bool reload) {
  const int index = m_luminaires->currentIndex();
  const std::uint32_t record = index >= 0 ? m_luminaires->itemData(index).toUInt() : 0;
  if (reload || (m_lum && m_lum->record != record)) {
    m_lum = ReadLuminaireRecord(m_setup.catalogueFolder, record,
                                m_luminaires->currentText().toStdString(), &LookupText);
  }
  if (record == 0 || !m_lum) m_lum.reset();
  m_lumRecord = m_lum ? record : 0;
  if (!m_lum) m_luminaires->setCurrentIndex(-1);
  ShowDescription(m_lum.has_value());
}

void CLightingCalcDlg::ShowDescription(bool shown) {
  m_descriptionBox->setVisible(shown);
  m_flux->setEnabled(shown);
  m_picture->clear();
  if (!shown) {
    SetText(m_flux, QString());
    return;
  }
  m_description->setText(ToQ(m_lum->description));
  m_tube->setText(ToQ(m_lum->tube));
  m_power->setText(ToQ(m_lum->power));
  m_ballast->setText(ToQ(m_lum->ballast));
  SetValue(m_flux, m_lum->flux, 'd');
  // A missing or unreadable picture leaves the frame empty.
  const QPixmap picture(ToQ(m_lum->picturePath));
  if (!picture.isNull())
    m_picture->setPixmap(picture.width() > m_picture->width() - 2 ||
                                 picture.height() > m_picture->height() - 2
                             ? picture.copy(0, 0, m_picture->width() - 2, m_picture->height() - 2)
                             : picture);
}

void CLightingCalcDlg::OpenLuminaireRows() {
  CLumRowsDlg rows(m_setup.catalogueFolder, m_lumRecord, this);
  if (rows.exec() != QDialog::Accepted) return;
  m_luminaires->setCurrentIndex(m_luminaires->findData(rows.Chosen()));
  ChooseLuminaire(true);
}

// The calculation and its display; false (told when report) when the room needs more
// luminaires than a layout may hold.
bool CLightingCalcDlg::Calculate(int mode, bool report) {
  if (!m_lum) return true;
  const auto typed = [](QComboBox* combo) {
    return ParseLightingValue(combo->currentText().toStdString(), 'd').value_or(0);
  };
  if (!(mode & kLightingAuto)) m_result.runs = typed(m_runs), m_result.perRun = typed(m_perRun);
  m_result = CalculateLighting(m_room, *m_lum, mode, m_result.runs, m_result.perRun);
  if (mode & kLightingAuto) {
    m_writing = true;
    RefillCountList(m_runs, m_result.computedRuns);
    RefillCountList(m_perRun, m_result.computedPerRun);
    m_writing = false;
  }
  ShowResults();
  if (m_result.tooMany && report) {
    Tell(StringQText(kMsgTooMany).arg(m_result.needed));
    return false;
  }
  return !m_result.tooMany;
}

void CLightingCalcDlg::RefillCountList(QComboBox* combo, std::int32_t count) {
  combo->clear();
  for (std::int32_t n = std::max(1, count / 2); n <= 2 * count; ++n)
    combo->addItem(QString::number(n));
}

void CLightingCalcDlg::ShowResults() {
  const CLightingShownTexts shown = LightingShownTexts(m_result, m_setup.decimal);
  m_writing = true;
  m_count->setText(ToQ(shown.luminaires));
  m_runs->setCurrentText(ToQ(shown.runs));
  m_perRun->setCurrentText(ToQ(shown.perRun));
  m_runSpacing->setText(ToQ(shown.runSpacing));
  m_runWall->setText(ToQ(shown.runSpacingWall));
  m_lightSpacing->setText(ToQ(shown.lightSpacing));
  m_lightWall->setText(ToQ(shown.lightSpacingWall));
  m_em->setText(ToQ(shown.illuminance));
  m_writing = false;
}

void CLightingCalcDlg::LayoutEdited() {
  if (!m_writing && m_step == 4) Calculate(0, false);
}
