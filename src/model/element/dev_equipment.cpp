#include "model/element/dev.h"

#include "geometry/box.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <string>
#include <utility>

using namespace dev_placement;

namespace {

// An offset word that asks for the offsets to be read from the reference row again.
constexpr std::int32_t kRereadOffsets = -157869;

struct CEquipmentPreset {
  std::array<std::int32_t, 3> sizes;
  std::uint32_t colour;
  const char* connection;
};

CEquipmentPreset PresetOf(int selector) {
  if (selector == 2) return {{975, 1705, 1415}, 0xF2000000u, "TRF"};
  return {{600, 1200, 2000}, 0xF1000000u, "TBL"};
}

bool CatalogueBegins(const CDev& element, std::string_view prefix) {
  return element.GetRun() != nullptr &&
         element.GetRun()->GetPropText("Catalog").starts_with(prefix);
}

// Style bits 26-27, with 3 read as 0.
int CabinetPlace(std::uint32_t style) {
  const int place = static_cast<int>((style >> 26) & 3);
  return place == 3 ? 0 : place;
}

std::string JoinNumbers(std::initializer_list<std::int32_t> numbers) {
  std::string text;
  for (std::int32_t number : numbers) {
    if (!text.empty()) text += '/';
    text += std::to_string(number);
  }
  return text;
}

// The box's extent on an axis from its truncated bounds.
double BoundExtent(const CBox& box, int axis) {
  return static_cast<double>(UpperBound(box, axis) - LowerBound(box, axis));
}

}  // namespace

void CDev::BuildEquipmentBox() {
  CRunDocument* document = GetDocument();
  if (document == nullptr) return;
  const int selector = static_cast<int>((m_style >> 24) & 3);
  int index = -1;
  if (selector == 0) {
    if (document->FindEquipmentBox(*this, index) != nullptr)
      document->RemoveExtraBoxes(*this, false);
    return;
  }
  if (document->FindEquipmentBox(*this, index) == nullptr) document->AddEquipmentBox(*this, {});
  // The faces and the hood of the last build are made anew.
  document->RemoveExtraBoxes(*this, true);
  CBox* box = document->FindEquipmentBox(*this, index);
  if (box == nullptr) return;
  TakeOut(*this, box);
  const CEquipmentPreset preset = PresetOf(selector);
  const bool qm = GetVariant() == 4 && CatalogueBegins(*this, "QM");
  static const char* const kQmConnections[] = {"???", "ULM", "PEL", "VEK"};
  const std::string connection = qm ? kQmConnections[selector] : preset.connection;
  std::array<std::int32_t, 6> values =
      document->GetEquipmentValues(*this).value_or(std::array<std::int32_t, 6>{});
  if (values[0] == 0 || values[3] == kRereadOffsets) {
    values = ReadEquipmentValues(connection, values, preset.sizes, qm);
    document->SetEquipmentValues(*this, values);
  }
  const int turns = EquipmentTurns(connection);
  box->SetColor(preset.colour | (static_cast<std::uint32_t>(turns) << 26));
  PlaceEquipmentBox(*box, values, turns);
  BuildFeedBoxes(*box, index);
}

