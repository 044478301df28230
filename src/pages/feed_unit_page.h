#pragma once

#include "pages/feed_unit_lists.h"
#include "pages/prop_page.h"

#include <string>
#include <vector>

class CRunQM;

// The feed unit page: the connection picture (transformer or switchboard) that the
// unit's run allows, the connection type and option, the protection or, on a QM feed
// unit with breaker, the breaker frame, the transformer rating, the package flag and
// the turn. The choices live in the top byte of both style words and in the fields
// "DISJ", "QWA" and "QMBPACK"; every choice applies at once, one undo step each.
class CFeedUnitPage : public CPropPage {
 public:
  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  // The pictures listed, in list order: 2 the transformer, 1 the switchboard.
  const std::vector<int>& GetPictures() const { return m_pictureList; }
  int GetPictureIndex() const { return m_pictureIndex; }
  int GetTransformerMode() const { return m_mode; }

  const std::string& GetTypeCaption() const { return m_typeCaption; }
  const std::vector<CFeedEntry>& GetTypes() const { return m_types; }
  int GetTypeIndex() const { return m_typeIndex; }
  const std::vector<CFeedEntry>& GetRatings() const { return m_ratings; }
  int GetRatingIndex() const { return m_ratingIndex; }
  const std::vector<CFeedEntry>& GetOptions() const { return m_options; }
  int GetOptionIndex() const { return m_optionIndex; }
  const std::string& GetOptionCaption() const { return m_optionCaption; }
  // The protection list, or in the breaker case the fixed or drawout choice.
  const std::vector<CFeedEntry>& GetProtections() const { return m_protections; }
  int GetProtectionIndex() const { return m_protectionIndex; }
  bool IsProtectionEnabled() const { return m_protectionEnabled; }
  // The caption over the protection (empty: hidden).
  const std::string& GetProtectionCaption() const { return m_protectionCaption; }
  const std::vector<CFeedEntry>& GetBreakers() const { return m_breakers; }
  int GetBreakerIndex() const { return m_breakerIndex; }
  bool IsBreakerShown() const { return m_breakerShown; }
  bool IsTurnShown() const { return m_turnShown; }
  bool IsDimensionsShown() const { return m_feed.picture != 0; }
  // The picture code that the lists show (3 is shown as 1).
  int GetPictureCode() const { return m_feed.picture == 3 ? 1 : m_feed.picture; }
  bool IsPackageShown() const { return m_packageShown; }
  bool IsPackageChecked() const { return m_packageChecked; }

  // The user's choices; each applies at once. A click on the selected picture clears it.
  CApplyOutcome ChoosePicture(int index);
  CApplyOutcome ChooseType(int index);
  CApplyOutcome ChooseOption(int index);
  CApplyOutcome ChooseProtection(int index);
  CApplyOutcome ChooseBreaker(int index);
  CApplyOutcome ChooseRating(int index);
  CApplyOutcome SetPackage(bool checked);
  CApplyOutcome Turn();

  // The key of the catalogue's connection rows for the dimensions dialog: the connection
  // code and breaker in transformer mode, "TRF" or "TBL" else, then the option digit.
  std::string ConnectionKey() const;

  // The element's connection box made to read its values again from the catalogue:
  // mode 1 its sizes and offsets, mode 0 its offsets; a missing box is made unset. The
  // breaker and rating choices go with it.
  static void ResetConnectionBox(CDev& element, int mode);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  const CRunQM* QMRun() const;
  void LoadPictures(const CDev& element);
  void FillLists(const CDev& element);
  void FillTypes(const CDev& element);
  void FillOptions(const CDev& element);
  void FillProtections(const CDev& element);
  void FillBreakers(const CDev& element);
  // The byte and fields that the lists now show, written in one undo step when they
  // differ from the element's (or always when reset asks for the connection box).
  CApplyOutcome Store(int resetMode);

  bool m_packAbove = false;
  int m_pictures = 0;
  int m_optionBits = 0;
  int m_mode = kNoTransformer;
  bool m_protectionFamily = false;
  int m_pending = 0;
  CFeedByte m_feed;
  std::vector<int> m_pictureList;
  int m_pictureIndex = -1;
  std::string m_typeCaption;
  std::vector<CFeedEntry> m_types;
  int m_typeIndex = -1;
  std::vector<CFeedEntry> m_ratings;
  int m_ratingIndex = -1;
  std::vector<CFeedEntry> m_options;
  int m_optionIndex = -1;
  std::string m_optionCaption;
  std::vector<CFeedEntry> m_protections;
  int m_protectionIndex = -1;
  bool m_protectionEnabled = false;
  std::string m_protectionCaption;
  std::vector<CFeedEntry> m_breakers;
  int m_breakerIndex = -1;
  bool m_breakerShown = false;
  std::string m_breakerChoice;
  // The stored breaker no longer counts (a new picture clears it).
  bool m_storedBreakerCleared = false;
  bool m_turnShown = false;
  bool m_packageShown = false;
  bool m_packageChecked = false;
  int m_rating = 0;
};
