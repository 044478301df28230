#include "pages/option_check_page.h"

#include "model/element/dev.h"
#include "model/props/page_kinds.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

namespace {

constexpr int kMsgOptionCheckCaption = 2760;

void RecolourWithNeighbours(CDev& element) {
  element.UpdateBoxColors(false);
  for (int face = 0; face < CDev::kFaceCount; ++face)
    if (CDev* neighbour = element.GetNeighbour(face)) neighbour->UpdateBoxColors(false);
}

}  // namespace

int COptionCheckPage::GetPageKind() const { return kPageOptionCheck; }

int COptionCheckPage::GetCaptionMessage() const { return kMsgOptionCheckCaption; }

void COptionCheckPage::DoLoad() {
  CDev* element = GetElement();
  m_state = element->GetRun() != nullptr ? element->GetRun()->AccessOption(element, 0) : 0;
}

CApplyOutcome COptionCheckPage::SetChecked(bool checked) {
  CDev* element = GetElement();
  CRun* run = element != nullptr ? element->GetRun() : nullptr;
  if (run == nullptr) return Unchanged();
  const int state = run->AccessOption(element, 0);
  const bool changes = state != 0 && (state == 1) != checked;
  bool changed = false;
  if (changes) {
    Edit(
        kActionElementEdit,
        [&] {
          changed = run->AccessOption(element, checked ? 1 : -1) != 0;
          if (!changed) return;
          CDev* referenced = element->FindReferencedElement();
          CDev& shown = referenced != nullptr ? *referenced : *element;
          if (CRun* owner = shown.GetRun()) {
            owner->Validate();
            owner->SetChangedFlag(1);
          }
          shown.SelectLineInBOM(true);
          RecolourWithNeighbours(shown);
          shown.SetEdited(1);
        },
        true);
  }
  element->NotifyPropDialog(kPropMsgRefresh);
  return changed ? Applied() : Unchanged();
}
