#include "pages/phase_order_page.h"

#include "model/element/dev.h"
#include "model/props/page_kinds.h"
#include "model/run/phase_order.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

namespace {

constexpr int kMsgPhaseOrderCaption = 2536;
// Only the two plain orders are offered.
constexpr int kOfferedOrders = 2;

}  // namespace

int CPhaseOrderPage::GetPageKind() const { return kPagePhaseOrder; }

int CPhaseOrderPage::GetCaptionMessage() const { return kMsgPhaseOrderCaption; }

CDev* CPhaseOrderPage::Element() const { return dynamic_cast<CDev*>(GetObject()); }

std::vector<std::string> CPhaseOrderPage::OrderLabels(const std::string& neutral,
                                                      const std::string& catalog) {
  const auto value = ReadBoundedInt(neutral, 0, 999999, 0);
  std::vector<std::string> labels;
  for (int code = 0; code < phase_order::kCodeCount; ++code) {
    std::string label = phase_order::OrderText(code);
    if (value != 3) label = "N" + label;
    if (catalog.starts_with("QG")) {
      if (value == 5) {
        label = "PE " + label;
      } else if (value == 4 && neutral != "4") {
        for (char& c : label)
          if (c == 'N') c = '4';
      }
    }
    labels.push_back(label);
  }
  return labels;
}

void CPhaseOrderPage::DoLoad() {
  const CDev* element = Element();
  const CRun* run = element != nullptr ? element->GetRun() : nullptr;
  m_labels.clear();
  if (run == nullptr) return;
  m_labels = OrderLabels(run->GetPropText("Neutral"), run->GetPropText("Catalog"));
  m_labels.resize(kOfferedOrders);
  SelectOrderAtElement(*element);
  const std::uint32_t flags = run->GetFlagsWord();
  m_userOrder = (flags & phase_order::kUserChosen) != 0;
  m_userOrderEnabled = run->GetPartsState() == 0;
  m_displayFlag = (flags & phase_order::kDisplayFlag) != 0;
}

void CPhaseOrderPage::SelectOrderAtElement(const CDev& element) {
  const int code = GetPhaseOrderAt(element, 0);
  m_selection = code < kOfferedOrders ? code : -1;
}

void CPhaseOrderPage::WriteFlags(CRun& run, std::uint32_t flags, bool rebuildScene) {
  Edit(kActionElementEdit, [&] {
    run.SetFlagsWord(flags);
    if (rebuildScene && run.GetDocument() != nullptr) run.GetDocument()->RebuildScene();
  });
}

void CPhaseOrderPage::OnUserOrderCheck(bool checked) {
  CDev* element = Element();
  CRun* run = element != nullptr ? element->GetRun() : nullptr;
  if (run == nullptr) return;
  std::uint32_t flags = run->GetFlagsWord() & ~phase_order::kUserChosen;
  if (checked) {
    flags |= phase_order::kUserChosen;
  } else {
    // The range's default order, written whole: a code left half of the old one would
    // name an order nobody chose.
    const int fallback = run->GetPropText("Catalog").starts_with("QG") ? 1 : 0;
    flags = phase_order::WithCode(flags, fallback);
  }
  WriteFlags(*run, flags, !checked);
  m_userOrder = checked;
  SelectOrderAtElement(*element);
}

void CPhaseOrderPage::OnOrderChange(int index) {
  CDev* element = Element();
  CRun* run = element != nullptr ? element->GetRun() : nullptr;
  if (run == nullptr || index < 0 || index >= kOfferedOrders) return;
  Edit(kActionElementEdit, [&] {
    run->SetFlagsWord(phase_order::WithCode(run->GetFlagsWord(), index));
    const int code = GetPhaseOrderAt(*element, -1);
    run->SetFlagsWord(phase_order::WithCode(run->GetFlagsWord(), code));
    if (run->GetDocument() != nullptr) run->GetDocument()->RebuildScene();
  });
  SelectOrderAtElement(*element);
}

void CPhaseOrderPage::OnDisplayFlagCheck(bool checked) {
  CDev* element = Element();
  CRun* run = element != nullptr ? element->GetRun() : nullptr;
  if (run == nullptr) return;
  std::uint32_t flags = run->GetFlagsWord() & ~phase_order::kDisplayFlag;
  if (checked) flags |= phase_order::kDisplayFlag;
  WriteFlags(*run, flags, false);
  m_displayFlag = checked;
}
