#include "model/element/dev.h"
#include "model/document/run_document.h"
#include "pages/feed_unit_page.h"
#include "ranges/qm/run_qm.h"

#include <array>

namespace {

// An x offset that makes the equipment box read its offsets from the catalogue again.
constexpr std::int32_t kUnsetOffset = -157869;

bool ValidIndex(const std::vector<CFeedEntry>& entries, int index) {
  return index >= 0 && index < static_cast<int>(entries.size());
}

int ValueAt(const std::vector<CFeedEntry>& entries, int index) {
  return ValidIndex(entries, index) ? entries[static_cast<std::size_t>(index)].value : 0;
}

}  // namespace

void CFeedUnitPage::ResetConnectionBox(CDev& element, int mode) {
  if (CRunDocument* document = element.GetDocument()) {
    std::optional<std::array<std::int32_t, 6>> values = document->GetEquipmentValues(element);
    if (!values) {
      // A unit without its box gets one that the next build fills from the catalogue.
      values = std::array<std::int32_t, 6>{0, 0, 0, kUnsetOffset, 0, 0};
      document->AddEquipmentBox(element, *values);
    }
    if (mode == 1) (*values)[0] = 0;
    else (*values)[3] = kUnsetOffset;
    document->SetEquipmentValues(element, *values);
  }
  element.SetFieldText("DISJ", "");
  element.SetFieldText("QWA", "");
}

std::string CFeedUnitPage::ConnectionKey() const {
  const CDev* element = GetElement();
  if (element == nullptr) return {};
  const CFeedByte stored = CFeedByte::FromStyle(element->GetStyle());
  std::string key;
  if (m_mode != kNoTransformer) {
    static constexpr std::array<const char*, 4> kCodes = {"???", "ULM", "PEL", "VEK"};
    key = kCodes[static_cast<std::size_t>(stored.picture)];
    if (const CRunQM* run = QMRun()) key += run->ChooseBreakerRef(*element, true, -1, -1);
  } else {
    key = stored.picture == 2 ? "TRF" : "TBL";
  }
  return key + std::to_string(stored.option);
}

CApplyOutcome CFeedUnitPage::Store(int resetMode) {
  CDev* element = GetElement();
  if (element == nullptr) return Unchanged();
  CFeedByte feed;
  feed.picture = PictureCodeOfIndex(m_pictureIndex, m_pictures);
  if (feed.picture == 1 && m_typeIndex == 1) feed.picture = 3;
  const CFeedByte stored = CFeedByte::FromStyle(element->GetStyle());
  if (feed.picture != 0) {
    feed.option = ValueAt(m_options, m_optionIndex) % 4;
    feed.turn = NextTurn(stored.turn, m_pending, m_mode != kNoTransformer, feed.option);
    feed.protection = m_breakerShown ? 0 : ValueAt(m_protections, m_protectionIndex) & 1;
  }
  std::string breaker = element->GetFieldText("DISJ").value_or("");
  if (m_breakerShown)
    breaker = ValidIndex(m_breakers, m_breakerIndex)
                  ? m_breakers[static_cast<std::size_t>(m_breakerIndex)].key
                  : std::string();
  else if (resetMode >= 0) breaker.clear();
  std::string rating = element->GetFieldText("QWA").value_or("");
  if (!m_ratings.empty()) {
    const int value = ValueAt(m_ratings, m_ratingIndex);
    rating = value != 0 ? std::to_string(value) : std::string();
  } else if (resetMode >= 0) {
    rating.clear();
  }
  const std::string package = m_packageShown && m_packageChecked ? "1" : "";
  const bool changed = resetMode >= 0 || feed.Value() != stored.Value() ||
                       breaker != element->GetFieldText("DISJ").value_or("") ||
                       rating != element->GetFieldText("QWA").value_or("") ||
                       package != element->GetFieldText("QMBPACK").value_or("");
  m_pending = 0;
  if (!changed) return Unchanged();
  Edit(kActionElementEdit, [&] {
    if (resetMode >= 0) ResetConnectionBox(*element, resetMode);
    element->SetFieldText("DISJ", breaker);
    element->SetFieldText("QWA", rating);
    element->SetFieldText("QMBPACK", package);
    element->SetStyle(feed.Into(element->GetStyle()));
    element->SetStyle2(feed.Into(element->GetStyle2()));
    element->RebuildChain();
    if (CRunDocument* document = element->GetDocument()) document->RebuildScene();
  });
  Load();
  return Applied();
}

