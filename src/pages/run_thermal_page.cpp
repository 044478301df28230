#include "pages/run_thermal_page.h"

#include "ranges/range_pages.h"

#include <climits>

namespace {

constexpr int kMsgThermalCaption = 2751;

// The number after the n-th "/" of the text (n from 1); 0 when that "/" is missing.
long long NumberAfterSlash(const std::string& text, int n) {
  std::size_t at = 0;
  for (int i = 0; i < n; ++i) {
    at = text.find('/', at);
    if (at == std::string::npos) return 0;
    ++at;
  }
  return ReadBoundedInt(std::string_view(text).substr(at), INT_MIN, INT_MAX, 0);
}

}  // namespace

int CRunThermalPage::GetPageKind() const { return kPageRunThermal; }

int CRunThermalPage::GetCaptionMessage() const { return kMsgThermalCaption; }

std::string CRunThermalPage::ThermalText(int choice, const std::array<std::string, 3>& values) {
  if (choice < 1 || choice >= kChoices) return {};
  std::string text = std::to_string(choice);
  for (const std::string& value : values)
    text += "/" + std::to_string(ReadBoundedInt(value, INT_MIN, INT_MAX, 0));
  return text;
}

void CRunThermalPage::DoLoad() {
  const std::string stored = Prop("THERMAL");
  m_choice = static_cast<int>(ReadBoundedInt(stored, 0, kChoices - 1, 0));
  m_values = {};
  if (m_choice == 2)
    for (int i = 0; i < 3; ++i)
      m_values[static_cast<std::size_t>(i)] = std::to_string(NumberAfterSlash(stored, i + 1));
}

void CRunThermalPage::OnChoiceChange(int choice) {
  if (choice < 0 || choice >= kChoices || choice == m_choice) return;
  m_choice = choice;
  m_values = choice == 2 ? std::array<std::string, 3>{"0", "0", "0"} : std::array<std::string, 3>{};
}

void CRunThermalPage::SetValue(int index, std::string text) {
  if (index >= 0 && index < 3) m_values[static_cast<std::size_t>(index)] = std::move(text);
}

CApplyOutcome CRunThermalPage::DoApply() {
  return WriteProp("THERMAL", ThermalText(m_choice, m_values)) ? Applied() : Unchanged();
}
