#include "pages/run_comment_page.h"

#include "model/props/page_kinds.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

namespace {

constexpr int kMsgCommentCaption = 2557;

}  // namespace

int CRunCommentPage::GetPageKind() const { return kPageRunComment; }

int CRunCommentPage::GetCaptionMessage() const { return kMsgCommentCaption; }

void CRunCommentPage::DoLoad() {
  m_name = Prop("Name");
  m_comment = Prop("Comment");
}

CApplyOutcome CRunCommentPage::DoApply() {
  const bool name = WriteProp("Name", m_name);
  const bool comment = WriteProp("Comment", m_comment);
  if (!name && !comment) return Unchanged();
  // The name shows in the view and on the run's tab.
  if (name && Run()->GetDocument() != nullptr) Run()->GetDocument()->UpdateAllViews();
  return Applied();
}
