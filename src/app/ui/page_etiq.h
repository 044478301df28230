#pragma once

#include <array>

#include "app/app_settings.h"
#include "app/options_rules.h"
#include "app/ui/options_page.h"

class QCheckBox;
class QListWidget;

// The label page: for each of the seven kinds of labels of the layout view, whether it
// shows, whether it is opaque, its font and font colour and its background colour. The
// controls show one kind at a time; choosing another kind keeps what was set for the
// previous one. While the translator holds a language font, label fonts cannot be
// chosen (the font button is disabled).
class CPageEtiq : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 171;
  static constexpr int kKindList = 1044;
  static constexpr int kVisible = 1049;
  static constexpr int kOpaque = 1035;
  static constexpr int kFontButton = 1032;
  static constexpr int kBackgroundButton = 1045;

  explicit CPageEtiq(QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

  // What the font and colour dialogs give for the kind shown.
  void SetWorkingFont(const CLogFont& font, CColor fontColor);
  void SetWorkingBackground(CColor background);
  // The kinds as they stand, the one shown included.
  std::array<CLabelStyle, kLabelKindCount> Kinds();
  QListWidget* KindList() const { return m_list; }

 protected:
  void ResetDefaults() override;

 private:
  void ShowKind(int kind);
  void StoreControls();
  void OnKindChanged(int kind);
  void OnFontButton();
  void OnBackgroundButton();

  std::array<CLabelStyle, kLabelKindCount> m_kinds{};
  int m_held = 0;         // the kind whose values the controls hold
  CLabelStyle m_working;  // visible, opaque, font and colours being edited
  QListWidget* m_list = nullptr;
  QCheckBox* m_visible = nullptr;
  QCheckBox* m_opaque = nullptr;
};
