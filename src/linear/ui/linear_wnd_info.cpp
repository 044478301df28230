#include "app/ui/command_ids.h"
#include "model/ui/project_info_dlg.h"
#include "linear/ui/linear_wnd.h"
#include "model/doc_props.h"

// The project information of a linear project, edited in the shared dialog on a copy of
// its properties; OK writes them back and marks the project modified.

void CLinearWnd::RunProjectInfo() {
  if (!m_environment.dialogs) return;
  CDocProps props;
  for (std::size_t i = 0; i < kLinearPropertyNames.size(); ++i)
    if (!m_project.properties[i].empty())
      props.SetPropValue(kLinearPropertyNames[i], m_project.properties[i]);
  CProjectInfoDlg dialog(*m_environment.dialogs, this);
  dialog.SetDocument(nullptr, nullptr);
  dialog.SetProps(&props, QString::fromStdString(m_environment.projectsFolder));
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.Apply();
  for (std::size_t i = 0; i < kLinearPropertyNames.size(); ++i)
    m_project.SetProperty(kLinearPropertyNames[i], props.GetPropValue(kLinearPropertyNames[i]));
  UpdateTitle(true);
}
