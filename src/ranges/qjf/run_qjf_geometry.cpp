#include "model/element/dev.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

namespace {

// The length of the feed box that a flat tee stands for.
constexpr std::int32_t kFeedBoxLength = 418;
constexpr std::uint32_t kOutletColour = 0x969696;

bool HasThroughPair(const CDev& element, int face) {
  return element.GetNeighbour(face) != nullptr &&
         element.GetNeighbour(CDev::OppositeDirection(face)) != nullptr;
}

// Bits 26-27 of the style: how the unit is mounted.
int MountBits(const CDev& element) { return static_cast<int>((element.GetStyle() >> 26) & 3); }

// The sizes of a feed or end box and of its outlets, by entrax type.
struct CFeedBox {
  int type = 0;
  std::int32_t length = 610, height = 318, depth = 242, breadth = 0;
  std::int32_t e1 = 0, e2 = 0, c0 = 0, pitch = 0;
};

CFeedBox FeedBoxOf(const CDev& element, int rating) {
  CFeedBox box;
  const int variant = element.GetVariant();
  const bool s28 = (element.GetStyle() & (1u << 28)) != 0;
  if (variant == 4) {
    box.breadth = 292;
    box.height = 262;
    box.e1 = 170;
    box.c0 = 90;
    box.pitch = 80;
    box.depth = 0;
    box.type = rating < 20 ? -1 : 0;
    return box;
  }
  const std::string entrax = element.GetFieldText("ENTRAX").value_or("");
  const bool custom = !entrax.empty() || variant == 5;
  box.pitch = TextToInt(entrax);
  box.type = EntraxType(element.GetStyle());
  const std::int32_t narrow = rating / 10 * 72 + 94;
  switch (box.type) {
    case 1:
    case 2:
      box.e1 = box.type == 1 ? 100 : 0;
      box.e2 = box.type == 1 ? 0 : 100;
      box.c0 = 170;
      box.height = 422;
      box.depth = 90;
      box.breadth = narrow;
      if (!custom) box.pitch = 124;
      box.length = custom ? 806 : 598;
      break;
    case 3:
    case 5:
      box.e1 = box.type == 3 ? 170 : 100;
      box.c0 = box.type == 3 ? 100 : 170;
      box.pitch = rating < 30 ? 80 : 120;
      box.breadth = rating < 30 ? 500 : 600;
      break;
    case 4:
    case 6:
      box.e1 = box.type == 4 ? 170 : 0;
      box.e2 = 100;
      box.c0 = box.type == 4 ? 0 : 170;
      if (!custom) box.pitch = 120;
      box.breadth = custom ? 820 : 600;
      break;
    default:
      box.c0 = s28 ? 1 : 0;
      box.pitch = 0;
      box.type = 0;
      break;
  }
  return box;
}

}  // namespace

CHousingDims CRunQJF::GetHousingDims(const CDev& element) const {
  CHousingDims dims = CRun::GetHousingDims(element);
  const std::string& reference = element.GetReference();
  if (element.GetKind() == CDev::kJunction2 && reference.starts_with("QJ0") &&
      RefPairAt(reference, 5) == "PB") {
    SetFeedBoxDims(element, dims);
  }
  if (element.GetKind() != CDev::kEnd && element.GetKind() != CDev::kInLineVariant) return dims;
  std::string text(kRefWidth, ' ');
  element.OverlayRefCode(text);
  BuildElementPattern(element, text);
  LayRefText(text, 13, std::string(kRefWidth - 13, ' '));
  if (!TakeDevHousingDims(GetHousingTable(), text, dims)) return dims;
  return dims;
}

// The box of a flat tee: the feed box across the run, beside the through line.
void CRunQJF::SetFeedBoxDims(const CDev& element, CHousingDims& dims) const {
  const CReferenceRow row = FindReference();
  const std::int32_t d1 = row.values[0];
  const std::int32_t d2 = row.values[1];
  dims.height2 = d2;
  dims.length2 = kFeedBoxLength;
  dims.width2 = d1;
  int through = 3;
  for (int face = 0; face <= 2; ++face) {
    if (HasThroughPair(element, face)) {
      through = face;
      break;
    }
  }
  const int opposite = CDev::OppositeDirection(through);
  int branch = -1;
  for (int face = 0; face < CDev::kFaceCount && branch < 0; ++face) {
    if (face != through && face != opposite && element.GetNeighbour(face) != nullptr) branch = face;
  }
  if (branch < 0) return;
  int turn = GetTurnCode(element, branch, -1, 0);
  const std::int64_t wide = d1;
  if (element.GetDirection() == through || element.GetDirection() == opposite) {
    dims.offset =
        C3DPoint(static_cast<double>(-((kFeedBoxLength + wide) / 2)), static_cast<double>(wide), 0);
  } else {
    dims.width2 = kFeedBoxLength;
    dims.length2 = d1;
    dims.offset =
        C3DPoint(static_cast<double>(-wide), static_cast<double>((wide + kFeedBoxLength) / 2), 0);
    turn = GetTurnCode(element, branch, opposite, 0);
  }
  if (turn == 2) dims.offset.y = -dims.offset.y;
  dims.length2 = -dims.length2;
}

