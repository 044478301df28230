#include "model/element/dev.h"

#include "app/element_colors.h"
#include "geometry/box.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"

namespace {

constexpr std::uint32_t kSpecialGreen = 0x006400;
constexpr std::uint32_t kSpecialGrey = 0xFAFAFA;
constexpr std::uint32_t kKeptMark = 0x8000000;
enum : int {
  kIndexEnding = 5,
  kIndexKind8 = 6,
  kIndexKind7 = 7,
  kIndexUserJoint = 9,
  kIndexUnset = 10,
  kIndexTapOff = 11,
  kIndexSystemJoint = 12,
  kIndexFireBarrier = 13
};

bool CatalogueBegins(const CDev& element, std::string_view prefix) {
  return element.GetRun() != nullptr &&
         element.GetRun()->GetPropText("Catalog").starts_with(prefix);
}

bool OptionAnswersOne(CDev& element) {
  return element.GetRun() != nullptr && element.GetRun()->AccessOption(&element, 0) == 1;
}

bool IsJointKind(const CDev* element) {
  return element != nullptr &&
         (element->GetKind() == CDev::kJoint || element->GetKind() == CDev::kJoint2);
}

// Whether the element is a non-standard elbow, or the special colour of a special one.
bool IsNonStandardElbow(const CDev& element) {
  if (element.GetKind() != CDev::kElbow) return false;
  const auto angle = element.GetPropValue("ELBOW_ANGL");
  return (!angle.empty() && angle != "90") || !element.GetPropValue("ELBOW_LENG").empty();
}

}  // namespace

std::uint32_t CDev::ColorOfIndex(int index) {
  return GetColor(CRunEnvironment::Instance().Settings().colors, index).ToColorRef();
}

void CDev::SetBoxColor(std::uint32_t color) {
  for (int slot = 0; slot <= kBodySlot + 1; ++slot) {
    if (CBox* box = GetBox(slot)) box->SetColor(color);
  }
}

CDev::CIndexColors CDev::CurrentIndexColors() {
  const std::array<CColor, kColorCount>& colors = CRunEnvironment::Instance().Settings().colors;
  CIndexColors table{};
  for (std::size_t index = 0; index < table.size(); ++index)
    table[index] = GetColor(colors, static_cast<int>(index)).ToColorRef();
  return table;
}

void CDev::UpdateBoxColors(bool flag) { UpdateBoxColors(flag, CurrentIndexColors()); }

void CDev::UpdateBoxColors(bool flag, const CIndexColors& colors) {
  // Indexes are a kind's colour (below 16) or a variant index (four bits).
  const auto ColorOf = [&colors](int index) { return colors[static_cast<std::size_t>(index)]; };
  const std::uint32_t skip = flag ? CBox::kNoColor : ColorOf(kIndexUnset);
  const std::uint32_t fireBarrier = ColorOf(kIndexFireBarrier) + kKeptMark;
  const bool partsBuilt = m_run != nullptr && m_run->GetPartsState() != 0;
  const bool option = (m_kind == kElbow || m_kind == kInLine) && OptionAnswersOne(*this);
  const bool special = IsNonStandardElbow(*this) || option;
  const std::uint32_t specialColour = option ? kSpecialGrey : kSpecialGreen;
  const bool activeJoint = m_kind == kJoint && IsActive() && !CatalogueBegins(*this, "QW");
  for (int face = 0; face < kFaceCount; ++face) {
    CBox* box = GetBox(face);
    if (box == nullptr || box->GetColor() == skip) continue;
    if (box->GetColor() == fireBarrier && partsBuilt) continue;
    CDev* neighbour = GetNeighbour(face);
    const bool towardActiveJoint = IsJointKind(neighbour) && neighbour->IsActive();
    if ((special && towardActiveJoint && !CatalogueBegins(*this, "QW"))) {
      box->SetColor(specialColour);
    } else if (activeJoint && neighbour != nullptr &&
               (IsNonStandardElbow(*neighbour) || neighbour->GetKind() == kInLine ||
                towardActiveJoint)) {
      const bool grey =
          OptionAnswersOne(*neighbour) || (face == GetBackFace() && OptionAnswersOne(*this));
      box->SetColor(grey ? kSpecialGrey : kSpecialGreen);
    } else {
      const CDev* side = face == GetBackFace() || neighbour == nullptr ? this : neighbour;
      box->SetColor(ColorOf(side->GetVariantIndex()));
    }
  }
  CBox* main = GetBox(kBodySlot);
  if (main == nullptr || main->GetColor() == skip) return;
  const std::uint32_t own = ColorOf(GetVariantIndex());
  const bool keepsBarrier = main->GetColor() == fireBarrier && partsBuilt;
  switch (m_kind) {
    case kEnd:
      main->SetColor(GetVariant() == 4 && CatalogueBegins(*this, "QM") ? 0xF4000000u
                                                                       : ColorOf(kIndexEnding));
      break;
    case kStraight:
    case kJunction2:
    case kJunction3:
    case kJunction4:
    case kJunction5:
    case kBend:
      if (!keepsBarrier) main->SetColor(own);
      break;
    case kElbow:
      if (!keepsBarrier) main->SetColor(special ? specialColour : own);
      break;
    case kInLine: main->SetColor(ColorOf(kIndexKind7)); break;
    case kInLineVariant:
      main->SetColor(ColorOf(GetBox(10) != nullptr ? kIndexSystemJoint : kIndexKind8));
      break;
    case kJoint:
      if (!IsActive()) main->SetColor(ColorOf(kIndexUserJoint));
      else if (flag) main->SetColor(ColorOf(kIndexSystemJoint));
      break;
    case kJoint2: main->SetColor(ColorOf(IsActive() ? kIndexSystemJoint : kIndexUserJoint)); break;
    case kTapOff: main->SetColor(ColorOf(kIndexTapOff)); break;
    default: break;
  }
  if (CBox* further = GetBox(kBodySlot + 1)) further->SetColor(main->GetColor());
}