std::array<std::int32_t, 6> CDev::ReadEquipmentValues(const std::string& connection,
                                                      std::array<std::int32_t, 6> values,
                                                      const std::array<std::int32_t, 3>& preset,
                                                      bool qm) {
  const int place = static_cast<int>((m_style >> 26) & 3);
  // A QM feed unit with breaker finds the row of its breaker too.
  const std::string breaker = qm && m_run != nullptr ? m_run->GetBreakerKey(*this) : std::string();
  const CReferenceRow row = m_run != nullptr
                                ? m_run->FindReference(connection + std::to_string(place) + breaker)
                                : CReferenceRow();
  std::array<std::int32_t, 3> offsets{};
  if (!row.code.empty()) {
    const auto& r = row.values;
    if (place != 2) {
      std::int32_t r5 = r[4];
      std::int32_t lift = 0;
      if (r5 > 100000) {
        lift = r5 / 100000;
        r5 %= 100000;
      }
      if (qm && place == 1) lift = r[2] - lift;
      offsets = {r[3] - r[0] / 2, r[1] / 2 - r5, lift};
    }
    if (values[0] == 0 || row.code.size() > 3) values = {r[0], r[1], r[2], 0, 0, 0};
  } else if (values[0] == 0) {
    values = {preset[0], preset[1], preset[2], 0, 0, 0};
  }
  values[3] = offsets[0];
  values[4] = offsets[1];
  values[5] = offsets[2];
  std::string hoodKey = connection;
  if (hoodKey.size() >= 3) hoodKey[2] = 'c';
  const CReferenceRow hood = m_run != nullptr ? m_run->FindReference(hoodKey) : CReferenceRow();
  const auto& h = hood.values;
  SetPropValue("CAP8",
               hood.code.empty() ? std::string() : JoinNumbers({h[2], h[3], h[4], h[0], h[1]}));
  return values;
}

int CDev::EquipmentTurns(const std::string& connection) const {
  const int place = CabinetPlace(m_style);
  int extra = static_cast<int>((m_style >> 29) & 3);
  const int linked = GetNeighbour(m_direction) != nullptr ? 2 : 0;
  int turns = 0;
  if (place != 2) {
    if (m_direction == 0 || m_direction == 4) {
      turns = 1;
    } else if (m_direction == 2 || m_direction == 3) {
      if (m_rotation == 16) turns = 3;
      else if (m_rotation == 64) turns = 1;
      else if (m_rotation == 32) turns = m_direction == 3 ? 2 : 0;
      else if (m_rotation == 128) turns = m_direction == 2 ? 2 : 0;
      turns += linked + (connection == "TRF" ? 1 : 0);
    }
  } else {
    turns = m_direction == 0 ? 1 : (m_direction == 1 ? 2 : (m_direction == 4 ? 3 : 0));
    turns += linked;
  }
  if ((place == 2 && extra == 2) || connection == "PEL") extra = 0;
  if ((connection == "ULM" || connection == "VEK") && extra != 0) extra = 2;
  return (turns + extra) & 3;
}

void CDev::PlaceEquipmentBox(CBox& box, const std::array<std::int32_t, 6>& values, int turns) {
  double s1 = values[0], s2 = values[1];
  const double s3 = values[2];
  double p = values[3], q = values[4];
  const double t = values[5];
  if (turns % 2 == 1) std::swap(s1, s2);
  for (int turn = 0; turn < turns; ++turn) {
    const double turnedP = q;
    q = -p;
    p = turnedP;
  }
  const CBox* reference = GetBox(kBodySlot);
  for (int slot = kBodySlot + 1; slot <= kBodySlot + 3; ++slot) {
    const CBox* further = GetBox(slot);
    if (further != nullptr && further->GetExtent(0) > 9 && further->GetExtent(1) > 9 &&
        further->GetExtent(2) > 9)
      reference = further;
  }
  C3DPoint centre = reference != nullptr ? reference->GetOrigin() : m_position;
  const auto extent = [reference](int axis) {
    return reference != nullptr ? BoundExtent(*reference, axis) : 0.0;
  };
  const bool linked = GetNeighbour(m_direction) != nullptr;
  const auto side = [linked](bool awayDirection) { return linked != awayDirection ? -1.0 : 1.0; };
  switch (CabinetPlace(m_style)) {
    case 0: centre = centre + C3DPoint(q, t - (extent(1) + s3) / 2, p); break;
    case 1: centre = centre + C3DPoint(q, (extent(1) + s3) / 2 - t, p); break;
    default:
      if (m_direction == 1 || m_direction == 5)
        centre = centre + C3DPoint(q, t, side(m_direction == 1) * (extent(2) + s1) / 2 - p);
      else centre = centre + C3DPoint(side(m_direction == 0) * (extent(0) + s2) / 2 - q, t, p);
  }
  PlaceBySizes(box, centre, s2, s3, s1);
}
