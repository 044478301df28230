#include "pages/riser_page.h"

#include "app/dorne_app.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_pages.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kMsgRiserCaption = 2655;
constexpr int kMsgPlugCaption = 2667;
constexpr int kMsgPlugCaptionSmall = 2668;
constexpr int kMsgPlugCaptionQM = 30205;
constexpr int kMsgSupportsFixed = 2721;
constexpr int kMsgSupportsSprings = 2722;
// Every range but QM makes plugs of at most this length.
constexpr std::int64_t kLongestPlug = 2000;

std::string PlugField(std::int64_t extra) { return extra == 0 ? "" : std::to_string(extra); }

// The typed number of fixings: at least 1; a number beyond the most a rise takes (however
// many digits it has) is that most.
std::int64_t TypedCount(std::string_view text) {
  const std::int64_t count = ReadBoundedInt(text, 1, CRiserPage::kMostFixings, 0);
  if (count != 0) return count;
  while (!text.empty() && (text.front() == ' ' || text.front() == '+')) text.remove_prefix(1);
  const bool large = !text.empty() && text.front() >= '1' && text.front() <= '9';
  return large ? CRiserPage::kMostFixings : 1;
}

}  // namespace

int CRiserPage::GetPageKind() const { return kPageRiser; }

int CRiserPage::GetCaptionMessage() const { return kMsgRiserCaption; }

std::string CRiserPage::Catalogue() const {
  const CDev* element = GetElement();
  return element != nullptr && element->GetRun() != nullptr
             ? element->GetRun()->GetPropText("Catalog")
             : std::string();
}

std::string CRiserPage::GetSpacingLabel() const { return FormatLength(m_spacing); }

std::string CRiserPage::GetPlugLabel() const { return FormatLength(m_plug); }

void CRiserPage::SetStandardByCatalogue(CDev& element) {
  const CRun& run = *element.GetRun();
  const std::string catalog = run.GetPropText("Catalog");
  m_plugCaption = kMsgPlugCaption;
  m_plugShown = !catalog.starts_with("QG");
  m_plugEditable = !catalog.starts_with("QP") && !catalog.starts_with("Qp");
  std::int64_t longest = kLongestPlug;
  if (catalog.starts_with("QM")) {
    m_plugCaption = kMsgPlugCaptionQM;
    const bool sol2 = run.GetPropText("RISER") == "SOL2";
    // A rise whose straight carries the ED31 option keeps the plain standard.
    const auto* qm = dynamic_cast<const CRunQM*>(&run);
    const bool ed31 = qm != nullptr && qm->AccessED31Option(element, -1);
    const bool stepped = run.GetPropText("QM_ED_STEP") != "0" && !ed31 && sol2;
    m_standard = stepped ? 1950 : 2000;
    m_minimum = stepped ? (sol2 ? 0 : 1750) : 1800;
    longest = 3000;
  } else if (catalog.starts_with("QW")) {
    m_standard = 1700;
    m_minimum = 1200;
  } else if (catalog.starts_with("Qp")) {
    m_plugCaption = kMsgPlugCaptionSmall;
    m_standard = 450;
    m_minimum = 450;
    longest = 1850;
  } else if (catalog.starts_with("QP")) {
    const auto rating = ReadBoundedInt(run.GetPropText("Calibre"), 0, INT_MAX, 0);
    m_standard = (rating <= 40 ? 1315 : 1213) - element.GetOffset() / 2;
    m_minimum = m_standard;
  } else {
    m_standard = 3000;
    m_minimum = m_standard;
  }
  // The ceiling goes first, so a range whose standard lies above it keeps its standard.
  m_maximum = std::max(longest, m_minimum);
}

void CRiserPage::DoLoad() {
  CDev& element = *GetElement();
  m_withLength = true;
  m_count = 1;
  m_countText = std::to_string(m_count);
  m_spacing = kDefaultSpacing;
  m_spacingText = FormatScaled(m_spacing);
  if (element.GetRun() == nullptr) return;
  SetStandardByCatalogue(element);
  const std::string catalog = Catalogue();
  // A QP rise has no plug of its own: the standard follows the unit.
  if (catalog.starts_with("QP") && element.GetFieldText("PLUG1").has_value())
    element.SetPropValue("PLUG1", "");
  const std::string extra = element.GetFieldText("PLUG1").value_or("");
  m_plug = std::clamp(m_standard + ReadBoundedInt(extra, -kLongestGrowth, kLongestGrowth, 0),
                      m_minimum, m_maximum);
  m_plugText = FormatScaled(m_plug);
}

