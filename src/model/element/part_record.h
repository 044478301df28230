#pragma once

struct CBitmapDesc;

// What an element keeps of the part that its range's part builder made for it; the
// builder owns the record, the element only points to it.
class CPartRecord {
 public:
  virtual ~CPartRecord() = default;
  // The picture of the part for the bill of materials' picture column; null when none.
  virtual const CBitmapDesc* GetBitmapDesc() const = 0;
};
