#pragma once

#include "model/builder/part_builder.h"

#include <cstdint>
#include <string>
#include <string_view>

class CRunQD;

// The lengths that limit a group of elbows, from the parts-list row of the group's
// reference: the least leg (first leg), the least share of each further elbow (fifth
// leg) and the longest group (sixth leg).
struct CElbowGroupLimits {
  std::int32_t leg = 0;
  std::int32_t share = 0;
  std::int32_t longest = 0;
  bool found = false;
};

// What an elbow's "EF20nbc" field says of its group: the number of elbows and their
// summed length; -1 for a sum not given, 0 for an empty one.
struct CElbowGroupText {
  std::int32_t count = 0;
  std::int32_t sum = -1;
  bool last = false;  // the text ends with "!": the elbow that books the group
};

// Reads an "EF20nbc" text as stored, within bounds; a text that is not a group gives a
// count of 0.
CElbowGroupText ParseElbowGroup(std::string_view text);

// The part builder of range QD: catalogue references of the ends, elbows grouped into
// flat ("DF410") or edgewise ("EDF430") pieces, straight pieces from the parts list, and
// the ratings turned into amperes at the end.
class CPartBuilderQD : public CPartBuilder {
 public:
  explicit CPartBuilderQD(CRunQD& run);

  CDev* PrepareElement(CDev& element) override;
  void FinishPart(CDev& element, int position) override;
  // Books the group of elbows that starts at the entry (the last of its segment): the
  // elbows before the last one leave the bill, the segments between them are booked as
  // part of the group, and the last elbow takes the group's reference.
  void PropagatePartValue(const CSegmentEntry& entry, int segmentIndex) override;
  std::string GetPartReference(const CSegment& segment, int entryIndex, int alternative) override;
  std::string GetPartParameters(const CPlannedPart& part) override;
  int GetElbowReference(const CSegment& segment) override;
  int SelectCandidate(const CSegment& segment, int flag) override;
  void AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                  std::string_view reference, int pass) override;

  // The length window of a group piece: mode 1 widens the second length to what the
  // group leaves, mode 0 works both out from the elbow n - 1 places back.
  void AdjustGroupPart(const CSegmentEntry& entry, std::string_view reference, std::int32_t& first,
                       std::int32_t& second, int mode);

  const CElbowGroupLimits& GetFlatLimits() const { return m_flat; }
  const CElbowGroupLimits& GetEdgewiseLimits() const { return m_edgewise; }

 private:
  void AddStraightDefinitions();
  void GroupElbows(const CSegmentEntry& entry, std::string& buffer);
  int FindSegmentOf(const CDev& element, bool& isFirst) const;
  void Rebook(CDev& element, const std::string& reference);

  CRunQD& m_qd;
  int m_rating = 0;
  CElbowGroupLimits m_flat;
  CElbowGroupLimits m_edgewise;
};
