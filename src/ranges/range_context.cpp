#include "ranges/range_context.h"

CRangeContext& CRangeContext::Instance() {
  static CRangeContext context;
  return context;
}

void CRangeContext::Reset() { *this = CRangeContext(); }

void CRangeContext::ReportUnreadableTable(const std::string& path) {
  ++m_unreadable;
  m_lastUnreadable = path;
  if (!m_reported.insert(path).second) return;
  if (m_notifier) m_notifier(kMessageTableUnreadable, path);
}
