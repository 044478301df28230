#include "linear/linear_notifier.h"

void CLinearReport::Report(const std::string& text) {
  if (!m_seen.insert(text).second) return;
  m_messages.push_back(text);
  if (m_notifier) m_notifier->ShowMessage(text);
}
