#include "model/document/check_message_presenter.h"

#include "model/builder/part_builder.h"
#include "model/run/run.h"

namespace {

CCheckMessagePresenter* g_presenter = nullptr;
bool g_checksEnabled = true;

}  // namespace

CCheckMessagePresenter* SetCheckMessagePresenter(CCheckMessagePresenter* presenter) {
  CCheckMessagePresenter* previous = g_presenter;
  g_presenter = presenter;
  return previous;
}

CCheckMessagePresenter* GetCheckMessagePresenter() { return g_presenter; }

bool DesignChecksEnabled() { return g_checksEnabled; }
void SetDesignChecksEnabled(bool enabled) { g_checksEnabled = enabled; }

int CPartBuilder::ShowCheckMessages() {
  if (m_messages.At(0).state == CCheckMessage::kEmpty || !DesignChecksEnabled()) return 0;
  CCheckMessagePresenter* presenter = GetCheckMessagePresenter();
  if (presenter == nullptr) return 0;
  const int result = presenter->ShowCheckMessages(*this);
  if (result == 2) ClearAfterCorrection();
  return result;
}

void CPartBuilder::Build(int level) {
  CollectSegments();
  FinishParts(level);
  m_run.SetPartsState(HasErrors() ? 1 : 2);
}
