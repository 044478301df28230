#pragma once

#include "model/run/run.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

class CRangeTableReader;

// What the run classes of the product ranges share: the steps of their catalogue
// loaders and the rebuild of their parts. Each range class derives from it and gives its
// pages, cache set, tables and defaults.
class CRangeRun : public CRun {
 public:
  using CRun::LoadCatalog;

  // "Calibre" as a whole number; 0 when it is not one.
  int GetRating() const;

  // The side a device is mounted on: 0 or 1, or 2 where the range has a third position.
  // Mode -1 gives the range's default without the element's "MOUNT" field, mode 0 the
  // side with it. Ranges without mounting sides answer 0.
  virtual int IsMountReversed(const CDev* element, int mode) const {
    (void)element;
    (void)mode;
    return 0;
  }

  // Arguments of the run lengths page of the range (all 0 when it has none).
  virtual std::array<int, 5> GetLengthsPageArguments() const { return {}; }

  // Rebuilds the bill of materials from the devices (the generic rebuild at level -1),
  // then the parts at the caller's level.
  int RebuildParts(int level) override;

 protected:
  explicit CRangeRun(CRunDocument* document) : CRun(document) {}

  // Called first by RebuildParts (QJF resets its neutral side).
  virtual void PrepareRebuild() {}

  // Loader step 2-3: the two pages of every run, then the range's run pages; the range's
  // element pages from slot 7 on.
  void SetRangePages(std::initializer_list<int> runPages, std::initializer_list<int> elementPages);
  // Loader steps 5-6: takes the named cache set; the first run of the set fills it with
  // fill(tables, reader) through a reader of the run's code. When fill throws, the set
  // is left empty and uncounted and the exception passes on. A thread that may not fill
  // sets (CRangeTableCache::CFillRefusal) gets CRangeFillRefused for an empty one.
  void AttachCacheSet(std::string_view setName,
                      const std::function<void(CRangeTables&, const CRangeTableReader&)>& fill);
  // Loader steps 7-8: the defaults of the range (set for every run), then the two run
  // words (parts state 0, range loaded 1).
  void FinishLoad(std::initializer_list<std::pair<const char*, const char*>> defaults);
};

// The first letter of a variant in upper case for the two-set ranges: 'A' for a variant
// that begins with 'A', 'C' for any other.
char TwoSetLetter(std::string_view variant);
