#pragma once

#include "pages/feed_unit_lists.h"
#include "pages/prop_page.h"

#include <string>
#include <vector>

// The accessory page of ranges QM and QG: on QM the adapter to a busbar of range QJ or
// QZ (and on an end cabinet the side it sits on), on QG the conductor arrangement of the
// connection; the choice is kept in the element's "QGACC".
class CAccessoryPage : public CPropPage {
 public:
  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  bool IsQG() const { return m_qg; }
  // The adapters (QM: the code as key) or the one catalogue entry (QG).
  const std::vector<CFeedEntry>& GetAccessories() const { return m_accessories; }
  int GetAccessoryIndex() const { return m_accessoryIndex; }
  bool IsAccessoryEnabled() const { return !m_qg && m_accessories.size() >= 2; }
  // The side (QM end cabinet) or the arrangements (QG, value 3, 4 or 5).
  const std::vector<CFeedEntry>& GetChoices() const { return m_choices; }
  int GetChoiceIndex() const { return m_choiceIndex; }
  bool IsChoiceEnabled() const { return m_choiceEnabled; }

  CApplyOutcome ChooseAccessory(int index);
  CApplyOutcome ChooseChoice(int index);
  // A QM adapter code shown with its range and rating ("QJF 14 : 1000 A"); other codes
  // as they are.
  static std::string AdapterLabel(const std::string& code);
  // The rating in amperes that a QG "Calibre" stands for.
  static int RatingAmperes(int calibre);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  void LoadAdapters(const CDev& element);
  void LoadArrangements(const CDev& element);
  // The element's side is read from the other way round when nothing follows it.
  bool SideInverted(const CDev& element) const;
  std::string WantedAccessory() const;

  bool m_qg = false;
  std::vector<CFeedEntry> m_accessories;
  int m_accessoryIndex = -1;
  std::vector<CFeedEntry> m_choices;
  int m_choiceIndex = -1;
  bool m_choiceEnabled = false;
  // The selections as loaded: leaving the page without a choice writes nothing.
  int m_loadedAccessory = -1;
  int m_loadedChoice = -1;
};
