#include "model/element/dev.h"
#include "ranges/qp/run_qp.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>

namespace {

constexpr std::string_view kNoPart = "ZZZZZZZZZZZZZZZZ";
// A spring set of another product line that goes with every riser fixing of this kind.
constexpr std::string_view kSpringSet = "QZ0RES0020";

bool StartsAt(std::string_view text, std::size_t at, std::string_view word) {
  return at <= text.size() && text.substr(at).starts_with(word);
}

// The rating code that most element references carry.
std::string_view RunRatingCode(bool upperCase, int calibre) {
  if (upperCase) return calibre < 41 ? "40" : calibre > 63 ? "99" : "63";
  return calibre < 26 ? "25" : calibre > 50 ? "80" : "50";
}

// The rating code of a price formula, by the element's calibre.
std::string_view FormulaRatingCode(int calibre) {
  if (calibre <= 25) return "25";
  if (calibre <= 50) return "50";
  return "80";
}

}  // namespace

std::string CRunQP::GetElementRef(int kind) {
  const bool upper = m_upperCase != 0;
  const int calibre = GetRating();
  const CRangeTables* tables = GetRangeTables();
  std::string buffer = RefFromCodeRows(tables != nullptr ? &tables->accessoryCodes : nullptr, kind);
  if (buffer.empty()) {
    buffer.assign(kRefWidth, ' ');
    // Accessories carry the run's rating code unless their kind gives its own.
    LayRefText(buffer, 0, "QPA");
    LayRefText(buffer, 3, RunRatingCode(upper, calibre));
    switch (kind) {
      case 10:
        if (upper && calibre < 26) LayRefText(buffer, 3, "25");
        if (!upper) SetRefChar(buffer, 2, 'B');
        LayRefText(buffer, 5, upper ? "ZJ4" : "YA4");
        break;
      case 11:
        if (!upper) return std::string();
        if (calibre >= 41) LayRefText(buffer, 3, "99");
        LayRefText(buffer, 5, "AF1");
        break;
      case 12:
        LayRefText(buffer, 0, "QPB40ZB2");
        if (calibre >= 41) LayRefText(buffer, 3, "99");
        break;
      case 20: buffer.assign(kSpringSet); break;
      case 21:
        if (upper) LayRefText(buffer, 2, "B99ZV2");
        else LayRefText(buffer, 3, "80ZM52");
        break;
      case 30:
        if (calibre < 26) LayRefText(buffer, 3, "25");
        LayRefText(buffer, 5, "ABCB4");
        break;
      default: return std::string();
    }
  } else {
    if (RefCharAt(buffer, 3) != ' ') LayRefText(buffer, 3, RunRatingCode(upper, calibre));
    if (kind == 0) {
      if (upper && calibre >= 41) LayRefText(buffer, 3, "99");
      if (!upper) SetRefChar(buffer, 7, calibre > 25 ? '3' : '1');
    } else if ((kind == 1 || kind == 2) && upper) {
      if (ReadRiserUK() != 0) {
        if (kind == 1) LayRefText(buffer, 3, "99");
      } else if (GetPropText("RISERFIX") == "SPRINGS") {
        if (kind == 2) return std::string();
        LayRefText(buffer, 2, "B99ZV3");
      } else if (kind == 2) {
        if (calibre <= 25) LayRefText(buffer, 3, "25");
      } else {
        LayRefText(buffer, 3, "99");
      }
    } else if (kind == 1) {
      LayRefText(buffer, 2, "01000ZV3");
    }
  }
  if (ExpandRatingInRef(buffer)) buffer.resize(kRefWidth);
  return buffer;
}

void CRunQP::CompleteDeviceRef(const CDev& element, std::string& buffer) const {
  FillRefPattern(buffer);
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  if (kind < CDev::kElbow || kind > CDev::kJunction5) {
    const CCodeRow* row = FindDeviceRow(GetKindGroup(kind), variant);
    if (row != nullptr) LayRefPattern(buffer, row->texts[3]);
    else LayRefText(buffer, 0, kNoPart);
  }
  if (kind == CDev::kEnd && variant == 0) return;
  const bool teeOrCross = kind == CDev::kJunction2 || kind == CDev::kJunction3;
  if (teeOrCross && m_upperCase != 0 && m_a == 0) SetRefChar(buffer, 2, 'A');
  const int calibre = element.GetCalibre().empty() ? GetRating() : TextToInt(element.GetCalibre());
  LayRatingCode(kind, variant, buffer, calibre);
  if (kind == CDev::kEnd && (variant == 2 || variant == 5))
    MarkTapOffPoint(element, buffer, calibre);
  if (kind == CDev::kEnd && variant == 7 && calibre > 40)
    LayRefText(buffer, 3, calibre == 50 ? "50" : "80");
  if (m_upperCase == 0 && kind == CDev::kInLineVariant && variant == 3 && calibre > 25)
    LayRefText(buffer, 8, "02");
}

