#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/message_text.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_line.h"
#include "reference/ref_messages.h"

namespace {

constexpr std::int64_t kMaxQuantity = std::numeric_limits<std::int32_t>::max();

std::int64_t Saturated(std::int64_t value) {
  return std::clamp<std::int64_t>(value, -kMaxQuantity, kMaxQuantity);
}

// A factor of a formula may be any 64-bit number: the product is held at the quantity
// limit even when it overflows 64 bits.
std::int64_t SaturatedProduct(std::int64_t a, std::int64_t b) {
  std::int64_t product = 0;
  if (!__builtin_mul_overflow(a, b, &product)) return Saturated(product);
  return (a < 0) != (b < 0) ? -kMaxQuantity : kMaxQuantity;
}

// The leading integer of a text (0 when there is none).
std::int64_t LeadingInteger(std::string_view text) {
  std::int64_t value = 0;
  const char* first = text.data();
  if (!text.empty() && text[0] == '+') ++first;
  std::from_chars(first, text.data() + text.size(), value);
  return value;
}

std::string Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

int ItemKindOf(int f, int productKind) {
  int kind = 2;
  if (f <= 2 || ((f == 28 || f == 29) && productKind != 0) ||
      ((f == 30 || f == 31) && (productKind == 4 || productKind == 8)))
    kind = 0;
  if ((f >= 3 && f <= 8) || f == 45) kind = 1;
  if ((f >= 9 && f <= 12) || f == 44) kind = 4;
  if (f >= 13 && f <= 15) kind = 5;
  if (productKind == 0 && f >= 24 && f <= 36) kind = 5;
  return kind;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The condition of a REF_FORM record's PARAM: two letters, ':', an argument.
bool ConditionPasses(const CRefLine& line, std::string_view param) {
  if (param.size() < 4 || param[2] != ':') return true;
  const std::string_view prefix = param.substr(0, 2), c3 = param.substr(3);
  const char d = c3[0];
  const int kind = line.productKind;
  const std::string code(RefProductCode(kind));
  if (prefix == "PA")
    return line.group >= 0 && line.group <= 9 &&
           Contains(param, std::string(1, char('0' + line.group)));
  if (prefix == "D4")
    return (kind != 4 && kind != 7 && kind != 8) ||
           Contains(param, "1") == (line.Component(8) != 0);
  if (prefix == "CH") return kind != 0 || LeadingInteger(c3) == line.Component(13);
  if (prefix == "PE") return kind != 0 || (LeadingInteger(c3) - 8) / 4 == line.Component(13);
  if (prefix == "FL") {
    const std::int64_t mask = LeadingInteger(c3);
    if (mask <= 0 || mask > std::numeric_limits<std::int32_t>::max()) return false;
    const std::size_t colon = c3.find(':');
    std::int64_t value = colon == std::string_view::npos ? 0 : LeadingInteger(c3.substr(colon + 1));
    for (std::int64_t bits = mask; (bits & 1) == 0; bits >>= 1) value <<= 1;
    return (line.Component(42) & mask) == value;
  }
  if (prefix == "IP")
    return Contains(param, "54") == (line.connection == 5 || line.connection == 6);
  if (prefix[0] == 'Q') return code.size() > 2 && d == code[2];
  if (prefix == "LU") return line.group != 3 || line.lineMode >= 10 || d == '0' + line.lineMode;
  if (prefix == "ZG") return (d == '1') == (line.fixingSpacing <= 200);
  return true;
}

struct Term {
  char op;  // ' ' before the first term, else '+' or '*'
  std::string text;
};

std::vector<Term> SplitFormula(std::string_view formula) {
  std::vector<Term> terms;
  char op = ' ';
  std::size_t start = 0;
  for (std::size_t i = 0; i <= formula.size(); ++i) {
    if (i < formula.size() && formula[i] != '+' && formula[i] != '*') continue;
    terms.push_back({op, Trimmed(formula.substr(start, i - start))});
    if (i < formula.size()) op = formula[i];
    start = i + 1;
  }
  return terms;
}

}  // namespace

// The evaluation of one REF_FORM record: the function, its alternative, and the current
// reference and quantity as the formula's terms are read.
class CRefFormulaRun {
 public:
  CRefFormulaRun(const CRefCatalogue& catalogue, CRefLine& line, int f, int a, int kind)
      : m_catalogue(catalogue), m_line(line), m_f(f), m_a(a), m_kind(kind) {}

  void Run(const std::string& formula) {
    const bool s2 = formula == "SUPGOUL2";
    m_q = Contains(formula, "[Q");
    m_base = m_q ? std::int64_t{m_line.Component(m_f)} + (m_a >= 0 ? m_line.Component(m_a) : 0) : 0;
    for (const Term& term : SplitFormula(formula)) Apply(term);
    bool second = s2;
    if (second) {
      if (m_n > 0) --m_n;
      else second = false;
    }
    Emit();
    if (second) {
      std::string support = "SUPGOUL";
      if (m_catalogue.ResolveComponentReference(m_line, support)) Emit(support, 1);
    }
  }

