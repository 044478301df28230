#include "model/element/dev.h"

#include "model/run/run.h"
#include "model/builder/straight_planner.h"
#include "platform/int_clamp.h"

#include <algorithm>

namespace {

char CharAt(const std::string& text, std::size_t index) {
  return index < text.size() ? text[index] : '\0';
}

}  // namespace

std::int32_t CStraightPlanner::LastPiece(const std::string& answer) const {
  if (answer.empty()) return 0;
  const auto index = static_cast<std::size_t>(answer.back() - '1');
  return index < m_totals.size() ? m_totals[index] : 0;
}

bool CStraightPlanner::PlanRound() {
  const std::int32_t step = m_builder.GetLengthStep();
  std::string answer;
  std::int32_t r = m_builder.SplitLength(m_builder.GetRemaining(), m_totals, 0, answer);
  if (r < 1 || r < step) {
    MakePieces({}, answer);
    return false;
  }
  const std::int64_t joined = std::int64_t{LastPiece(answer)} + r;
  if (m_permission && !(!answer.empty() && joined >= m_rangeMin && joined <= m_rangeMax)) {
    const std::int32_t before = m_builder.GetRemaining();
    if (m_builder.AddElementParts(m_segment, r, 1) != 0) return true;
    r = ClampToInt32(std::int64_t{r} + m_builder.GetRemaining() - before);
  }
  std::vector<Piece> pieces;
  answer.clear();
  r = m_builder.SplitLength(m_builder.GetRemaining(), m_totals, ClampToInt32(m_rangeMin), answer);
  if (PlanRangePieces(r, answer, pieces)) {
    MakePieces(pieces, answer);
    return true;
  }
  return FallBack(r, answer);
}

bool CStraightPlanner::PlanRangePieces(std::int32_t r, std::string& answer,
                                       std::vector<Piece>& pieces) {
  if (r <= 0) return true;
  if (m_rangeMax <= 0) return false;
  std::int64_t rest = r;
  if (!answer.empty() && LastPiece(answer) + rest <= m_rangeMax) {
    rest += LastPiece(answer);
    answer.pop_back();
  }
  for (;;) {
    const std::int64_t count = rest / m_rangeMax + (rest % m_rangeMax != 0 ? 1 : 0);
    const std::int32_t length = m_builder.RoundToStep(rest / count);
    const CPartDef* def =
        length >= m_rangeMin && length <= m_rangeMax ? RangeDefinition(length) : nullptr;
    if (def != nullptr) {
      for (std::int64_t i = 0; i < count; ++i) pieces.push_back(Piece{length, def, true});
      return true;
    }
    if (answer.empty()) return false;
    rest += LastPiece(answer);
    answer.pop_back();
  }
}

bool CStraightPlanner::FallBack(std::int32_t r, const std::string& answer) {
  // What the range pieces cannot cover is tried with the straight pieces of list 0,
  // then once more with the ends allowed to grow; what is still left is reported with
  // the pieces that could be made.
  if (m_list != 0 && !m_fellBack) {
    m_fellBack = true;
    m_variant = 0;
    CollectDefinitions();
    return true;
  }
  if (!m_permission && !m_widened) {
    m_permission = true;
    m_widened = true;
    return true;
  }
  m_builder.FormatPartLabel(&m_element, 14, {}, 0, r);
  MakePieces({}, answer);
  return false;
}

void CStraightPlanner::MakePieces(const std::vector<Piece>& rangePieces,
                                  const std::string& answer) {
  for (const Piece& piece : rangePieces) MakePiece(piece);
  for (const char c : answer) {
    const auto index = static_cast<std::size_t>(c - '1');
    if (index >= m_totals.size()) continue;
    MakePiece(Piece{m_totals[index], FixedDefinition(m_totals[index]), false});
  }
}

void CStraightPlanner::MakePiece(const Piece& piece) {
  std::vector<CPlannedPart>& parts = m_builder.GetPlannedParts();
  const bool firstPiece = m_distance == 0;
  if (firstPiece && !parts.empty() && parts.back().element == &m_element &&
      parts.back().mode != -1) {
    m_distance = parts.back().length;
  }
  m_distance += piece.length;
  std::string text;
  if (piece.def != nullptr) {
    text = PieceReference(*piece.def);
    // A range piece whose second list ends where its first begins keeps its bare
    // reference: its length is fixed by the reference itself.
    if (piece.range && piece.def->last2 != piece.def->first1) {
      text += " x=" + std::to_string(piece.length);
      FormatPartCoords(text, 0, ' ');
    }
  }
  const bool previousTakes =
      !parts.empty() && (parts.back().mode == -1 || parts.back().element == &m_element);
  if (previousTakes) {
    parts.back().parameters = text;
    parts.back().variant = m_variant;
  }
  if (piece.range && text.find("!!", 1) != std::string::npos) BookCustomPiece(piece);
  CPlannedPart part;
  part.element = &m_element;
  part.face = m_entry.backFace;
  part.firstLength = piece.length;
  part.length = ClampToInt32(m_distance);
  part.mode = -1;
  part.variant = m_variant;
  part.branch = 1;
  parts.push_back(std::move(part));
  m_builder.SetRemaining(ClampToInt32(std::int64_t{m_builder.GetRemaining()} - piece.length));
}