CApplyOutcome CRiserPage::DoApply() {
  CDev& element = *GetElement();
  const std::optional<std::int64_t> spacing = ParseLength(m_spacingText);
  if (!spacing || *spacing < 1) {
    m_spacingText = FormatScaled(m_spacing);
    return Refused(0, {}, 0);
  }
  m_spacing = *spacing;
  m_spacingText = FormatScaled(m_spacing);
  if (const std::optional<std::int64_t> plug = ParseLength(m_plugText))
    m_plug = std::clamp(*plug, m_minimum, m_maximum);
  m_plugText = FormatScaled(m_plug);
  m_count = TypedCount(m_countText);
  m_countText = std::to_string(m_count);
  const std::string wanted = PlugField(m_plug - m_standard);
  if (wanted == element.GetFieldText("PLUG1").value_or("")) return Unchanged();
  Edit(kActionElementEdit, [&] { element.SetFieldText("PLUG1", wanted); });
  return Applied();
}

CApplyOutcome CRiserPage::InsertFixings() {
  CDev* unit = GetElement();
  if (unit == nullptr) return Unchanged();
  CDev* next = unit->GetNeighbour(unit->GetDirection());
  if (next == nullptr) return Refused();
  const CApplyOutcome applied = Apply();
  if (applied.result == EApplyResult::kRefused || m_count < 2) return applied;
  // The fixings fit along the next element (grown by them when asked).
  const std::int64_t room =
      m_withLength ? std::max<std::int64_t>(0, kLongestGrowth - next->GetBookedLength())
                   : next->GetBookedLength();
  const std::int64_t count = std::min(m_count, 1 + room / m_spacing);
  int inserted = 0;
  Edit(
      kActionElementEdit, [&] { inserted = InsertAlong(*unit, count, m_spacing); }, true);
  return inserted > 0 || count > 1 ? Applied() : Unchanged();
}

int CRiserPage::InsertAlong(CDev& unit, std::int64_t count, std::int64_t spacing) {
  CDev& next = *unit.GetNeighbour(unit.GetDirection());
  const std::int64_t growth = m_withLength ? (count - 1) * spacing : 0;
  if (growth != 0 && unit.GetRun() != nullptr)
    unit.GetRun()->AddLengthToBOM(next.GetCalibre(), growth, next.GetVariantIndex());
  const auto length = static_cast<std::int32_t>(next.GetBookedLength() + growth);
  next.SetLength(length, false);
  next.SetBookedLength(length);
  const std::optional<std::string> kit = unit.GetFieldText("KITCF");
  const std::string plug = PlugField(m_plug - m_standard);
  const std::int64_t position = spacing + unit.GetOffset();
  CDev* current = &unit;
  int inserted = 0;
  for (std::int64_t i = 1; i < count; ++i) {
    CDev* front = current->GetNeighbour(current->GetDirection());
    if (front == nullptr || front->GetBookedLength() < position) break;
    if (current->InsertRiserFixing(current->GetDirection(), static_cast<std::int32_t>(spacing),
                                   unit.GetOffset()) == 0)
      break;
    CDev* fixing = current->GetNeighbour(current->GetDirection());
    fixing->SetPropValue("PLUG1", plug);
    if (kit) {
      fixing->SetPropValue("KITCF", std::to_string(ReadBoundedInt(*kit, INT_MIN, INT_MAX, 0)));
      fixing->RebuildChain();
    }
    current = fixing;
    ++inserted;
  }
  return inserted;
}

bool CRiserPage::AsksForSupports() const {
  const std::string catalog = Catalogue();
  if (catalog == "QPC") return true;
  // The UK fixings of QPA rises need no look at the supports.
  const CDorneApp* app = CRunEnvironment::Instance().App();
  return catalog == "QPA" && (app == nullptr || app->ReadProfileInt("Design", "RiserUK", 0) == 0);
}

int CRiserPage::GetSupportsQuestionLast() const {
  const CDev* element = GetElement();
  const bool springs = element != nullptr && element->GetRun() != nullptr &&
                       element->GetRun()->GetPropText("RISERFIX") == "SPRINGS";
  return springs ? kMsgSupportsSprings : kMsgSupportsFixed;
}
