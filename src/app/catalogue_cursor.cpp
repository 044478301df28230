#include "app/catalogue_cursor.h"

const CCatalogueEntry* CCatalogueCursor::GetNextCatalogEntry(bool restart) {
  if (restart) m_position = 0;
  if (m_position >= m_entries->size()) return nullptr;
  return &(*m_entries)[m_position++];
}
