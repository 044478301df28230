#include "ref_ui_test_support.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/option_list_files.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_page_view.h"
#include "reference/ui/ref_wnd.h"

CRefTestSetup::CRefTestSetup() {
  COptionListFiles::ResetRun(CRefConfig::kListName);
  common.folder.WriteFile("TVR.INI",
                          "[Design]\nCopper=1\n[Linear]\nHlp=1\nHlp2=1\n[Ref]\nHlp=1\nHlp2=1\n");
  environment.common = common.environment;
  environment.configSetup = {common.folder.Folder(), std::string(TVR_PROGRAM_DIR) + "/ref_conf.cfg",
                             std::string(TVR_PROGRAM_DIR) + "/DBF/"};
  environment.catalogueSetup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  environment.catalogueSetup.articleFolder = std::string(TVR_PROGRAM_DIR) + "/BD/";
}

CRefTestSetup::~CRefTestSetup() { COptionListFiles::ResetRun(CRefConfig::kListName); }

int AddRefLine(CRefWnd& window, int group, int kind, int rating, int length, int count,
               const QString& name) {
  CRefConfigDlg& dialog = window.Dialog();
  if (!dialog.AddNewLineItem(RefProductNodeCode(group, kind))) return -1;
  QComboBox* ratings = dialog.LinePage().RatingCombo();
  if (rating > 0) ratings->setCurrentIndex(ratings->findData(rating));
  if (ratings->currentIndex() < 0) return -2;
  dialog.LinePage().LengthEdit()->setText(QString::number(length));
  dialog.LinePage().CountEdit()->setText(QString::number(count));
  if (!dialog.Validate()) return -3;
  if (!dialog.TakeComponentCounts()) return -4;
  AcceptNextModal(name);
  if (!dialog.Commit()) return -5;
  return RefLineCount(window.Project());
}
