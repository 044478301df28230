#include "pages/page_captions.h"

#include "app/message_text.h"
#include "model/props/page_kinds.h"
#include "ranges/range_pages.h"

#include <array>
#include <utility>

namespace {

constexpr int kMsgRunCommentCaption = 2557;
constexpr int kMsgRunRatingCaption = 2560;
constexpr int kMsgLengthCaption = 2529;
constexpr int kMsgPositionCaption = 2525;
constexpr int kMsgCharacteristicsCaption = 2533;
constexpr int kMsgElbowCaption = 2563;
constexpr int kMsgElementNameCaption = 7501;
constexpr int kMsgFeedUnitCaption = 2706;
constexpr int kMsgPhaseOrderCaption = 2536;
constexpr int kMsgOptionCheckCaption = 2760;
constexpr int kMsgRunIPCaption = 2563;
constexpr int kMsgRunLengthsCaption = 2698;
constexpr int kMsgRunSupportCaption = 2650;
constexpr int kMsgRunThermalCaption = 2751;
constexpr int kMsgRiserCaption = 2655;
constexpr int kMsgMountingCaption = 2728;
constexpr int kMsgSpecialShapeCaption = 2521;
constexpr int kMsgClinqCaption = 30047;
constexpr int kMsgAccessoryCaption = 2706;
constexpr int kMsgShapeDimensionsCaption = 2543;
constexpr int kMsgEntraxCaption = 2521;

constexpr std::array<std::pair<int, int>, 22> kCaptions = {{
    {kPageRunComment, kMsgRunCommentCaption},
    {kPageRunRating, kMsgRunRatingCaption},
    {kPageLength, kMsgLengthCaption},
    {kPagePosition, kMsgPositionCaption},
    {kPageCharacteristics, kMsgCharacteristicsCaption},
    {kPageElbow, kMsgElbowCaption},
    {kPageElementName, kMsgElementNameCaption},
    {kPageFeedUnit, kMsgFeedUnitCaption},
    {kPagePhaseOrder, kMsgPhaseOrderCaption},
    {kPageOptionCheck, kMsgOptionCheckCaption},
    {kPageRunIP, kMsgRunIPCaption},
    {kPageRunLengths, kMsgRunLengthsCaption},
    {kPageRunSupport, kMsgRunSupportCaption},
    {kPageRunThermal, kMsgRunThermalCaption},
    {kPageRiser, kMsgRiserCaption},
    {kPageMounting, kMsgMountingCaption},
    {kPageSpecialShape, kMsgSpecialShapeCaption},
    {kPageSpecialShapeFlat, kMsgSpecialShapeCaption},
    {kPageClinq, kMsgClinqCaption},
    {kPageAccessory, kMsgAccessoryCaption},
    {kPageShapeDimensions, kMsgShapeDimensionsCaption},
    {kPageEntrax, kMsgEntraxCaption},
}};

}  // namespace

int PageCaptionMessage(int page) {
  for (const auto& [kind, message] : kCaptions)
    if (kind == page) return message;
  return 0;
}

std::string ButtonTip(int message, int reason) {
  constexpr std::size_t kTipCharacters = 75;
  std::string text = StringText(message);
  if (reason != 0) text += " : " + StringText(reason);
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Cut before a character's lead byte, never inside a character.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters++ == kTipCharacters) return text.substr(0, i);
  }
  return text;
}
