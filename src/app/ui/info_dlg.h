#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "app/info_dialog_rules.h"
#include "app/language_list.h"

class CProfile;
class QCheckBox;
class QComboBox;

// The start information dialog (358), also the About box: the program's picture, its
// name and version, the choice of the language of the user interface and a check box
// about showing the dialog at start. OK stores the check box in "Design"/"Infos" (only
// when it changed) and, when another language was chosen, "Language"/"ID": the dialog
// then ends with kInfoLanguageChanged (4), otherwise with Accepted; Cancel rejects.
// When the running language is not in the list, no language is selected at first, so
// that OK alone never switches the language.
class CInfoDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 358;
  static constexpr int kPicture = 1360;
  static constexpr int kIcon = 1459;
  static constexpr int kLanguageCombo = 1029;
  static constexpr int kInfosCheck = 1325;
  static constexpr int kNameText = 1070;

  struct Setup {
    EInfoMode mode = EInfoMode::Startup;
    std::vector<CLanguageEntry> languages;
    int currentLanguage = 33;
    std::string applicationName;
    std::string version;
    QString picturePath;  // "info.jpg" of the program folder; the drawn picture when unreadable
  };

  CInfoDlg(const Setup& setup, CProfile& profile, QWidget* parent = nullptr);

  QComboBox* LanguageCombo() const { return m_languages; }
  QCheckBox* InfosCheck() const { return m_infos; }

  void accept() override;

 private:
  void BuildPictureRow();
  void BuildChoices();
  void BuildButtons();

  Setup m_setup;
  CProfile& m_profile;
  int m_infosRead = 1;
  int m_rememberedIndex = -1;
  QComboBox* m_languages = nullptr;
  QCheckBox* m_infos = nullptr;
};