int CRunQJF::GetElementGeometry(const CDev& element, int index, CElementGeometry& geometry) const {
  const int variant = element.GetVariant();
  const bool feed = element.GetKind() == CDev::kEnd && variant >= 3 && variant <= 5;
  if (!feed) return CRun::GetElementGeometry(element, index, geometry);
  const int rating = GetRating();
  CFeedBox box = FeedBoxOf(element, rating);
  if (variant == 4 && index == 7) box.length = 10;
  else if (variant == 4) box.length = 0;
  const std::int32_t half = box.pitch / 2;
  const std::int32_t step = box.pitch + half;
  const bool noNeutral = GetPropText("Neutral") == "0";
  const std::int32_t stepN = noNeutral ? 0 : step;
  const int t = box.type;
  const bool s28 = (element.GetStyle() & (1u << 28)) != 0;
  auto& e = geometry.extents;
  int code = 0;
  bool drawn = false;
  auto set = [&](std::int32_t a, std::int32_t b, std::int32_t c, double x, double y, double z) {
    e = {a, b, c};
    geometry.offset = C3DPoint(x, y, z);
    drawn = true;
  };
  if (index == 7 && t != 0) {
    set(box.length, box.breadth, box.height, box.length / 2, 0, -box.depth);
  } else if (index >= 10 && index <= 13 && variant != 5 && t != 0) {
    const std::int32_t steps[4] = {-step, -half, half, stepN};
    const std::int32_t at = steps[index - 10];
    if (index != 13 || stepN != 0) {
      geometry.colour = kOutletColour;
      code = 1;
      if (t == 1 || t == 2) {
        set(box.e1, box.e2, box.c0, box.length / 2 + at, 0, -311 - box.c0 / 2);
      } else if (t == 5 || t == 6) {
        set(box.e1, box.e2, box.c0, 486, at, -411 - box.c0 / 2);
      } else {
        set(box.e1, box.e2, box.c0, box.e1 / 2 + box.length + 10, at, -box.depth);
      }
    }
  } else if (index == 14 && t > 2) {
    set(box.length, rating / 10 * 72 + 94, 166, box.length / 2, 0, 0);
  } else if (index == 15 && t >= 1) {
    if (t == 1 || t == 2) set(box.length + 60, box.breadth + 60, 10, box.length / 2, 0, -306);
    else if (t == 3 || t == 4) set(10, box.breadth + 60, 378, box.length + 5, 0, -box.depth);
    else set(box.length + 60, box.breadth + 60, 10, box.length / 2, 0, -406);
  } else if (index == 8 && s28) {
    code = 3;
    if (t == 1 || t == 2) {
      set(box.length, box.breadth, 600, box.length / 2, 0, -611);
    } else if (t == 3 || t == 4) {
      set(600, box.breadth, 318, 300 + box.length + 10, 0, -box.depth);
    } else if (t == 5 || t == 6) {
      set(box.length, box.breadth, 600, box.length / 2, 0, -711);
    } else if (t == -1) {
      const bool vertical = element.GetDirection() == 2 || element.GetDirection() == 3;
      if (vertical) set(600, box.breadth, box.height, 305, 0, 0);
      else if (MountBits(element) != 2) set(350, box.breadth, 600, 180, 0, (box.height - 600) / 2);
    }
  }
  if (!drawn) {
    if (index > 7) e = {0, 0, 0};
    return index > 7 ? 0 : code;
  }
  const bool vertical = element.GetDirection() == 2 || element.GetDirection() == 3;
  if (!vertical && (MountBits(element) == 1) != (element.GetRotation() == 64))
    geometry.offset.z = -geometry.offset.z;
  return code;
}
