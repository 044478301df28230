#pragma once

#include "app/ui/options_page.h"

struct COptionsPercents;

// The zoom and move page: how far the zoom and move commands go, in percent (1..200).
class CPageRegl : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 165;
  static constexpr int kMoveDown = 1015;
  static constexpr int kMoveRight = 1010;
  static constexpr int kMoveLeft = 1009;
  static constexpr int kMoveUp = 1014;
  static constexpr int kZoomOut = 1008;
  static constexpr int kZoomIn = 1007;
  static constexpr int kZoomAll = 1026;

  explicit CPageRegl(QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

 protected:
  void ResetDefaults() override;

 private:
  void ShowPercents(const COptionsPercents& percents);
};
