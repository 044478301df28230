#include "linear/linear_line_list.h"

#include <algorithm>

#include "app/message_text.h"
#include "linear/linear_config.h"
#include "linear/linear_slots.h"

namespace {

constexpr int kMsgLineName = 31011;

bool SamePair(int a, int b) {
  return a >= 0 && b >= 0 &&
         ((IsQmProduct(a) && IsQmProduct(b)) || (IsQwProduct(a) && IsQwProduct(b)) ||
          (IsQyProduct(a) && IsQyProduct(b)));
}

int ExpectedIpDegree(const CLinearLine& line, bool apod) {
  const int p = line.Product;
  if (IsQmProduct(p) || p == kProductQDA || (IsQpProduct(p) && !apod)) return 55;
  if (p == kProductQJF) return 31;
  return line.SecondVariant == 1 ? 54 : 52;
}

// The slot value an option-table entry offers: 0 not offered (-1), n offered with n-1.
std::int32_t SlotFromOption(int option, int entry) {
  if (option == 24) {
    if (entry == 0) return -1;
    return std::max(Slot24Code(entry) - 1, 0) | (std::max(Slot24Step(entry) - 1, 0) << 8);
  }
  if (option == 28) return 0;
  return entry - 1;
}

bool IsQya25(const CLinearLine& line) { return line.Product == kProductQYA && line.Rating == 25; }

}  // namespace

bool CLinearLineList::BeginNewLine(int group) {
  if (m_count >= kLinearMaxLines) return false;
  Working().Clear();
  Working().Group = group;
  return true;
}

bool CLinearLineList::EditLine(int index) {
  if (index < 0 || index >= m_count) return false;
  Working().Assign(m_lines[static_cast<std::size_t>(index)]);
  return true;
}

std::string CLinearLineList::ProposedName(int group) const {
  int n = 0;
  for (int i = 0; i < m_count; ++i)
    if (m_lines[static_cast<std::size_t>(i)].Group == group) ++n;
  return LookupText(kMsgLineName) + " " + std::to_string(n + 1);
}

int CLinearLineList::SaveWorkingAsNew(const std::string& name) {
  if (m_count >= kLinearMaxLines) return -1;
  Working().Name = LimitLinearText(name);
  Working().Comment = LimitLinearText(Working().Comment);
  return m_count++;
}

bool CLinearLineList::SaveWorkingOver(int index) {
  if (index < 0 || index >= m_count) return false;
  Working().Comment = LimitLinearText(Working().Comment);
  m_lines[static_cast<std::size_t>(index)].Assign(Working());
  return true;
}

bool CLinearLineList::DeleteLine(int index) {
  if (index < 0 || index >= m_count) return false;
  --m_count;
  for (int i = index; i <= m_count; ++i)
    m_lines[static_cast<std::size_t>(i)].Assign(m_lines[static_cast<std::size_t>(i + 1)]);
  return true;
}

bool CLinearLineList::RenameLine(int index, const std::string& name) {
  if (index < 0 || index >= m_count) return false;
  m_lines[static_cast<std::size_t>(index)].Name = LimitLinearText(name);
  return true;
}

void CLinearLineList::SetLineCount(int count) { m_count = std::clamp(count, 0, kLinearMaxLines); }

int CLinearLineList::FindLine(int n, int filter,
                              const std::array<bool, kLinearGroupCount>& enabled) const {
  int found = 0;
  for (int g = 0; g < kLinearGroupCount; ++g) {
    if (!enabled[g]) continue;
    for (int i = 0; i < m_count; ++i) {
      const CLinearLine& line = m_lines[static_cast<std::size_t>(i)];
      if (line.Group != g) continue;
      if (filter != kAllLines && filter != GroupFilter(g) && filter != i) continue;
      if (++found == n) return i;
    }
  }
  return n == 0 ? found : -1;
}

void CLinearLineList::SetProductAndRating(int product, int rating, const CLinearConfig& config) {
  CLinearLine& line = Working();
  const bool wasQya25 = IsQya25(line);
  const bool reset = line.Product != product && !SamePair(line.Product, product);
  line.Product = product;
  line.Rating = rating;
  if (reset) {
    const CLinearConfig::OptionTable table = config.LineOptionTable(line);
    for (int s = 0; s < kLinearFirstBoxSlot; ++s) line.Slots[s] = SlotFromOption(s, table[s]);
    std::fill(line.Slots.begin() + kLinearFirstBoxSlot, line.Slots.end(), -1);
  } else {
    if (product == kProductQJF && rating > 3400) line.Slots[3] = -1;
    if (product == kProductQMC && rating > 4000)
      for (int s : {0, 4, 27, 15, 25}) line.Slots[s] = -1;
    if (wasQya25 != IsQya25(line)) {
      const int code = Slot24Code(config.LineOptionTable(line)[24]);
      line.Slots[24] = WithSlot24Code(std::max(line.Slots[24], 0), std::max(code - 1, 0));
    }
  }
  UpdateIpDegree(config);
}

void CLinearLineList::UpdateIpDegree(const CLinearConfig& config) {
  CLinearLine& line = Working();
  const int degree = ExpectedIpDegree(line, config.Apod());
  if (degree == line.IpDegree) return;
  line.IpDegree = degree;
  line.Slots[14] = config.LineOptionTable(line)[14] - 1;
}
