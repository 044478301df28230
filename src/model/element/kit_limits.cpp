#include "model/element/kit_limits.h"

#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include "platform/text_conversions.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <string>

namespace {

// Sizes in the kit rows are millimetres; anything beyond this is damaged data.
constexpr std::int64_t kMostKitSize = 1'000'000;
constexpr std::size_t kKitReferenceWidth = 22;

std::int32_t Bounded(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp(value, -kMostKitSize, kMostKitSize));
}

}  // namespace

CKitReading ReadKitLimits(CRun& run, const CDev& element) {
  CKitReading reading;
  if (element.GetKind() != CDev::kInLine) return reading;
  const std::vector<CHousingRow>* rows = run.GetHousingTable();
  const std::optional<std::string> kit = element.GetFieldText("KITCF");
  if (rows == nullptr || rows->empty() || !kit.has_value() || kit->empty()) return reading;
  // Kit rows hold 22-character patterns; the reference is matched in that width.
  std::string reference = run.GetElementRef(80);
  reference.resize(kKitReferenceWidth, ' ');
  const auto row = std::find_if(rows->rbegin(), rows->rend(), [&](const CHousingRow& candidate) {
    return MatchWildcard(candidate.reference, reference);
  });
  if (row == rows->rend()) return reading;
  const std::int64_t housing = element.GetOffset();
  const std::int64_t first = row->values[0];
  const bool fromHousing = first < 0;
  const std::int64_t length = fromHousing ? housing - first : first;
  const std::int64_t even = housing + (housing % 2 != 0 ? 1 : 0);
  std::int64_t limit = fromHousing ? 0 : (length - even) / 2 - row->values[1];
  limit = std::clamp<std::int64_t>(limit, 0, kMostKitSize);
  const std::int64_t stored = TextToInt(*kit);
  const std::int64_t held = std::clamp(stored, -limit, limit);
  reading.found = true;
  reading.limit = static_cast<std::int32_t>(limit);
  reading.clamped = held != stored;
  reading.limits.values = {Bounded(length), Bounded(row->values[1]), Bounded(row->values[2]),
                           static_cast<std::int32_t>(held)};
  return reading;
}

int ClampElementKit(CDev& element, CKitLimits& limits) {
  limits = CKitLimits{};
  CRun* run = element.GetRun();
  if (run == nullptr) return 0;
  const CKitReading reading = ReadKitLimits(*run, element);
  if (!reading.found) return 0;
  limits = reading.limits;
  if (reading.clamped) {
    element.SetFieldText("KITCF", std::to_string(limits.values[3]));
    element.RebuildChain();
    if (CRunDocument* document = element.GetDocument(); document != nullptr)
      document->UpdateAllViews();
  }
  return 1;
}