void CStraightPlanner::BookCustomPiece(const Piece& piece) {
  std::int64_t size = (std::int64_t{m_builder.GetRemaining()} / 1000 + 1) * 1000;
  std::int32_t found = 0;
  for (int i = 0; i < 4 && size < INT32_MAX; ++i, size += 1000) {
    std::string answer;
    if (m_builder.SplitLength(static_cast<std::int32_t>(size), m_totals, 0, answer) == 0) {
      found = static_cast<std::int32_t>(size);
      break;
    }
  }
  m_builder.FormatPartLabel(&m_element, 14, {}, found, piece.length);
  m_run.AddLengthToBOM(m_element.GetCalibre(), piece.length, m_variant);
}

std::string CStraightPlanner::PieceReference(const CPartDef& def) const {
  std::string pattern(22, ' ');
  m_run.FillRefPattern(pattern);
  if (m_variant == 3 && CharAt(pattern, 7) == '3') pattern[7] = '4';
  for (std::size_t i = 0; i < def.text.size(); ++i) {
    if (i >= pattern.size()) pattern.push_back(def.text[i]);
    else if (def.text[i] != '?') pattern[i] = def.text[i];
  }
  return pattern;
}

const CPartDef* CStraightPlanner::FixedDefinition(std::int32_t length) const {
  const std::vector<CPartDef>& defs = m_builder.GetPartDefs(m_list);
  for (auto def = defs.rbegin(); def != defs.rend(); ++def) {
    if (def->IsFixed() && def->MinTotal() == length) return &*def;
  }
  return nullptr;
}

const CPartDef* CStraightPlanner::RangeDefinition(std::int32_t length) const {
  const std::vector<CPartDef>& defs = m_builder.GetPartDefs(m_list);
  for (auto def = defs.rbegin(); def != defs.rend(); ++def) {
    if (!def->IsFixed() && def->MinTotal() <= length && length <= def->MaxTotal()) return &*def;
  }
  return nullptr;
}

bool CStraightPlanner::AsksForBackStep() const {
  const CDev& first = *m_segment.front().element;
  if (first.GetKind() != CDev::kElbow) return false;
  const std::string catalog = m_run.GetPropText("Catalog");
  const std::string& reference = first.GetReference();
  const char sixth = CharAt(reference, 5);
  const char ninth = CharAt(reference, 8);
  if (catalog.starts_with("QM")) return sixth == 'L' && ninth != 'A';
  if (catalog.starts_with("QG")) return (sixth == 'L' || sixth == 'F') && ninth != 'A';
  if (catalog.starts_with("QP"))
    return reference.size() >= 10 && reference.compare(5, 5, "DLC40") == 0;
  return false;
}

int CStraightPlanner::Finish() {
  const std::int32_t remaining = m_builder.GetRemaining();
  const std::int32_t step = m_builder.GetLengthStep();
  if (remaining == 0) return 1;
  if (step != 0 && remaining > 0 && remaining < step) {
    CDev& last = *m_segment.back().element;
    if (last.GetDrawnLength() == last.GetBookedLength())
      last.SetDrawnLength(last.GetDrawnLength() - remaining);
    last.SetBookedLength(last.GetBookedLength() - remaining);
    m_builder.SetRemaining(0);
    return 1;
  }
  if (m_builder.GetBackStep() == 0 && m_builder.GetMessages().GetIndex() == 0 && m_permission &&
      AsksForBackStep()) {
    m_builder.SetBackStep(-2);
    if (m_run.GetPropText("Catalog").starts_with("QP"))
      m_segment.front().element->SetFieldText("SURMESURE", "1");
  }
  // Only a length still to be made is booked: ends longer than the segment leave a
  // negative remainder, which is a shortfall already reported, not a length.
  if (m_builder.GetBackStep() >= 0 && remaining > 0) {
    m_run.AddLengthToBOM(m_element.GetCalibre(), remaining, m_variant);
  }
  m_builder.SetRemaining(0);
  return 0;
}
