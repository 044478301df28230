#include "model/element/dev.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view kNoPrice = "ZZZZZZZZZ";
// Part references keep nine characters before their options.
constexpr std::size_t kStemWidth = 9;
constexpr int kMaxLengthFields = 6;

// Whether the reference carries option letters: "QJ0" or "QJF", longer than nine
// characters, 'A' at place 9.
bool CarriesOptions(std::string_view reference) {
  return reference.size() > kStemWidth &&
         (reference.starts_with("QJ0") || reference.starts_with("QJF")) && reference[9] == 'A';
}

// The option letters: from place 10 to the first blank or the end of the reference.
std::string OptionLetters(std::string_view reference) {
  if (reference.size() <= 10) return {};
  const std::string_view rest = reference.substr(10);
  return std::string(rest.substr(0, rest.find(' ')));
}

std::string OptionTerm(std::string_view rating, char letter) {
  return "QZQJ" + std::string(rating) + "_OPTION_" + letter;
}

// A number as printf's "%g" writes it in the C locale, whatever the user's locale.
std::string FormatG(double value) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return error == std::errc{} ? std::string(buffer, end) : std::string("0");
}

// The whole number after the first '-' of a length text, or of the whole text.
std::int64_t LegLength(std::string_view text) {
  const std::size_t dash = text.find('-');
  return TextToInt(dash == std::string_view::npos ? text : text.substr(dash + 1));
}

}  // namespace

const CDev* CRunQJF::FindDeviceByReference(std::string_view reference) const {
  const std::vector<CDev*>& devices = GetDevices();
  const auto found = std::find_if(devices.rbegin(), devices.rend(), [reference](const CDev* d) {
    return d->GetReference() == reference;
  });
  return found != devices.rend() ? *found : nullptr;
}

std::optional<std::string> CRunQJF::GetOptionSuffix(std::string_view reference) {
  if (std::optional<std::string> formula = CRun::GetPriceFormula(reference)) return formula;
  if (!CarriesOptions(reference)) return std::nullopt;
  const std::string rating = RefPairAt(reference, 3);
  std::string result(reference.substr(0, kStemWidth));
  for (const char letter : OptionLetters(reference)) result += "+" + OptionTerm(rating, letter);
  return result;
}

std::optional<std::string> CRunQJF::GetPriceFormula(std::string_view reference) {
  const CDev* element = FindDeviceByReference(reference);
  std::optional<std::string> formula = CRun::GetPriceFormula(reference);
  if (formula && element != nullptr) {
    const bool feed = (element->GetKind() == CDev::kEnd && element->GetVariant() == 3) ||
                      element->GetKind() == CDev::kAccessory;
    const std::string& r = *formula;
    const bool cableBox = r.size() > 6 ? r.compare(4, 3, "6AK") == 0 : r == "6AK";
    if (feed && cableBox) formula = GetFeedUnitFormula(*element, r);
  }
  if (formula && formula->size() > 5 && formula->starts_with("QZH"))
    formula = "QZQJ" + formula->substr(3);
  if (formula) return formula;
  if (!CarriesOptions(reference)) return std::nullopt;
  return MakeLengthFormula(reference, OptionLetters(reference));
}

// The formula of a feed unit whose catalogue formula names the cable box: the unit's own
// pattern under the formula's characters, priced at its connection mark.
std::optional<std::string> CRunQJF::GetFeedUnitFormula(const CDev& element,
                                                       std::string_view formula) {
  std::string text(kRefWidth, ' ');
  BuildElementPattern(element, text);
  const bool keepsSeventh = (element.GetStyle() & 0x00FF0000u) != 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i >= formula.size()) text[i] = ' ';
    else if (formula[i] != '?' && !(i == 6 && keepsSeventh)) text[i] = formula[i];
  }
  const std::string family = RefPairAt(text, 5);
  if (family == "AA" || family == "AB" || family == "AC" || family == "AK") {
    text[8] = '1';
  } else if ((family == "AD" || family == "AL") && TextToInt(text.substr(3)) <= 26) {
    text[8] = '1';
  } else {
    LayRefText(text, 0, kNoPrice);
  }
  return "+ " + text;
}

std::string CRunQJF::MakeLengthFormula(std::string_view reference, std::string options) const {
  const std::string rating = RefPairAt(reference, 3);
  std::string result;
  for (const char letter : options) {
    if (letter == '2') result += OptionTerm(rating, '2') + " + ";
  }
  std::erase(options, '2');
  std::int64_t length = 0;
  const std::size_t equals = reference.find('=');
  if (equals != std::string_view::npos && equals + 1 < reference.size()) {
    std::string values(reference.substr(equals + 1));
    NormalizeParamText(values);
    std::size_t start = 0;
    for (int field = 0; field < kMaxLengthFields && start <= values.size(); ++field) {
      const std::size_t comma = std::min(values.find(',', start), values.size());
      length += TextToInt(std::string_view(values).substr(start, comma - start));
      start = comma + 1;
    }
  } else {
    std::string stem(reference.substr(0, kStemWidth));
    stem.resize(kRefWidth, ' ');
    const CPatternRow row = FindPartRow(stem);
    for (std::size_t leg = 1; leg <= 6; ++leg) length += LegLength(row.texts[leg]);
  }
  result += "0 * " + FormatG(static_cast<double>(length) * 0.001) + " + ";
  for (const char letter : options) result += OptionTerm(rating, letter) + " + ";
  return result + std::string(reference.substr(0, kStemWidth));
}
