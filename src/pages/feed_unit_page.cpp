#include "pages/feed_unit_page.h"

#include "app/dorne_app.h"
#include "app/message_text.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"
#include "platform/text_conversions.h"
#include "ranges/qm/run_qm.h"

#include <array>

namespace {

constexpr int kMsgFeedUnitCaption = 2706;
constexpr int kMsgTransformerCaption = 2702;
constexpr int kMsgSwitchboardCaption = 2703;
constexpr int kMsgTransformerBox = 2704;
constexpr int kMsgSwitchboardConnection = 2705;
constexpr int kMsgOtherSideConnection = 2716;
constexpr int kMsgCableConnection = 2717;
constexpr int kMsgSwitchboardVariant6 = 31021;
constexpr int kMsgTransformerVariant20 = 30207;
constexpr int kMsgOptionCaption = 2707;
constexpr int kMsgProtectionClass = 2709;
constexpr int kMsgCableBoxCaption = 30089;
constexpr int kMsgVariant20Sides = 30212;
constexpr int kMsgStandardOption = 30038;
constexpr int kMsgCableBoxes = 30076;
constexpr int kMsgSideOption = 30039;
constexpr int kMsgBothSidesOption = 30040;
constexpr int kMsgWithoutProtection = 30041;
constexpr int kMsgWithProtection = 30042;
constexpr int kMsgBreakerMountings = 30087;
constexpr int kMsgBreakerCaption = 31094;
std::string Text(int number) { return StringText(number); }

int IndexOfValue(const std::vector<CFeedEntry>& entries, int value) {
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].value == value) return static_cast<int>(i);
  return entries.empty() ? -1 : 0;
}

int ValueAt(const std::vector<CFeedEntry>& entries, int index) {
  if (index < 0 || index >= static_cast<int>(entries.size())) return 0;
  return entries[static_cast<std::size_t>(index)].value;
}

}  // namespace

int CFeedUnitPage::GetPageKind() const { return kPageFeedUnit; }

int CFeedUnitPage::GetCaptionMessage() const { return kMsgFeedUnitCaption; }

const CRunQM* CFeedUnitPage::QMRun() const {
  const CDev* element = GetElement();
  return element != nullptr ? dynamic_cast<const CRunQM*>(element->GetRun()) : nullptr;
}

void CFeedUnitPage::DoLoad() {
  const CDev& element = *GetElement();
  const CDorneApp* app = CRunEnvironment::Instance().App();
  m_packAbove = app != nullptr && app->ReadProfileInt("Design", "QMpackAbove", 0) != 0;
  LoadPictures(element);
  m_feed = CFeedByte::FromStyle(element.GetStyle());
  m_pictureIndex = PictureIndexOfCode(m_feed.picture, m_pictures);
  const int shown = PictureCodeOfIndex(m_pictureIndex, m_pictures);
  if (!(shown == 1 && m_feed.picture == 3)) m_feed.picture = shown;
  m_pending = 0;
  m_breakerChoice.clear();
  m_storedBreakerCleared = false;
  m_protectionIndex = -1;
  m_rating = static_cast<int>(ReadBoundedInt(element.GetFieldText("QWA").value_or(""), 0, 8, 0));
  m_packageChecked =
      ReadBoundedInt(element.GetFieldText("QMBPACK").value_or(""), INT32_MIN, INT32_MAX, 0) > 0;
  FillLists(element);
}

void CFeedUnitPage::LoadPictures(const CDev& element) {
  const CRun* run = element.GetRun();
  const std::string catalog = run != nullptr ? run->GetPropText("Catalog") : std::string();
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  int pictures = 0;
  const std::vector<CCodeRow>* codes = run != nullptr ? run->GetCodeTable() : nullptr;
  if (codes != nullptr) {
    for (auto row = codes->rbegin(); row != codes->rend(); ++row) {
      const int code = TextToInt(row->texts[1]);
      if (TextToInt(row->texts[0]) == GetKindGroup(kind) && code % 100 == variant) {
        pictures = code / 100;
        break;
      }
    }
  }
  m_mode = kNoTransformer;
  if (catalog.starts_with("QM") && variant == 4) m_mode = kTransformerQM4;
  if (catalog.starts_with("QM") && variant == 20) m_mode = kTransformerQM20;
  m_protectionFamily =
      kind == CDev::kEnd &&
      ((catalog.starts_with("QW") && variant == 2) ||
       ((catalog.starts_with("QP") || catalog.starts_with("Qp")) && variant == 3) ||
       (catalog == "QJF" && variant >= 3 && variant <= 5));
  m_optionBits = FeedOptions(element.GetDirection(), element.GetNeighbour(2) != nullptr,
                             element.GetNeighbour(3) != nullptr);
  m_pictures = AvailablePictures(pictures, m_optionBits, m_mode, m_packAbove);
  m_pictureList.clear();
  if ((m_pictures & kTransformerPicture) != 0) m_pictureList.push_back(2);
  if ((m_pictures & kSwitchboardPicture) != 0) m_pictureList.push_back(1);
}

void CFeedUnitPage::FillLists(const CDev& element) {
  const int code = GetPictureCode();
  FillTypes(element);
  m_ratings.clear();
  m_ratingIndex = -1;
  if (code == 2 && m_mode != kNoTransformer) {
    const CRun* run = element.GetRun();
    const int calibre = run != nullptr ? TextToInt(run->GetPropText("Calibre")) : 0;
    m_ratings = TransformerRatings(m_mode, calibre);
    m_ratingIndex = SelectedRating(m_ratings, m_rating);
  }
  FillOptions(element);
  FillProtections(element);
  m_turnShown = code != 0 && !(code == 2 && m_mode == kTransformerQM4);
  m_packageShown = m_mode != kNoTransformer && code == 1;
}