void CRunQP::LayRatingCode(int kind, int variant, std::string& buffer, int calibre) const {
  if (m_upperCase == 0) {
    if (calibre == 10 || calibre == 16 || calibre == 25) LayRefText(buffer, 3, "25");
    else if (calibre == 40 || calibre == 50) LayRefText(buffer, 3, "50");
    else if (calibre == 63 || calibre == 80) LayRefText(buffer, 3, "80");
    return;
  }
  if (kind == CDev::kInLineVariant && variant == 4) return;
  const bool w = m_a != 0 || kind == CDev::kJunction2 || kind == CDev::kJunction3;
  const bool small =
      calibre == 25 || ((calibre == 10 || calibre == 16) && !(kind == CDev::kEnd && variant == 8));
  if (small) {
    const bool wideSpecial = kind == CDev::kInLineVariant && variant == 3 && !w;
    LayRefText(buffer, 3, wideSpecial ? "40" : "25");
  } else if (calibre == 40) {
    LayRefText(buffer, 3, "40");
  } else if (calibre == 50 || calibre == 63) {
    LayRefText(buffer, 3, w ? "63" : "80");
  } else if (calibre == 80) {
    LayRefText(buffer, 3, w ? "99" : "80");
  } else if (calibre == 99) {
    LayRefText(buffer, 3, "99");
  }
}

void CRunQP::MarkTapOffPoint(const CDev& element, std::string& buffer, int calibre) const {
  const int m = IsMountReversed(&element, 0);
  const bool two = element.GetVariant() == 2;
  if (m_upperCase == 0) {
    if (calibre >= 40) {
      LayRefText(buffer, 8, "62");
      if (m != 0) SetRefChar(buffer, 8, '5');
    }
    if (two && m == 2) LayRefText(buffer, 3, "10AB451");
    return;
  }
  if (two && calibre > 40) LayRefText(buffer, 7, "D4");
  if (RefCharAt(buffer, 7) == 'D' && m != 0) SetRefChar(buffer, 7, 'G');
  if (two && m == 2) LayRefText(buffer, 3, "10");
}

std::optional<std::string> CRunQP::GetPriceFormula(std::string_view reference) {
  const std::vector<CDev*>& devices = GetDevices();
  const auto found = std::find_if(devices.rbegin(), devices.rend(), [reference](const CDev* d) {
    return d->GetReference() == reference;
  });
  const CDev* element = found != devices.rend() ? *found : nullptr;
  const std::string calibreText =
      element != nullptr ? element->GetFieldText("Calibre").value_or("") : std::string();
  const int calibre = TextToInt(calibreText.empty() ? GetPropText("Calibre") : calibreText);
  const std::string_view code = FormulaRatingCode(calibre);
  std::optional<std::string> formula = CRun::GetPriceFormula(reference);
  if (!formula) return std::nullopt;
  if (element != nullptr && element->GetKind() == CDev::kEnd && element->GetVariant() == 2)
    formula->append(code == "25" ? "51" : "52");
  std::string prefix(kRefWidth, ' ');
  FillRefPattern(prefix);
  prefix.resize(3);
  std::string& text = *formula;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (StartsAt(text, i, "QPA31AB") || StartsAt(text, i, "QPA10AB")) continue;
    const bool ab25 = StartsAt(text, i, "QPA25AB");
    if (StartsAt(text, i, prefix) || StartsAt(text, i, "QPB") || StartsAt(text, i, "QW0"))
      LayRefText(text, i + 3, code);
    if (ab25) {
      LayRefText(text, i + 7, "42 ");
      if (text.size() == i + 10) text.resize(i + 9);
    }
  }
  return formula;
}
