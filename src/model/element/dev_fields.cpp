#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "platform/number_format.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include "platform/text_conversions.h"

#include <cmath>

namespace {

std::string Format(std::string_view format, double value) {
  const std::optional<CNumberFormat> parsed = CNumberFormat::Parse(format);
  return parsed ? parsed->Apply(value) : std::string();
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

std::optional<double> LineQuantity(const CDev& element) {
  const CRun* run = element.GetRun();
  if (run == nullptr) return std::nullopt;
  const int row = run->GetBOM().FindLine(element.GetReference());
  if (row < 0) return std::nullopt;
  const std::optional<std::string> text =
      run->GetBOM().GetLineFieldText(row, CBOMGrid::kKindQuantity);
  if (!text) return std::nullopt;
  return TextToDouble(*text);
}

std::optional<std::string> Compute(const CDev& element, const ComputedField& field) {
  const std::optional<std::string> base = element.GetFieldText(field.base);
  if (!base) return std::nullopt;
  double value = TextToDouble(*base) * field.factor;
  if (field.second == Second::Quantity) {
    const std::optional<double> quantity = LineQuantity(element);
    if (!quantity) return std::nullopt;
    value *= *quantity;
  } else if (field.second == Second::SalesCoef) {
    const std::optional<std::string> coef = element.GetFieldText("CoefVente");
    value *= coef ? TextToDouble(*coef) : 1.0;
  }
  return Format(field.format.empty() ? UnitPriceFormat(*base) : field.format, value);
}

}  // namespace

std::optional<std::string> CDev::GetFieldText(std::string_view name) const {
  if (name == "Ref") return m_reference;
  if (name == "Comment") return m_comment.str();
  if (name == "Calibre") return m_calibre.str();
  if (name == "CoefGlob") return Format("%.3f", SalesCoefficient(*this));
  if (name == "RemiseGlob") return Format("%.1f%%", (1.0 - SalesCoefficient(*this)) * 100.0);
  if (name == "PrixVR") {
    const std::optional<std::string> price = GetFieldText("PrixV");
    if (!price) return std::nullopt;
    return Format("%.2f", TextToDouble(*price) * SalesCoefficient(*this));
  }
  if (const CProp* prop = FindProp(name)) return prop->GetValue();
  for (const ComputedField& field : kComputed) {
    if (field.name == name) return Compute(*this, field);
  }
  if (name == "Remise") {
    const std::optional<std::string> coef = GetFieldText("CoefVente");
    if (!coef) return std::nullopt;
    return Format("%.4g%%", (1.0 - TextToDouble(*coef)) * 100.0);
  }
  if (name == "PrixVU") {
    const std::optional<std::string> unit = GetFieldText("PrixU");
    if (!unit) return std::nullopt;
    const std::optional<std::string> coef = GetFieldText("CoefVente");
    const double sales = coef ? TextToDouble(*coef) : 1.0;
    return Format("%.2f", TextToDouble(*unit) * sales * SalesCoefficient(*this));
  }
  if (name == "ENumber")
    return FindProp("HBv2_ENumber") ? std::optional(GetPropValue("HBv2_ENumber")) : std::nullopt;
  if (name == "Designation") {
    return FindProp("HBv2_Designation") ? std::optional(GetPropValue("HBv2_Designation"))
                                        : std::nullopt;
  }
  return std::nullopt;
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