void CFeedUnitPage::FillTypes(const CDev& element) {
  const int code = GetPictureCode();
  const bool transformer = m_mode != kNoTransformer;
  m_types.clear();
  m_typeCaption.clear();
  if (code == 1) {
    m_typeCaption = Text(kMsgSwitchboardCaption);
    m_types.push_back({Text(transformer ? kMsgSwitchboardConnection : kMsgCableConnection), 0, {}});
    if (transformer) m_types.push_back({Text(kMsgOtherSideConnection), 1, {}});
  } else if (code == 2) {
    m_typeCaption = Text(kMsgTransformerCaption);
    int message = transformer ? kMsgTransformerBox : kMsgCableConnection;
    if (element.GetVariant() == 6) message = kMsgSwitchboardVariant6;
    if (element.GetVariant() == 20) message = kMsgTransformerVariant20;
    m_types.push_back({Text(message), 0, {}});
  }
  m_typeIndex = m_types.empty() ? -1 : (m_feed.picture == 3 && m_types.size() == 2 ? 1 : 0);
}

void CFeedUnitPage::FillOptions(const CDev& element) {
  const int code = GetPictureCode();
  const bool transformer = m_mode != kNoTransformer;
  m_options.clear();
  m_optionCaption = Text(kMsgOptionCaption);
  if (transformer) m_optionCaption = Text(kMsgCableBoxCaption);
  const std::string sides = Text(kMsgVariant20Sides);
  if (m_mode == kTransformerQM20) m_optionCaption = TextBefore(sides, ':');
  if (m_mode == kTransformerQM20 && code == 2) {
    const std::string choice = TextAfter(sides, ':', true);
    const int direction = element.GetDirection();
    const bool vertical = direction == 2 || direction == 3;
    m_options.push_back(
        {vertical ? TextAfter(choice, '/', false) : TextBefore(choice, '/'), 0, {}});
  } else if (code != 0 && (m_optionBits & 1) != 0) {
    if (transformer && code != 2) {
      const std::string boxes = Text(kMsgCableBoxes);
      m_options.push_back({TextBefore(boxes, '/'), 0, {}});
      m_options.push_back({TextAfter(boxes, '/', true), 3, {}});
    } else {
      m_options.push_back({Text(kMsgStandardOption), 0, {}});
    }
    if (code == 1 && (m_optionBits & 2) != 0) m_options.push_back({Text(kMsgSideOption), 1, {}});
    if (code == 1 && !transformer && (m_optionBits & 4) != 0 && element.GetKind() == CDev::kEnd)
      m_options.push_back({Text(kMsgBothSidesOption), 2, {}});
  }
  m_optionIndex = IndexOfValue(m_options, m_feed.option);
  if (m_options.empty()) m_optionCaption.clear();
}

void CFeedUnitPage::FillProtections(const CDev& element) {
  const int code = GetPictureCode();
  const bool transformer = m_mode != kNoTransformer;
  const int suffixIndex = m_protectionIndex;
  m_protections.clear();
  m_breakers.clear();
  m_breakerIndex = -1;
  m_breakerShown = false;
  m_protectionCaption.clear();
  m_protectionIndex = -1;
  if (code != 0 && (m_protectionFamily || (code == 2 && !transformer))) {
    m_protections.push_back({Text(kMsgWithoutProtection) + (transformer ? " (IP00)" : ""), 0, {}});
    m_protections.push_back({Text(kMsgWithProtection) + (transformer ? " (IP31)" : ""), 1, {}});
    const int wanted = m_pending != 0 ? (code == 2 ? 1 : 0) : m_feed.protection;
    m_protectionIndex = IndexOfValue(m_protections, wanted);
    // The feed page's own caption number names the cover in our texts; the protection
    // class text serves both modes.
    m_protectionCaption = Text(kMsgProtectionClass);
    m_protectionEnabled = true;
  } else if (transformer && code == 1) {
    m_protectionIndex = suffixIndex;
    FillBreakers(element);
    m_protectionCaption = Text(kMsgBreakerCaption);
    m_breakerShown = true;
  }
  if (m_mode == kTransformerQM20) m_protectionCaption.clear();
  if (m_protections.size() < 2) m_protectionEnabled = false;
}

void CFeedUnitPage::FillBreakers(const CDev& element) {
  const int variantCode = m_typeIndex == 0 ? 3 : 1;
  const int option = ValueAt(m_options, m_optionIndex);
  const std::string mountings = Text(kMsgBreakerMountings);
  m_protections = {{TextAfter(mountings, '/', true), 0, {}}, {TextBefore(mountings, '/'), 0, {}}};
  const bool keep = m_typeIndex > 0 && (m_protectionIndex == 0 || m_protectionIndex == 1);
  m_protectionIndex = keep ? m_protectionIndex : 0;
  m_protectionEnabled = m_typeIndex == 1;
  const CRunQM* run = QMRun();
  std::string current = m_breakerChoice.substr(0, 4);
  if (current.empty() && run != nullptr && !m_storedBreakerCleared)
    current = run->ChooseBreakerRef(element, true, variantCode, option);
  const std::string automatic =
      run != nullptr ? run->ChooseBreakerRef(element, false, variantCode, option) : std::string();
  if (current.empty()) current = automatic.substr(0, 4);
  if (current.size() > 4 && current.ends_with("_F") != (m_protectionIndex == 1) &&
      m_protectionEnabled)
    m_protectionIndex = 1 - m_protectionIndex;
  const std::string suffix = m_protectionIndex != 0 ? "_F" : "_D";
  m_breakers = BreakerFrames(variantCode, option, suffix, automatic);
  m_breakerIndex = SelectedBreaker(m_breakers, current.substr(0, 4));
}
