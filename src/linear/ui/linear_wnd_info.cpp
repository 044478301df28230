#include "app/ui/command_ids.h"
#include "linear/ui/linear_wnd.h"
#include "model/document/doc_props.h"
#include "model/ui/project_info_dlg.h"

bool RunProjectInfoDialog(CProjectFields& fields, CShellDialogs& dialogs,
                          const std::string& projectsFolder, QWidget* parent) {
  CDocProps props;
  for (std::size_t i = 0; i < kLinearPropertyNames.size(); ++i)
    if (!fields.properties[i].empty())
      props.SetPropValue(kLinearPropertyNames[i], fields.properties[i]);
  CProjectInfoDlg dialog(dialogs, parent);
  dialog.SetDocument(nullptr, nullptr);
  dialog.SetProps(&props, QString::fromStdString(projectsFolder));
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Apply();
  for (std::size_t i = 0; i < kLinearPropertyNames.size(); ++i)
    fields.SetProperty(kLinearPropertyNames[i], props.GetPropValue(kLinearPropertyNames[i]));
  return true;
}

void CLinearWnd::RunProjectInfo() {
  if (m_environment.dialogs &&
      RunProjectInfoDialog(m_project, *m_environment.dialogs, m_environment.projectsFolder, this))
    UpdateTitle(true);
}
