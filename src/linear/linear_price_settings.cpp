#include "linear/linear_price_settings.h"

#include "app/profile.h"
#include "platform/text_conversions.h"

namespace {

double ReadDouble(const CProfile& profile, std::string_view key, std::string_view fallback) {
  return TextToDouble(profile.ReadProfileText("Linear", key, fallback));
}

}  // namespace

CLinearPriceSettings::CLinearPriceSettings() {
  listCoefs.fill(1.0);
  rates.fill(1.0);
  for (auto& row : saleCoefs) row.fill(1.0);
  columnFormulas[2] = "PRICE()*CONV*Q/100";
  columnFormulas[3] = "C1*COEF*KCESSION";
  columnFormulas[4] = "TPS()*Q";
  columnFormulas[5] = "PDS()*Q";
}

CLinearPriceSettings ReadLinearPriceSettings(const CProfile& profile) {
  CLinearPriceSettings settings;
  for (int g = 0; g < kLinearGroupCount; ++g)
    settings.groupsOn[g] =
        profile.ReadProfileText("Linear", "Appli" + std::to_string(g), "1") != "0";
  for (int i = 0; i < kPriceListCount15; ++i) {
    settings.listCoefs[i] = ReadDouble(profile, "Coef" + std::to_string(i), "1.0");
    settings.rates[i] = ReadDouble(profile, "Taux" + std::to_string(i), "1.0");
  }
  const std::string qp = profile.ReadProfileText("Linear", "QP", "1.0");
  const std::pair<const char*, std::array<int, 2>> kRangeKeys[] = {
      {"QM", {kProductQMA, kProductQMC}}, {"QJ", {kProductQJF, -1}},
      {"QW", {kProductQWA, kProductQWC}}, {"QD", {kProductQDA, -1}},
      {"QY", {kProductQYA, kProductQYB}}, {"QFP", {kProductQFP, -1}},
      {"QYX", {kProductQYX, -1}}};
  for (const auto& [key, products] : kRangeKeys) {
    const double value = ReadDouble(profile, key, "1.0");
    for (int product : products)
      if (product >= 0) settings.saleCoefs[product].fill(value);
  }
  settings.saleCoefs[kProductQPA].fill(TextToDouble(qp));
  settings.saleCoefs[kProductQPC].fill(ReadDouble(profile, "QP-APOD", qp));
  settings.services = ReadDouble(profile, "Services", "10.0");
  settings.kCoefs = profile.ReadProfileInt("Linear", "KCoefs", 0);
  settings.taux = profile.ReadProfileInt("Linear", "Taux", 0);
  settings.apod = profile.ReadProfileInt("Design", "APOD", 0) != 0;
  settings.priceList =
      PriceListIndexFromSetting(profile.ReadProfileText("Database", "CurrentCat", ""));
  return settings;
}

int PriceListIndexFromSetting(std::string_view currentCat) {
  while (!currentCat.empty() && currentCat.back() == ' ') currentCat.remove_suffix(1);
  std::size_t start = currentCat.size();
  while (start > 0 && currentCat[start - 1] >= '0' && currentCat[start - 1] <= '9') --start;
  const std::string_view digits = currentCat.substr(start);
  if (digits.empty() || digits.size() > 3) return 0;
  int n = 0;
  for (char c : digits) n = n * 10 + (c - '0');
  return n >= 1 && n <= kPriceListCount15 ? n - 1 : 0;
}
