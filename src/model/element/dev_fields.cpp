#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "platform/number_format.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include "platform/text_conversions.h"

#include <array>
#include <cmath>
#include <iterator>

namespace {

// The formats of the fields below, parsed once: every priced line shows several.
constexpr std::string_view kFormats[] = {"%.1f%%", "%.2f", "%.3f", "%.4f", "%.4g", "%.4g%%"};

std::string Format(std::string_view format, double value) {
  static const auto parsed = [] {
    std::array<std::optional<CNumberFormat>, std::size(kFormats)> made;
    for (std::size_t i = 0; i < made.size(); ++i) made[i] = CNumberFormat::Parse(kFormats[i]);
    return made;
  }();
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    if (kFormats[i] == format) return parsed[i] ? parsed[i]->Apply(value) : std::string();
  }
  const std::optional<CNumberFormat> other = CNumberFormat::Parse(format);
  return other ? other->Apply(value) : std::string();
}

// A computed field: its base field, its second value (none, the line's quantity, or
// "CoefVente" with 1 in its place when absent), and how the value is made.
enum class Second { None, Quantity, SalesCoef };

struct ComputedField {
  std::string_view name;
  std::string_view base;
  Second second;
  double factor;
  std::string_view format;  // empty: the unit-price format chosen by the base
};

constexpr ComputedField kComputed[] = {
    {"PrixU", "HBv2_Std_Cost", Second::None, 0.0001, ""},
    {"PrixT", "PrixU", Second::Quantity, 1.0, "%.2f"},
    {"CoefVente", "HBv2_Std_Discount", Second::None, 1.0, "%.4g"},
    {"PrixV", "PrixT", Second::SalesCoef, 1.0, "%.2f"},
    {"TPoseU", "HBv2_Std_Labor", Second::None, 0.01, "%.2f"},
    {"TPoseT", "TPoseU", Second::Quantity, 1.0, "%.2f"},
    {"PoidsU", "HBv2_Weight", Second::None, 0.001, "%.3f"},
    {"PoidsT", "PoidsU", Second::Quantity, 1.0, "%.3f"},
};

std::string_view UnitPriceFormat(std::string_view baseText) {
  const int value = TextToInt(baseText);
  if (value % 10 != 0) return "%.4f";
  if (value % 100 != 0) return "%.3f";
  return "%.2f";
}

}  // namespace

namespace {

double SalesCoefficient(const CDev& element) {
  const CRunDocument* document = element.GetDocument();
  return document != nullptr ? static_cast<double>(document->GetSalesCoefficient()) : 1.0;
}

// Reads fields of one element, as GetFieldText gives each: the quantity of the element's
// bill line and each computed field are worked out once for all the fields read through
// one reader, since a priced line's total, sale price, weight and laying time each stand
// on the line's quantity, and the sale price on the total. The element must not change
// while the reader is in use.
class CFieldReader {
 public:
  explicit CFieldReader(const CDev& element) : m_element(element) {}

  std::optional<std::string> Text(std::string_view name);

 private:
  std::optional<std::string> Computed(std::size_t index);
  std::optional<std::string> Compute(const ComputedField& field);
  std::optional<double> LineQuantity();

