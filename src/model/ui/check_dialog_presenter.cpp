#include "model/ui/check_dialog_presenter.h"

#include "model/builder/part_builder.h"
#include "model/ui/check_message_dlg.h"

CCheckDialogPresenter::CCheckDialogPresenter(QWidget* parent, CCheckZoomTarget* view,
                                             std::function<void()> beforeCorrection)
    : m_parent(parent), m_view(view), m_beforeCorrection(std::move(beforeCorrection)) {}

int CCheckDialogPresenter::ShowCheckMessages(CPartBuilder& builder) {
  CCheckMessageDlg dialog(builder.GetMessages(), m_view, m_parent);
  dialog.SetBeforeCorrection(m_beforeCorrection);
  dialog.exec();
  return dialog.ResultCode();
}
