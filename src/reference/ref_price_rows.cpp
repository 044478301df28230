#include "reference/ref_price_rows.h"

#include <charconv>

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
  if (text == "-0") text = "0";
  for (char& c : text)
    if (c == '.') c = decimal;
  return text;
}

bool ReadPanelNumber(std::string_view text, char decimal, double& value) {
  std::string plain(text);
  for (char& c : plain)
    if (c == decimal || c == ',') c = '.';
  const std::size_t first = plain.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const std::size_t last = plain.find_last_not_of(' ');
  const char* begin = plain.data() + first;
  const char* end = plain.data() + last + 1;
  const auto read = std::from_chars(begin, end, value);
  return read.ec == std::errc() && read.ptr == end;
}

std::string PartnerNumberText(std::string_view text, char decimal, bool fromDiscount) {
  double value = 0.0;
  if (!ReadPanelNumber(text, decimal, value)) return {};
  return PanelNumberText(fromDiscount ? 1.0 - value * 0.01 : (1.0 - value) * 100.0, decimal);
}
