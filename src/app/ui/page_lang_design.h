#pragma once

#include "app/ui/options_page.h"

class QButtonGroup;

// The designation-language page: in which language the catalogue designations are
// taken (local, UK or the option's), and whether packaging is priced.
class CPageLangDesign : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 199;
  static constexpr int kLocal = 1105;
  static constexpr int kUk = 1106;
  static constexpr int kOption = 1107;
  static constexpr int kPackaging = 1074;

  explicit CPageLangDesign(QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

 protected:
  void ResetDefaults() override;

 private:
  void Show(int designLanguage, bool packaging);

  QButtonGroup* m_choices = nullptr;
};
