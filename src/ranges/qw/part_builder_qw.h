#pragma once

#include "model/builder/part_builder.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CRunQW;

// What the walk behind a special length found: the extension it may grow by and the
// joints (at most two, nearest first) that it then cuts again.
struct CSpecialExtension {
  std::int32_t length = 0;
  std::vector<CDev*> joints;
};

// The part builder of range QW: straight pieces fitted without rounding, keeping 350 mm
// for the next piece; elbows followed by short legs become one special length "EF" size
// "20" spanning them; a special length after a straight joint grows into the pieces
// behind it, which are cut again.
class CPartBuilderQW : public CPartBuilder {
 public:
  // Least length a straight piece leaves for the next one.
  static constexpr std::int32_t kLeastRemainder = 350;
  // Bound on the segments one special length may span, whatever an element says.
  static constexpr int kMaxSpannedSegments = 16;

  // Reads the straight pieces of the run's parts table (opened for every builder).
  explicit CPartBuilderQW(CRunQW& run);

  // A riser (kind 7, variant index 3) splits the length in front of it at its fixing.
  CDev* PrepareElement(CDev& element) override;
  void FinishPart(CDev& element, int position) override;
  // After the last FinishPart: a run without a plain straight end gets its kind-10 part.
  void FinishSecondPass() override;
  using CPartBuilder::PropagatePartValue;
  // Books the special length of the entry's elbow on the last elbow it spans: the
  // elbows before it leave the bill and the segments between them are skipped (at most
  // as many as "EF20nbc" says, as there are, and kMaxSpannedSegments). Empties the text.
  void PropagatePartValue(const CSegmentEntry& entry, std::string& reference);
  std::string GetPartReference(const CSegment& segment, int entryIndex, int alternative) override;
  std::string GetPartParameters(const CPlannedPart& part) override;
  int GetElbowReference(const CSegment& segment) override;
  int AddElementParts(const CSegment& segment, std::int32_t leftover, int flag) override;
  int SelectCandidate(const CSegment& segment, int flag) override;
  void FlushPartsToBOM() override;

  // The plain straight ends counted by the second pass so far; -1 for none.
  int GetStraightCount() const { return m_straights; }
  // The extension a special length at the element may grow by (step of AddElementParts).
  CSpecialExtension FindExtension(CDev& element) const;

 private:
  void AddStraightDefinitions();
  // The elbow reference of the standard rule (no special length "EF20").
  void WriteStandardElbow(CDev& element, const CSegmentEntry& entry, std::string& buffer);
  // The special length over the short legs after the elbow; false when none fits.
  bool WriteElbowPair(const CSegmentEntry& entry, std::string& buffer);
  void WriteSpecialLengths(CDev& element, std::string& buffer) const;
  std::int32_t FitPart(CPlannedPart& part, std::int32_t& leftover, std::int32_t min,
                       std::int32_t max, bool first);
  void CutJointsAgain(const CSpecialExtension& extension);
  void Rebook(CDev& element, const std::string& reference);

  CRunQW& m_qw;
  int m_straights = -1;
};

// Sets the style bits of a special "EF" piece (16, 17, 19, 20, 23 clear; 18, 21, 22 set).
void MarkSpecialPiece(CDev& element);