 private:
  std::int64_t PlaceholderValue(const std::string& term) {
    const CRefPriceSettings& settings = m_catalogue.Settings();
    const int kind = m_line.productKind;
    std::int64_t n = 0;
    if (term == "[Outlet]" || term == "[FreeOutlet]") {
      for (int i = 0; i < (kind == 0 ? 6 : 5); ++i) {
        const std::int64_t value = m_line.Component(3 + i), factor = settings.outletFactors[i];
        // A factor of 0 would divide by zero: its outlets are not counted.
        if (kind == 0 && factor != 0) n += value * 100 / factor;
        if (kind != 0) n += value * factor;
      }
      for (int slot = 0; term == "[FreeOutlet]" && slot < CRefLine::kSlotCount && n > 0; ++slot)
        n -= CRefLine::SlotUnits(m_line.slots[slot]);
      return std::max<std::int64_t>(n, 0);
    }
    if (term == "[Straight]" || term == "[Straight-1]") {
      if (kind == 0) return 0;
      for (int i = 3; i <= 7; ++i) n += m_line.Component(i);
      return term == "[Straight-1]" && n > 0 ? n - 1 : n;
    }
    if (term == "[TapOff]") {
      for (std::int32_t slot : m_line.slots) n += CRefLine::SlotUnits(slot);
      return n;
    }
    if (term.size() > 2 && term.compare(0, 2, "[Q") == 0 && term.back() == ']')
      return PackValue(term);
    return 0;
  }

  // "[Qk;m]": whole packs of k taken from the base, the rest kept for later terms when a
  // pack of m can still hold it.
  std::int64_t PackValue(const std::string& term) {
    const std::int64_t k = LeadingInteger(std::string_view(term).substr(2));
    const std::size_t semicolon = term.find(';');
    const std::int64_t m = semicolon == std::string::npos
                               ? 0
                               : LeadingInteger(std::string_view(term).substr(semicolon + 1));
    if (k <= 0) return std::int64_t{m_line.Component(m_f)} + (m_a >= 0 ? m_line.Component(m_a) : 0);
    std::int64_t n = m_base / k;
    m_base %= k;
    if (m_base != 0) {
      const bool keep = m > 0 && (m_base % m == 0 || (m_base / m + 1) * m < k);
      if (!keep) {
        ++n;
        m_base = 0;
      }
    }
    return n;
  }

  void Apply(const Term& term) {
    std::int64_t n = LeadingInteger(term.text);
    if (n == 0) n = PlaceholderValue(term.text);
    std::string reference;
    const bool isReference = n == 0 && IsReferenceTerm(term.text, reference);
    if (term.op != '*') {
      if (term.op == '+') Emit();
      m_n = (m_q || m_f == 45) ? 1 : m_line.Component(m_f);
      if (m_a >= 0 && !m_q) m_n += m_line.Component(m_a);
    }
    if (isReference) {
      m_reference = reference;
    } else {
      m_n = SaturatedProduct(m_n, n);
      if (term.op != '*') m_reference.clear();
    }
  }

  bool IsReferenceTerm(const std::string& text, std::string& reference) {
    if (text.empty() || text[0] == '[' || (text[0] >= '0' && text[0] <= '9')) return false;
    reference = text;
    if (m_catalogue.ResolveComponentReference(m_line, reference)) return true;
    m_catalogue.Report(FormatMessageTextSS(kMsgRefUnknownTerm, text,
                                           std::string(RefProductCode(m_line.productKind))));
    return false;
  }

  void Emit() {
    if (!m_reference.empty() && m_n > 0) Emit(m_reference, m_n);
  }

  void Emit(std::string reference, std::int64_t quantity) {
    m_catalogue.AddPricedItem(m_line, std::move(reference), quantity * m_line.lineQuantity, m_kind);
  }

  const CRefCatalogue& m_catalogue;
  CRefLine& m_line;
  const int m_f;
  const int m_a;  // the alternative function taken, or -1
  const int m_kind;
  bool m_q = false;
  std::int64_t m_base = 0;
  std::int64_t m_n = 0;
  std::string m_reference;
};

void CRefCatalogue::ExpandLineFormula(CRefLine& line) const {
  std::array<bool, CRefLine::kComponentCount> hasFormula{};
  for (const FormRow* row : FormRowsFor(line.productKind)) {
    const std::string& fct = row->fct;
    if (fct.find_first_not_of("0123456789- ") != std::string::npos) {
      Report(FormatMessageTextSS(kMsgRefBadFunction, fct, "REF_FORM.DBF"));
      continue;
    }
    int f = static_cast<int>(LeadingInteger(fct));
    if (f < 0 || f > 45) continue;
    if (f < CRefLine::kComponentCount) hasFormula[static_cast<std::size_t>(f)] = true;
    int a = -1;
    if (const std::size_t dash = fct.find('-'); dash != std::string::npos && dash > 0) {
      const std::int64_t alternative = LeadingInteger(std::string_view(fct).substr(dash + 1));
      if (alternative >= 0 && alternative < CRefLine::kComponentCount)
        hasFormula[static_cast<std::size_t>(alternative)] = true;
      if (alternative >= 0 && alternative < 45 && alternative != f &&
          line.Component(static_cast<int>(alternative)) > 0)
        a = static_cast<int>(alternative);
    }
    if (f != 45 && line.Component(f) < 1) {
      if (a < 0) continue;
      // The alternative stands in for the function: it is counted once, not twice.
      f = a;
      a = -1;
    }
    if (!ConditionPasses(line, row->param)) continue;
    CRefFormulaRun(*this, line, f, a, ItemKindOf(f, line.productKind)).Run(row->formula);
  }
  // A count the line holds that no formula of its product reads would vanish from the
  // price without a word.
  for (int c = 0; c < CRefLine::kComponentCount; ++c)
    if (!hasFormula[static_cast<std::size_t>(c)] && line.Component(c) > 0 &&
        IsRefCountedComponent(line.productKind, c))
      Report(FormatMessageText(kMsgRefUnpricedComponent, "dss", line.Component(c),
                               std::to_string(c), std::string(RefProductCode(line.productKind))));
}

void CRefCatalogue::RebuildLineItems(CRefLine& line) const {
  line.FreeItemNodes();
  if (!IsOpen()) return;
  ExpandLineFormula(line);
  ExpandTapOffReferences(line);
}
