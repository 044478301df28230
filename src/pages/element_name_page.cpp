#include "pages/element_name_page.h"

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/page_kinds.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

namespace {

constexpr int kMsgElementNameCaption = 7501;
// Refused: a line of the bill of materials needs a reference.
constexpr int kMsgEmptyReference = 2680;

bool IsStraightOrJoint(int kind) { return kind == CDev::kStraight || kind == CDev::kJoint; }

}  // namespace

int CElementNamePage::GetPageKind() const { return kPageElementName; }

int CElementNamePage::GetCaptionMessage() const { return kMsgElementNameCaption; }

bool CElementNamePage::OffersTapOffChoice() const {
  const CDev* element = GetElement();
  return element != nullptr && element->GetKind() == CDev::kTapOff;
}

std::string CElementNamePage::GetShownReference(const CDev& element, bool faceSelected) {
  if (const CDev* referenced = element.FindReferencedElement()) return referenced->GetReference();
  const CRun* run = element.GetRun();
  if (run == nullptr) return element.GetReference();
  return faceSelected ? run->GetKindText(CDev::kStraight, element.GetVariantIndex())
                      : run->GetKindText(element.GetKind(), element.GetVariant());
}

bool CElementNamePage::IsFaceSelected(const CDev& element) const {
  const CElementSelection& selection = CElementSelection::Of(element);
  return selection.Element() == &element && selection.Face() >= 0 &&
         selection.Face() < CDev::kFaceCount;
}

void CElementNamePage::LoadText(const CDev& element, bool faceSelected) {
  const CRun& run = *element.GetRun();
  const int kind = element.GetKind();
  const std::string kindText = run.GetKindText(kind, element.GetVariant());
  const bool built = run.GetPartsState() != 0;
  if (faceSelected) {
    if (!IsStraightOrJoint(kind) || element.GetReference() == kindText) {
      m_editable = false;
      m_text = GetShownReference(element, true);
    }
    return;
  }
  if (IsStraightOrJoint(kind)) {
    m_editable = false;
    if (built) m_text = kindText;
    else if (kind == CDev::kJoint && !element.IsActive())
      m_text = run.GetKindText(CDev::kJoint2, 0);
  }
  if (built && (kind == CDev::kElbow || kind == CDev::kInLine) && m_text == kindText) {
    m_editable = false;
    m_text = GetShownReference(element, false);
  }
}

void CElementNamePage::DoLoad() {
  const CDev& element = *GetElement();
  m_replaceAll = false;
  m_editable = true;
  m_text = element.GetReference();
  if (const CRun* run = element.GetRun()) {
    LoadText(element, IsFaceSelected(element));
    if (run->GetBOM().FindLine(m_text) < 0 || element.GetBooked() == 0) m_editable = false;
  }
  m_suffix.clear();
  if (const std::size_t mark = m_text.find(kGroupMark); mark != std::string::npos) {
    m_suffix = m_text.substr(mark);
    m_text.erase(mark);
  }
  m_loadedText = m_text;
}

CApplyOutcome CElementNamePage::DoApply() {
  CDev& element = *GetElement();
  CRun* run = element.GetRun();
  if (run == nullptr || (m_text == m_loadedText && !m_replaceAll)) return Unchanged();
  if (TrimBlanks(m_text).empty()) {
    m_text = m_loadedText;
    return Refused(kMsgEmptyReference);
  }
  const std::string reference = m_text + m_suffix;
  if (reference == element.GetReference()) return Unchanged();
  if (m_replaceAll) {
    ReplaceEverywhere(element, reference);
  } else if (m_editable && run->GetBOM().FindLine(element.GetReference()) >= 0 &&
             element.GetKind() != CDev::kStraight) {
    ReplaceOne(element, reference);
  } else {
    m_text = m_loadedText;
    return Unchanged();
  }
  m_loadedText = m_text;
  return Applied();
}

void CElementNamePage::ReplaceEverywhere(CDev& element, const std::string& reference) {
  CRun& run = *element.GetRun();
  const std::string old = element.GetReference();
  Edit(
      kActionElementEdit,
      [&] {
        run.ReplaceReference(old, reference);
        run.Validate();
        element.SelectLineInBOM(true);
      },
      true);
}

void CElementNamePage::ReplaceOne(CDev& element, const std::string& reference) {
  CRun& run = *element.GetRun();
  Edit(
      kActionElementEdit,
      [&] {
        MoveOneQuantity(element, reference);
        run.Validate();
        element.SelectLineInBOM(true);
      },
      true);
}