CApplyOutcome CFeedUnitPage::DoApply() {
  CDev* element = GetElement();
  if (element == nullptr) return Unchanged();
  FillLists(*element);
  return Store(-1);
}

CApplyOutcome CFeedUnitPage::ChoosePicture(int index) {
  CDev* element = GetElement();
  if (element == nullptr || index < -1 || index >= static_cast<int>(m_pictureList.size()))
    return Unchanged();
  m_pictureIndex = index == m_pictureIndex ? -1 : index;
  m_feed.picture = PictureCodeOfIndex(m_pictureIndex, m_pictures);
  m_pending = 2;
  m_breakerChoice.clear();
  m_storedBreakerCleared = true;
  m_rating = 0;
  m_packageChecked = false;
  m_protectionIndex = -1;
  FillLists(*element);
  return Store(1);
}

CApplyOutcome CFeedUnitPage::ChooseType(int index) {
  CDev* element = GetElement();
  if (element == nullptr || !ValidIndex(m_types, index)) return Unchanged();
  m_typeIndex = index;
  if (GetPictureCode() == 1) m_feed.picture = index == 1 ? 3 : 1;
  if (ValidIndex(m_breakers, m_breakerIndex))
    m_breakerChoice = m_breakers[static_cast<std::size_t>(m_breakerIndex)].key;
  FillLists(*element);
  return Store(1);
}

CApplyOutcome CFeedUnitPage::ChooseOption(int index) {
  CDev* element = GetElement();
  if (element == nullptr || !ValidIndex(m_options, index)) return Unchanged();
  m_feed.option = ValueAt(m_options, index);
  m_pending = 2;
  if (ValidIndex(m_breakers, m_breakerIndex))
    m_breakerChoice = m_breakers[static_cast<std::size_t>(m_breakerIndex)].key;
  FillLists(*element);
  m_pending = 2;
  return Store(0);
}

CApplyOutcome CFeedUnitPage::ChooseProtection(int index) {
  CDev* element = GetElement();
  if (element == nullptr || !ValidIndex(m_protections, index)) return Unchanged();
  if (!m_breakerShown) {
    m_protectionIndex = index;
    m_feed.protection = ValueAt(m_protections, index);
    return Store(-1);
  }
  m_protectionIndex = index;
  if (ValidIndex(m_breakers, m_breakerIndex))
    m_breakerChoice = m_breakers[static_cast<std::size_t>(m_breakerIndex)].key;
  FillLists(*element);
  return Store(1);
}

CApplyOutcome CFeedUnitPage::ChooseBreaker(int index) {
  if (!m_breakerShown || !ValidIndex(m_breakers, index)) return Unchanged();
  m_breakerIndex = index;
  return Store(1);
}

CApplyOutcome CFeedUnitPage::ChooseRating(int index) {
  if (!ValidIndex(m_ratings, index)) return Unchanged();
  m_ratingIndex = index;
  return Store(-1);
}

CApplyOutcome CFeedUnitPage::SetPackage(bool checked) {
  if (!m_packageShown) return Unchanged();
  m_packageChecked = checked;
  return Store(-1);
}

CApplyOutcome CFeedUnitPage::Turn() {
  CDev* element = GetElement();
  if (element == nullptr || !m_turnShown) return Unchanged();
  m_pending = 1;
  const int direction = element->GetDirection();
  const bool flip =
      m_mode == kTransformerQM20 && (direction == 2 || direction == 3) && m_protections.size() >= 2;
  const int flipped = m_protectionIndex == 0 ? 1 : 0;
  const CApplyOutcome outcome = Store(-1);
  // The mounting shown follows the turn until the lists are filled again; the reload
  // after the store would otherwise show the stored one at once.
  if (flip) m_protectionIndex = flipped;
  return outcome;
}
