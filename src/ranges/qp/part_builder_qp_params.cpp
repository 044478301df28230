#include "model/element/dev.h"
#include "ranges/qp/part_builder_qp.h"

#include "platform/text_conversions.h"

#include <array>
#include <vector>

namespace {

bool IsCombinedFamily(std::string_view reference) {
  if (reference.size() < 7) return false;
  const std::string_view family = reference.substr(5, 2);
  for (std::string_view combined : {"ZP", "ZC", "CP", "DZ", "DM"}) {
    if (family == combined) return true;
  }
  return false;
}

// Parts whose legs are measured: elbows marked 'A' or 'B' and the combined pieces.
bool HasMeasuredLegs(std::string_view reference) {
  if (reference.size() < 21) return false;
  return reference[9] == 'A' || reference[9] == 'B' || reference[10] == 'A';
}

}  // namespace

// The faces at which a part's legs are measured: the way in (the back face), the way on
// and a branch (the element's forward faces); -1 where there is none.
std::array<int, 3> CPartBuilderQP::MeasuredFaces(const CDev& element) {
  std::array<int, 3> faces{element.GetBackFace(), -1, -1};
  const std::vector<int> forward = element.ForwardFaces();
  for (std::size_t i = 0; i < forward.size() && i < 2; ++i) faces[i + 1] = forward[i];
  return faces;
}

void CPartBuilderQP::AppendLegLengths(const CPlannedPart& part, std::string& text) const {
  const std::array<int, 3> faces = MeasuredFaces(*part.element);
  text = "x=";
  bool first = true;
  for (auto face = faces.rbegin(); face != faces.rend(); ++face) {
    if (*face < 0) continue;
    const std::int64_t length =
        *face == part.face ? part.length : part.element->GetChainLength(*face, false);
    text += (first ? "" : ",") + std::to_string(length);
    first = false;
  }
}

// A riser piece (kind 7 past state 1) next to a combined piece gives the code of where
// it stands, and its distance from the piece: 0 when there is none.
CPartBuilderQP::CRiserMeasure CPartBuilderQP::FindRiserMeasure(const CDev& element) const {
  const auto isRiser = [this](const CDev* d) {
    return d != nullptr && d->GetKind() == CDev::kInLine && GetState(*d) > 1;
  };
  const std::array<int, 3> faces = MeasuredFaces(element);
  CRiserMeasure found;
  for (int i = 0; i < 2 && found.code == 0; ++i) {
    const CDev* at = faces[static_cast<std::size_t>(i)] >= 0
                         ? element.GetNeighbour(faces[static_cast<std::size_t>(i)])
                         : nullptr;
    if (isRiser(at)) found = {21 + i, at};
  }
  if (element.GetKind() == CDev::kElbow && GetState(element) == kElbowBeforeRiser) found.code = 31;
  if (element.GetKind() == CDev::kElbow && GetState(element) == kElbowBehindRiser) found.code = 33;
  const CDev* front = element.GetNeighbour(element.GetDirection());
  if (found.code == 0 && isRiser(front)) found = {32, front};
  if (found.code >= 31 && found.riser == nullptr) {
    for (int face : faces) {
      const CDev* at = face >= 0 ? element.GetNeighbour(face) : nullptr;
      if (isRiser(at)) found.riser = at;
    }
  }
  return found;
}

void CPartBuilderQP::AppendRiserDistance(const CDev& element, const CRiserMeasure& measure,
                                         std::string& text) const {
  if (measure.riser == nullptr) return;
  const std::int64_t distance = element.GetPosition().DistanceTo(measure.riser->GetPosition());
  if (distance <= 0) return;
  const int unit = measure.code % 10;
  const auto joined = m_joins.find(&element);
  const bool join = joined != m_joins.end() && joined->second != 0;
  const int shift = !join ? unit - 1 : (measure.code < 31 ? 2 - unit : 3 - unit);
  text += ",x=";
  text += static_cast<char>('a' + shift);
  text += std::to_string(distance);
}

std::string CPartBuilderQP::GetPartParameters(const CPlannedPart& part) {
  std::string text;
  const std::string& reference = part.reference;
  const std::string family = reference.size() > 5 ? reference.substr(5) : std::string();
  int kindCode = 0;
  if (part.element != nullptr && (family.starts_with("ET4AF") || family.starts_with("EF4"))) {
    const std::int64_t chain = part.element->GetChainLength(-1, false);
    text = "x=" + std::to_string(chain + part.length) + ",x=" + std::to_string(chain);
  } else if (part.element != nullptr && HasMeasuredLegs(reference)) {
    AppendLegLengths(part, text);
    if (IsCombinedFamily(reference)) {
      const CRiserMeasure measure = FindRiserMeasure(*part.element);
      kindCode = measure.code;
      if (measure.code != 0) AppendRiserDistance(*part.element, measure, text);
    }
  }
  if (part.element != nullptr && part.element->GetKind() == CDev::kElbow) {
    const std::string angle = part.element->GetFieldText("ELBOW_ANGL").value_or("");
    if (!angle.empty() && TextToInt(angle) != 90) text += (text.empty() ? "w=" : ",w=") + angle;
  }
  FormatPartCoords(text, kindCode, ' ');
  return text;
}
