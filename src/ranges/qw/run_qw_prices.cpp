#include "model/run/run.h"
#include "platform/text_conversions.h"
#include "ranges/qw/qw_text.h"
#include "ranges/range_ref_text.h"
#include "ranges/qw/run_qw.h"
#include "ranges/range_table_reader.h"

#include <array>
#include <charconv>

using qw::HasAt;

namespace {

constexpr std::string_view kOption = "A1";
constexpr std::string_view kOptionFormula = "QW00_OPTION_A1";

// The rating class of a formula reference of family "ER" (endFeed) or any other.
std::string_view FormulaRatingClass(int rating, bool qwa, bool endFeed, bool typeB, bool flag1004) {
  if (endFeed) {
    if (rating == 20 || rating == 31) return "25";
    if (rating == 63 && qwa) return "80";
    if (rating == 40 || rating == 50 || rating == 63) return typeB ? "50" : "63";
    return rating == 80 ? "80" : "";
  }
  if (rating == 63 && flag1004) return "";
  return qw::UsualRatingClass(rating, qwa);
}

// A number printed as "%g" does, without the locale.
std::string Shortest(double value) {
  std::array<char, 32> text{};
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 6);
  return error == std::errc{} ? std::string(text.data(), end) : std::string("0");
}

// The sum of the first six comma-separated numbers of the parameters.
double ParameterLength(std::string_view parameters) {
  double sum = 0;
  for (int i = 0; i < 6 && !parameters.empty(); ++i) {
    const std::size_t comma = parameters.find(',');
    sum += TextToDouble(parameters.substr(0, comma));
    if (comma == std::string_view::npos) break;
    parameters.remove_prefix(comma + 1);
  }
  return sum;
}

// The sum over the legs of the number after the last "-" of each leg.
double LegLength(const CPatternRow& row) {
  double sum = 0;
  for (std::size_t leg = 1; leg <= 6; ++leg) {
    const std::string& text = row.texts[leg];
    const std::size_t dash = text.rfind('-');
    sum += TextToDouble(dash == std::string::npos ? text : text.substr(dash + 1));
  }
  return sum;
}

// Where the option "A1" stands in a reference: the rebuild writes it over the last blank
// and the letter after it, so it ends the reference, comes before the parameters' "=",
// or is followed by a blank.
std::size_t OptionAt(std::string_view reference) {
  for (std::size_t at = reference.find(kOption); at != std::string_view::npos;
       at = reference.find(kOption, at + 1)) {
    const std::size_t after = at + kOption.size();
    if (after == reference.size() || reference[after] == ' ' || reference[after] == '=') return at;
  }
  return std::string_view::npos;
}

}  // namespace

// Every "QW0" of the formula takes the rating class of the run: family "ER" of type
// "1" has rules of its own.
void RewriteFormulaRatings(std::string& formula, int rating, bool qwa) {
  for (std::size_t at = formula.find("QW0"); at != std::string::npos;
       at = formula.find("QW0", at + 1)) {
    const std::string_view from = std::string_view(formula).substr(at);
    bool endFeed = false, typeB = false, flag1004 = false;
    if (HasAt(from, 5, "ER") && RefCharAt(from, 8) == '1') {
      if (HasAt(from, 8, "1004")) {
        flag1004 = true;
        if (RefCharAt(from, 7) == '4') formula[at + 7] = '7';
      } else {
        endFeed = true;
        typeB = RefCharAt(from, 11) == '1';
      }
    }
    std::string slice = formula.substr(at, 5);
    LayRefText(slice, 3, FormulaRatingClass(rating, qwa, endFeed, typeB, flag1004));
    formula.replace(at, slice.size(), slice);
  }
  for (std::size_t at = formula.find("EV3", 5); at != std::string::npos;
       at = formula.find("EV3", at + 1)) {
    formula[at + 2] = '4';
  }
}

std::optional<std::string> CRunQW::GetPriceFormula(std::string_view reference) {
  if (std::optional<std::string> formula = CRun::GetPriceFormula(reference)) {
    RewriteFormulaRatings(*formula, GetRating(), IsQWA());
    return formula;
  }
  const std::size_t option = OptionAt(reference);
  if (option == std::string_view::npos || HasAt(reference, 5, "ZA1")) return std::nullopt;
  const std::size_t equals = reference.find('=');
  std::string parameters =
      equals == std::string_view::npos ? std::string() : std::string(reference.substr(equals + 1));
  NormalizeParamText(parameters);
  if ((HasAt(reference, 5, "EF") && HasAt(reference, 8, "20")) ||
      (HasAt(reference, 5, "ER") && HasAt(reference, 8, "100"))) {
    parameters = "2000";
  }
  std::string key(reference.substr(0, option));
  key.resize(std::max<std::size_t>(key.size(), kRefWidth), ' ');
  const double length =
      parameters.empty() ? LegLength(FindPartRow(key)) : ParameterLength(parameters);
  return std::string(kOptionFormula) + " * " + Shortest(length * 0.001) + " + " +
         std::string(qw::TrimRight(key));
}

std::optional<std::string> CRunQW::GetOptionSuffix(std::string_view reference) {
  if (std::optional<std::string> formula = CRun::GetPriceFormula(reference)) return formula;
  const std::size_t option = OptionAt(reference);
  if (option == std::string_view::npos || HasAt(reference, 5, "ZA1")) return std::nullopt;
  return std::string(qw::TrimRight(reference.substr(0, option))) + "+" +
         std::string(kOptionFormula);
}
