#pragma once

#include "pages/prop_page.h"

#include <string>

// The element name page: the reference under which the element is counted in its run's
// bill of materials, with the choice to give a new reference to every element that has
// the old one. A reference's group suffix (" \nGroup=" and a number) is kept out of the
// edit and put back on apply.
class CElementNamePage : public CPropPage {
 public:
  static constexpr const char* kGroupMark = " \nGroup=";

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  const std::string& GetText() const { return m_text; }
  void SetText(std::string text) { m_text = std::move(text); }
  const std::string& GetGroupSuffix() const { return m_suffix; }
  bool IsReplaceAll() const { return m_replaceAll; }
  void SetReplaceAll(bool on) { m_replaceAll = on; }
  bool IsEditable() const { return m_editable; }
  // A tap-off unit offers the button that starts the choice of the unit.
  bool OffersTapOffChoice() const;

  // The text shown for an element that does not carry a reference of its own: the one of
  // the element that stands for it in the bill of materials, else the run's default.
  static std::string GetShownReference(const CDev& element, bool faceSelected);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  bool IsFaceSelected(const CDev& element) const;
  void LoadText(const CDev& element, bool faceSelected);
  void ReplaceEverywhere(CDev& element, const std::string& reference);
  void ReplaceOne(CDev& element, const std::string& reference);

  bool m_replaceAll = false;
  bool m_editable = true;
  std::string m_text;
  std::string m_loadedText;
  std::string m_suffix;
};
