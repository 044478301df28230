#include "app/message_text.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_context.h"

#include "platform/text_conversions.h"

#include <array>
#include <cstdio>

namespace {

struct CRatingClass {
  int cls;
  const char* text;
};

CRatingClass RatingClassOf(int frame) {
  if (frame <= 16) return {1, "800/1600A"};
  if (frame <= 25) return {2, "2000/2500A"};
  if (frame <= 32) return {3, "3200A"};
  return {4, "4000A"};
}

// The transformer's position in the list of calibres; 0 when not listed.
int TransformerPosition(int calibre) {
  if (calibre == 8) calibre = 10;
  if (calibre == 13) calibre = 12;
  if (calibre == 50) calibre = 40;
  static constexpr std::array<int, 8> kCalibres{10, 12, 16, 20, 25, 32, 40, 50};
  for (std::size_t i = 0; i < kCalibres.size(); ++i)
    if (kCalibres[i] == calibre) return static_cast<int>(i) + 1;
  return 0;
}

std::string FiveDigits(int number, bool prefix) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%05d", number);
  return (prefix ? "QMB" : "") + std::string(digits);
}

}  // namespace

void CPartBuilderQM::FinishPackage(CDev& element) {
  const bool prefix = TextToInt(element.GetFieldText("QMBPACK").value_or("")) > 0;
  ++m_packageBalance;
  CBOMGrid& bom = GetRun().GetBOM();
  if (element.GetBooked() != 0) bom.RemoveRefQuantity(element.GetReference(), 1);
  element.SetBooked(0);
  const std::string neutralProp = m_qm.GetPropText("Neutral");
  const bool sevenOrFive = neutralProp == "7" || neutralProp == "5";
  const std::string neutral = neutralProp == "3" ? "3" : "4";
  int calibre = TextToInt(m_qm.GetPropText("Calibre"));
  if (calibre == 8) calibre = 10;
  const int mode = static_cast<int>((element.GetStyle() >> 24) & 3);
  if (mode == 2) {
    int k = std::clamp(TextToInt(element.GetFieldText("QWA").value_or("")), 0, kMaxCount);
    if (k == 0) k = TransformerPosition(calibre);
    const std::string code =
        FormatMessageTextSS(LookupText(kTransformerCodeMessage), std::to_string(k), neutral);
    element.SetReference(code);
    bom.AddRefQuantity(code, 1);
    element.SetBooked(1);
    if ((element.GetStyle() & (1u << 28)) != 0) GetRun().AddAccessoryParts(20, 1, {});
    element.SetFieldText("NEEDREF", "Pelmar" + neutral + "P" + std::to_string(k));
  } else if (mode == 1 || mode == 3) {
    std::string code;
    if (!AddBreakerPackage(element, mode, prefix, neutral, sevenOrFive, code)) --m_groupCounter;
    element.SetReference(code);
    bom.AddRefQuantity(code, 1);
    element.SetBooked(1);
    if (m_twin) GetRun().AddAccessoryParts(-1, 1, code);
  }
  if (calibre == 50 && !HasErrors() && m_qm.GetPropText("Catalog") == "QMC")
    CRangeContext::Instance().Notify(kPackageMessage, {});
}

// The package of a breaker connection: its code and accessories; false when none of its
// accessories has a reference.
bool CPartBuilderQM::AddBreakerPackage(CDev& element, int mode, bool prefix,
                                       const std::string& neutral, bool sevenOrFive,
                                       std::string& code) {
  const std::string breaker = m_qm.ChooseBreakerRef(element, true, -1, -1);
  const int sub = static_cast<int>((element.GetStyle() >> 26) & 3);
  if (sub == 1) sevenOrFive = false;
  const int frame = breaker.size() > 2 ? TextToInt(std::string_view(breaker).substr(2)) : 0;
  const CRatingClass rating = RatingClassOf(frame);
  const int n = m_twin ? 2 : 1;
  CRun& run = GetRun();
  bool added = false;
  if (sevenOrFive) added = run.AddAccessoryParts(70 + rating.cls, 1, rating.text) != 0 || added;
  added = run.AddAccessoryParts(20, 1, rating.text) != 0 || added;
  int number = 0;
  if (mode == 1) {
    number = kFirstPackageBase + 2 * rating.cls + (sub != 0 ? 10 : 0);
  } else if (!breaker.starts_with("HK") && !breaker.empty()) {
    number = kSecondPackageBase - 2;
  } else {
    number = kSecondPackageBase + (rating.cls == 4 ? 32 : 10 * rating.cls);
  }
  if (neutral == "3") --number;
  code = FiveDigits(number, prefix);
  const int kind = mode == 3 ? 103 : (sub == 0 ? 100 : 101);
  added = run.AddAccessoryParts(kind, n, rating.text) != 0 || added;
  if (mode == 3 && (sub == 0 || sub == 3))
    added = AddConnectionPieces(breaker, rating.cls, sub, n, neutral, rating.text) || added;
  if (added) code += rating.text;
  return added;
}

bool CPartBuilderQM::AddConnectionPieces(const std::string& breaker, int cls, int sub, int n,
                                         const std::string& neutral, const std::string& rating) {
  CRun& run = GetRun();
  bool added = false;
  auto add = [&](int kind, int count) {
    added = run.AddAccessoryParts(kind, count, rating) != 0 || added;
  };
  if (breaker.starts_with("HK")) {
    if (cls <= 3) add(105, n * (sub == 0 ? 3 : 2));
    add(110, n);
    add(sub == 0 ? 115 : 117, n);
    return added;
  }
  const bool hr = breaker.starts_with("HR");
  const bool sixteen = breaker.size() > 2 && TextToInt(std::string_view(breaker).substr(2)) == 16;
  const bool endsD = breaker.ends_with("_D"), endsF = breaker.ends_with("_F");
  if (sub == 0) {
    add(hr && neutral == "3" && endsD ? 106 : 107, n);
    add(110, n);
    add(hr && endsF ? 111 : 112, n);
  } else {
    add(neutral == "3" ? 108 : 109, n);
    add(110, n);
    add((hr && endsD) || (!hr && sixteen) ? 114 : 113, n);
  }
  return added;
}
