#pragma once

#include <array>
#include <vector>

#include "app/app_settings.h"
#include "app/device_entry.h"
#include "app/ui/options_page.h"

class QLabel;
class QListWidget;

// The colour page: the display colour of each kind of element. A colour that could not
// be told from the selection's highlight colour is refused.
class CPageColors : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 132;
  static constexpr int kList = 1003;
  static constexpr int kChooseButton = 156;
  static constexpr int kSample1 = 1024;
  static constexpr int kSample2 = 1025;

  explicit CPageColors(const std::vector<CDeviceEntry>& devices, QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

  // The colour the colour dialog gave for the current item: refused with a warning
  // when it is too near the highlight colour (false), else the item's new colour.
  bool ChooseColor(CColor color);
  CColor ShownColor() const;
  QListWidget* List() const { return m_list; }

 protected:
  void ResetDefaults() override;

 private:
  void ShowCurrentColor();
  void OnChooseButton();

  std::array<CColor, kColorCount> m_colors{};
  QListWidget* m_list = nullptr;
  QLabel* m_samples[2] = {nullptr, nullptr};
};

// "This colour is too close to the selection colour." and its caption.
inline constexpr int kMsgColorTooNearHighlight = 7537;
inline constexpr int kMsgColorTooNearHighlightCaption = 7538;
