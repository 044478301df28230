#include "reference/ref_price_rows.h"

#include <algorithm>
#include <charconv>

#include "platform/number_text.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_config.h"

int RefPriceRowProduct(int row, bool apod) {
  if (row < 0 || row >= kRefPriceRowCount) return -1;
  const CRefPriceRow& entry = kRefPriceRows[static_cast<std::size_t>(row)];
  return apod ? entry.apodProduct : entry.product;
}

bool RefPriceRowShown(const CRefConfig& config, int row, bool apod) {
  const int product = RefPriceRowProduct(row, apod);
  return product >= 0 &&
         config.Product(product).CalMax() >= kRefPriceRows[static_cast<std::size_t>(row)].minCalMax;
}

int RefPriceRowSpecialCaption(const CRefConfig& config, int row, bool apod) {
  if (config.SpecialMode() != 2 || !RefPriceRowShown(config, row, apod)) return 0;
  return kRefPriceRows[static_cast<std::size_t>(row)].specialCaption;
}

void TakeDefaultCoefficients(const CRefConfig& config, CRefPriceSettings& settings) {
  for (int product = 0; product < kRefProductCount; ++product)
    settings.productCoefs[static_cast<std::size_t>(product)].fill(config.Coefficient(product));
}

void TakeProjectCoefficients(const CRefPriceSettings& settings, CRefConfig& config) {
  for (int product = 0; product < kRefProductCount; ++product)
    config.SetCoefficient(product, settings.productCoefs[static_cast<std::size_t>(product)][0]);
}

std::string PanelNumberText(double value, char decimal) {
  std::array<char, 40> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                     std::chars_format::general, 15);
  std::string text(buffer.data(), written.ptr);
  if (text.find('e') != std::string::npos) {
    // The fields read no exponent back: a tiny coefficient (a discount near 100 %) is
    // written out in full, so that the panel accepts what it shows.
    text = FixedDecimalText(value, 15);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  for (char& c : text)
    if (c == '.') c = decimal;
  return text;
}

bool ReadPanelNumber(std::string_view text, char decimal, double& value) {
  std::string plain(text);
  // A locale whose mark is neither "," nor "." still reads as the panel shows it.
  std::replace(plain.begin(), plain.end(), decimal, '.');
  const std::optional<double> read = ParseTypedNumber(plain);
  if (read) value = *read;
  return read.has_value();
}

std::string PartnerNumberText(std::string_view text, char decimal, bool fromDiscount) {
  double value = 0.0;
  if (!ReadPanelNumber(text, decimal, value)) return {};
  return PanelNumberText(fromDiscount ? 1.0 - value * 0.01 : (1.0 - value) * 100.0, decimal);
}