  const CDev& m_element;
  std::optional<std::optional<double>> m_lineQuantity;
  std::array<std::optional<std::optional<std::string>>, std::size(kComputed)> m_computed;
};

std::optional<double> CFieldReader::LineQuantity() {
  if (m_lineQuantity) return *m_lineQuantity;
  m_lineQuantity.emplace();
  const CRun* run = m_element.GetRun();
  if (run == nullptr) return std::nullopt;
  const int row = run->GetBOM().FindLine(m_element.GetReference());
  if (row < 0) return std::nullopt;
  const std::optional<std::string> text =
      run->GetBOM().GetLineFieldText(row, CBOMGrid::kKindQuantity);
  if (text) *m_lineQuantity = TextToDouble(*text);
  return *m_lineQuantity;
}

std::optional<std::string> CFieldReader::Computed(std::size_t index) {
  std::optional<std::optional<std::string>>& kept = m_computed[index];
  if (!kept) kept = Compute(kComputed[index]);
  return *kept;
}

std::optional<std::string> CFieldReader::Compute(const ComputedField& field) {
  const std::optional<std::string> base = Text(field.base);
  if (!base) return std::nullopt;
  double value = TextToDouble(*base) * field.factor;
  if (field.second == Second::Quantity) {
    const std::optional<double> quantity = LineQuantity();
    if (!quantity) return std::nullopt;
    value *= *quantity;
  } else if (field.second == Second::SalesCoef) {
    const std::optional<std::string> coef = Text("CoefVente");
    value *= coef ? TextToDouble(*coef) : 1.0;
  }
  return Format(field.format.empty() ? UnitPriceFormat(*base) : field.format, value);
}

std::optional<std::string> CFieldReader::Text(std::string_view name) {
  const CDev& element = m_element;
  if (name == "Ref") return element.GetReference();
  if (name == "Comment") return element.GetComment();
  if (name == "Calibre") return element.GetCalibre();
  if (name == "CoefGlob") return Format("%.3f", SalesCoefficient(element));
  if (name == "RemiseGlob") return Format("%.1f%%", (1.0 - SalesCoefficient(element)) * 100.0);
  if (name == "PrixVR") {
    const std::optional<std::string> price = Text("PrixV");
    if (!price) return std::nullopt;
    return Format("%.2f", TextToDouble(*price) * SalesCoefficient(element));
  }
  if (const CProp* prop = element.FindProp(name)) return prop->GetValue();
  for (std::size_t i = 0; i < std::size(kComputed); ++i) {
    if (kComputed[i].name == name) return Computed(i);
  }
  if (name == "Remise") {
    const std::optional<std::string> coef = Text("CoefVente");
    if (!coef) return std::nullopt;
    return Format("%.4g%%", (1.0 - TextToDouble(*coef)) * 100.0);
  }
  if (name == "PrixVU") {
    const std::optional<std::string> unit = Text("PrixU");
    if (!unit) return std::nullopt;
    const std::optional<std::string> coef = Text("CoefVente");
    const double sales = coef ? TextToDouble(*coef) : 1.0;
    return Format("%.2f", TextToDouble(*unit) * sales * SalesCoefficient(element));
  }
  if (name == "ENumber" || name == "Designation") {
    const CProp* prop = element.FindProp(name == "ENumber" ? "HBv2_ENumber" : "HBv2_Designation");
    return prop != nullptr ? std::optional(prop->GetValue()) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CDev::GetFieldText(std::string_view name) const {
  return CFieldReader(*this).Text(name);
}

void CDev::GetFieldTexts(std::span<const std::string_view> names,
                         std::span<std::optional<std::string>> texts) const {
  CFieldReader reader(*this);
  for (std::size_t i = 0; i < names.size(); ++i) texts[i] = reader.Text(names[i]);
}

bool CDev::SetFieldText(std::string_view name, std::string_view text) {
  CRunDocument* document = GetDocument();
  if (document != nullptr) document->SetModified();
  if (name == "PrixVR") return false;
  if (name == "RemiseGlob" || name == "CoefGlob") {
    const double value = TextToDouble(text);
    const double coef = name == "CoefGlob" ? value : (100.0 - value) * 0.01;
    if (document != nullptr) document->SetSalesCoefficient(static_cast<float>(coef));
    if (m_run != nullptr) m_run->GetBOM().NumberLines(0);
    return true;
  }
  if (name == "Remise") {
    SetPropValue("CoefVente", Format("%.4g", (100.0 - TextToDouble(text)) * 0.01));
    return true;
  }
  CCompactText* field = name == "Ref"       ? nullptr
                        : name == "Comment" ? &m_comment
                        : name == "Calibre" ? &m_calibre
                                            : nullptr;
  if (name == "Ref") {
    // The file's placeholder for the default text would come back as that text.
    if (m_reference == text || (text == kGenericRef && !IsManualRecord())) return false;
    SetReference(std::string(text));
    m_edited = 1;
    return true;
  }
  if (field != nullptr) {
    if (*field == text) return false;
    *field = std::string(text);
    m_edited = 1;
    return true;
  }
  const bool changed = SetPropValue(name, text);
  if (changed) m_edited = 1;
  return changed;
}

void CDev::OverlayRefCode(std::string& reference) const {
  for (std::size_t i = 0; i < m_calibre.size() && 3 + i < reference.size(); ++i) {
    reference[3 + i] = m_calibre[i];
  }
}
