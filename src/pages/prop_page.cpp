#include "pages/prop_page.h"

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <charconv>
#include <cmath>

namespace {

// Beyond this a typed value cannot be a length of a run (lengths are 32-bit).
constexpr double kLargestLength = 2147483647.0;

}  // namespace

void CPropPage::SetObject(CObjWithProp* object, int variant) {
  m_object = object != nullptr ? object->GetHandle() : CObjHandle();
  m_variant = variant;
  m_loaded = false;
}

bool CPropPage::Load() {
  m_loaded = false;
  if (GetObject() == nullptr) return false;
  DoLoad();
  m_loaded = true;
  return true;
}

CApplyOutcome CPropPage::Apply() {
  m_loaded = false;
  if (GetObject() == nullptr) return Unchanged();
  CApplyOutcome outcome = DoApply();
  m_loaded = true;
  return outcome;
}

CRunDocument* CPropPage::GetDocument() const {
  CObjWithProp* object = GetObject();
  if (auto* element = dynamic_cast<CDev*>(object)) return element->GetDocument();
  if (auto* run = dynamic_cast<CRun*>(object)) return run->GetDocument();
  return nullptr;
}

CDev* CPropPage::GetElement() const { return dynamic_cast<CDev*>(GetObject()); }

const CDimension& CPropPage::Units() const {
  static const CDimension metric = CDimension::Metric();
  CRunDocument* document = GetDocument();
  return document != nullptr ? document->GetUnits() : metric;
}

std::optional<std::int64_t> CPropPage::ParseLength(const std::string& text) const {
  const std::optional<double> value = Units().TryParse(text);
  if (!value || !std::isfinite(*value) || std::fabs(*value) > kLargestLength) return std::nullopt;
  return static_cast<std::int64_t>(std::llround(*value));
}

std::string CPropPage::FormatScaled(std::int64_t length) const {
  return Units().FormatScaled(static_cast<double>(length));
}

std::string CPropPage::FormatLength(std::int64_t length) const {
  return Units().FormatLength(static_cast<double>(length));
}

void CPropPage::Edit(int action, const std::function<void()>& write, bool totals) {
  CRunDocument* document = GetDocument();
  if (document != nullptr) document->SaveUndoState(action);
  write();
  if (document == nullptr) return;
  document->SetModified();
  if (totals) document->RecomputeTotals(1, 0);
  document->UpdateAllViews();
}

std::int64_t ReadBoundedInt(std::string_view text, std::int64_t min, std::int64_t max,
                            std::int64_t fallback) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return fallback;
  return value >= min && value <= max ? value : fallback;
}

void MoveOneQuantity(CDev& element, const std::string& reference) {
  CRun* run = element.GetRun();
  const std::string old = element.GetReference();
  if (old == reference) return;
  element.SetReference(reference);
  if (run == nullptr) return;
  run->GetBOM().RemoveRefQuantity(old, 1);
  run->GetBOM().AddHeldQuantity(reference, 1);
}
