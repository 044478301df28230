#pragma once

#include <cstddef>
#include <vector>

#include "app/catalogue_entry.h"

// Walks a catalogue list entry by entry (the application keeps one for the whole run).
// It holds the list by reference, so the list must outlive it; a list that changes
// between calls is never read out of bounds.
class CCatalogueCursor {
 public:
  explicit CCatalogueCursor(const std::vector<CCatalogueEntry>& entries) : m_entries(&entries) {}

  // The entry under the cursor, which then moves on; restart puts it back on the first
  // entry first. Null at the end of the list (and on every later call until a restart).
  const CCatalogueEntry* GetNextCatalogEntry(bool restart);

 private:
  const std::vector<CCatalogueEntry>* m_entries;
  std::size_t m_position = 0;
};
