#pragma once

#include "pages/prop_page.h"

#include <cstdint>
#include <string>

class CDev;

// The position page of an element E: moves the joint between E and its forward
// neighbour F (the neighbour on E's direction side) along the line, splitting their
// common costed length t = a + b. Each length keeps room for the housings at its ends.
// Without a forward neighbour there is nothing to split: every apply is refused.
class CPositionPage : public CPropPage {
 public:
  enum EField { kFieldFirst = 0, kFieldSecond = 1, kFieldTotal = 2 };
  static constexpr int kActionElementEdit = 17520;

  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  // The texts of a, b and t as the edits show them.
  const std::string& GetText(int field) const;
  void SetText(int field, std::string text);
  // Field value with its unit, for the labels.
  std::string GetLabel(int field) const;
  std::int64_t GetFirst() const { return m_a; }
  std::int64_t GetSecond() const { return m_b; }
  std::int64_t GetTotal() const { return m_t; }
  std::int64_t GetMinFirst() const { return m_minA; }
  std::int64_t GetMinSecond() const { return m_minB; }
  std::int64_t GetMinTotal() const { return m_minA + m_minB; }
  bool HasForwardNeighbour() const { return m_hasFront; }
  // The scroll bar: range minimum a .. t - minimum b, position a; steps.
  std::int64_t GetScrollMinimum() const { return m_minA; }
  std::int64_t GetScrollMaximum() const { return std::max(m_minA, m_t - m_minB); }
  std::int64_t GetPageStep() const { return m_t / 20; }
  std::int64_t GetJumpStep() const { return m_t / 10; }

  // A scroll position (clamped): applied when the move ends (released) or when the
  // position is a multiple of 10, else only remembered. The outcome of the apply.
  CApplyOutcome ScrollTo(std::int64_t position, bool released);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  CDev* Element() const;
  CDev* Front() const;
  void ComputeLimits();
  void FormatTexts();
  CApplyOutcome Refuse(int message, std::int64_t limit, int field);
  CApplyOutcome ApplyTyped(std::int64_t a, std::int64_t b, std::int64_t t);
  CApplyOutcome Split(std::int64_t a, std::int64_t b, std::int64_t t);
  void WriteLengths(CDev& element, CDev& front);

  std::string m_texts[3];
  std::string m_loadedTexts[3];
  std::int64_t m_a = 0;
  std::int64_t m_b = 0;
  std::int64_t m_t = 0;
  std::int64_t m_minA = 0;
  std::int64_t m_minB = 0;
  bool m_hasFront = false;
  bool m_fromScroll = false;
  std::int64_t m_scrollPosition = 0;
};
