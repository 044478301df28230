#pragma once

#include "app/ui/options_page.h"

// The user page: the user's name, phone, department, fax and e-mail, which the
// documents and costings print.
class CPageUser : public COptionsPage {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 166;
  static constexpr int kName = 1027;
  static constexpr int kPhone = 1029;
  static constexpr int kDepartment = 1028;
  static constexpr int kFax = 1031;
  static constexpr int kEmail = 1030;

  explicit CPageUser(QWidget* parent = nullptr);

  void Load(const COptionsValues& values) override;
  bool Save(COptionsValues& values) override;
};
