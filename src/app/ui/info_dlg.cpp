#include "app/ui/info_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/profile.h"
#include "app/settings_keys.h"
#include "app/ui/flag_sheet.h"
#include "app/ui/language_item_delegate.h"
#include "app/ui/message_box.h"
#include "app/ui/pictures.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgWelcome = 324;
constexpr int kMsgAbout = 325;
constexpr int kMsgLanguage = 326;
constexpr int kMsgDoNotShow = 31099;
constexpr int kMsgShowAtStart = 33030;

}  // namespace

CInfoDlg::CInfoDlg(const Setup& setup, CProfile& profile, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_profile(profile) {
  setObjectName(QString::number(kDialogId));
  SetMessageText(this, setup.mode == EInfoMode::About ? kMsgAbout : kMsgWelcome);
  new QVBoxLayout(this);
  BuildPictureRow();
  BuildChoices();
  BuildButtons();
  TranslateWindow(this);
}

void CInfoDlg::BuildPictureRow() {
  QString name = QString::fromStdString(m_setup.applicationName);
  auto* picture = new QLabel(this);
  picture->setObjectName(QString::number(kPicture));
  picture->setPixmap(PictureFileOr(m_setup.picturePath, [&name] { return InfoPicture(name); }));
  layout()->addWidget(picture);
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setObjectName(QString::number(kIcon));
  icon->setPixmap(StatusBarPicture());
  auto* text = new QLabel(name + QLatin1Char(' ') + QString::fromStdString(m_setup.version), this);
  text->setObjectName(QString::number(kNameText));
  QFont bold = text->font();
  bold.setBold(true);
  text->setFont(bold);
  row->addWidget(icon);
  row->addWidget(text, 1);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void CInfoDlg::BuildChoices() {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(this);
  SetMessageText(label, kMsgLanguage);
  m_languages = new QComboBox(this);
  m_languages->setObjectName(QString::number(kLanguageCombo));
  m_languages->setItemDelegate(new CLanguageItemDelegate(m_languages));
  std::vector<std::string> keys;
  for (const CLanguageEntry& entry : m_setup.languages) {
    QPixmap flag = LanguageFlag(LanguageNumber(entry.key));
    m_languages->addItem(flag.isNull() ? QIcon() : QIcon(flag), QString::fromStdString(entry.name),
                         QString::fromStdString(entry.key));
    keys.push_back(entry.key);
  }
  m_rememberedIndex = FindLanguageIndex(keys, m_setup.currentLanguage);
  m_languages->setCurrentIndex(m_rememberedIndex);
  row->addWidget(label);
  row->addWidget(m_languages, 1);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
  m_infosRead = ReadSettingInt(m_profile, settings_key::kInfos);
  m_infos = new QCheckBox(this);
  m_infos->setObjectName(QString::number(kInfosCheck));
  SetMessageText(m_infos, m_setup.mode == EInfoMode::About ? kMsgShowAtStart : kMsgDoNotShow);
  m_infos->setChecked(InfoCheckBoxChecked(m_setup.mode, m_infosRead));
  layout()->addWidget(m_infos);
}

void CInfoDlg::BuildButtons() { layout()->addWidget(MakeOkCancelButtons(this)); }

void CInfoDlg::accept() {
  std::vector<std::string> keys;
  for (const CLanguageEntry& entry : m_setup.languages) keys.push_back(entry.key);
  CInfoOutcome outcome = DecideInfoOk(m_setup.mode, m_infosRead, m_infos->isChecked(),
                                      m_languages->currentIndex(), m_rememberedIndex, keys);
  std::vector<CProfileValue> values;
  if (outcome.infosToWrite)
    values.push_back(SettingValue(settings_key::kInfos, std::to_string(*outcome.infosToWrite)));
  if (outcome.languageToWrite)
    values.push_back(SettingValue(settings_key::kLanguageId, *outcome.languageToWrite));
  if (!values.empty() && !m_profile.WriteProfileValues(values))
    SettingsNotSavedMessage(m_profile, this);
  done(outcome.result == kInfoLanguageChanged ? kInfoLanguageChanged : QDialog::Accepted);
}
