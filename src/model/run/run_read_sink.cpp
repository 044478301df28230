#include "model/run/run_read_sink.h"

namespace {

thread_local CRunReadSink* t_current = nullptr;

}  // namespace

CRunReadSink::CRunReadSink(int fileVersion) : m_archive(m_annotations, m_noRuns, fileVersion) {}

CRunReadSink* CRunReadSink::Current() { return t_current; }

void CRunReadSink::RefuseAside() {
  if (t_current != nullptr) throw CRunReadAsideRefused();
}

CRunReadSink::CScope::CScope(CRunReadSink& sink) : m_before(t_current) { t_current = &sink; }

CRunReadSink::CScope::~CScope() { t_current = m_before; }
