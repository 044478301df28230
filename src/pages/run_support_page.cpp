#include "pages/run_support_page.h"

#include "app/dorne_app.h"
#include "model/props/dimension.h"
#include "model/run/run_environment.h"
#include "ranges/range_pages.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kMsgSupportCaption = 2650;
constexpr std::int64_t kLargestSpacing = INT_MAX;
constexpr std::int64_t kLargestExtra = INT_MAX;

int RiserUK() {
  const CDorneApp* app = CRunEnvironment::Instance().App();
  return app != nullptr ? app->Profile().ReadProfileInt("Design", "RiserUK", 0) : 0;
}

}  // namespace

int CRunSupportPage::GetPageKind() const { return kPageRunSupport; }

int CRunSupportPage::GetCaptionMessage() const { return kMsgSupportCaption; }

void CRunSupportPage::DoLoad() {
  m_automatic = Prop("SupportAuto") == "1";
  const std::int64_t spacing = ReadBoundedInt(Prop("SupportPas"), 1, kLargestSpacing, 3000);
  m_spacingText = FormatScaled(spacing);
  m_spacingLabel = FormatLength(spacing);
  m_extra = ReadBoundedInt(Prop("SupportPlus"), 0, kLargestExtra, 0);
  m_extraText = std::to_string(m_extra);
  const std::string catalog = Prop("Catalog");
  m_lowerQP = catalog.starts_with("Qp");
  m_riserOffered = m_lowerQP || (catalog == "QPA" && RiserUK() == 0);
  m_springs = m_riserOffered && (Prop("RISERFIX") == "SPRINGS" || m_lowerQP);
}

CApplyOutcome CRunSupportPage::OnAutomaticClick(bool checked) {
  m_automatic = checked;
  return WriteProp("SupportAuto", checked ? "1" : "0") ? Applied() : Unchanged();
}

// The typed spacing truncated to whole units; nothing below 1 or beyond a length.
std::optional<std::int64_t> CRunSupportPage::ParseSpacing(const std::string& text) const {
  const std::optional<std::int64_t> rounded = ParseLength(text);
  const std::optional<double> value = Units().TryParse(text);
  if (!rounded || !value || *value < 1.0) return std::nullopt;
  return static_cast<std::int64_t>(*value);
}

CApplyOutcome CRunSupportPage::DoApply() {
  const std::optional<std::int64_t> spacing = ParseSpacing(m_spacingText);
  if (!spacing) {
    DoLoad();
    return Refused(kMsgSpacingRefused, FormatLength(1), kFieldSpacing);
  }
  m_extra =
      std::max<std::int64_t>(0, ReadBoundedInt(m_extraText, -kLargestExtra, kLargestExtra, 0));
  m_extraText = std::to_string(m_extra);
  bool changed = WriteProp("SupportAuto", m_automatic ? "1" : "0");
  changed |= WriteProp("SupportPas", std::to_string(*spacing));
  changed |= WriteProp("SupportPlus", m_extraText);
  if (m_riserOffered) changed |= WriteProp("RISERFIX", m_springs ? "SPRINGS" : "");
  m_spacingText = FormatScaled(*spacing);
  m_spacingLabel = FormatLength(*spacing);
  return changed ? Applied() : Unchanged();
}
