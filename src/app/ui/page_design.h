#pragma once

#include "app/ui/options_page.h"

struct COptionsDesign;

// The design page: the overhangs of joints and boxes (0..500) and the drawing switches.
class CPageDesign : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 167;
  static constexpr int kBoxOverhang = 1029;
  static constexpr int kJointOverhang = 1028;
  static constexpr int kRealJoint = 155;
  static constexpr int kPrintBlackWhite = 1475;
  static constexpr int kShowBlackWhite = 1476;
  static constexpr int kPrintFrame = 1477;
  static constexpr int kBackBuffer = 1478;

  explicit CPageDesign(QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;

 protected:
  void ResetDefaults() override;

 private:
  void ShowDesign(const COptionsDesign& design);
};
