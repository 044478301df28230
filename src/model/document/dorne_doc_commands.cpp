#include "model/document/dorne_doc.h"

#include "model/document/doc_observer.h"
#include "model/props/prop_window_notifier.h"
#include "model/builder/part_builder.h"
#include "model/run/run.h"
#include "model/undo/undo_actions.h"
#include "model/undo/undo_manager.h"
#include "model/document/work_notifier.h"

namespace {

constexpr int kMsgDeleteRun = 61452;
constexpr int kUndoRebuildParts = 21107;
constexpr int kUndoRebuildBOM = 21109;
// A quarter turn of a run is named in the Undo menu by its own command.
constexpr int kUndoRotateForward = 32950;
constexpr int kUndoRotateBackward = 32951;

// The next rotation flag; 0 for a flag outside 16..128.
int NextRotation(int rotation, bool forward) {
  switch (rotation) {
    case 16: return forward ? 32 : 128;
    case 32: return forward ? 64 : 16;
    case 64: return forward ? 128 : 32;
    case 128: return forward ? 16 : 64;
    default: return 0;
  }
}

}  // namespace

int CDorneDoc::DeleteCurrentRun() {
  CRun* run = m_currentRun;
  if (FindRunIndex(run) < 0) return 0;
  if (m_prompter != nullptr && !m_prompter->AskOkCancel(kMsgDeleteRun, run->GetPropText("Name")))
    return 0;
  GetUndo().SaveUndoState(undo_actions::kDeleteRun);
  run->NotifyPropDialog(kPropMsgClear);
  std::unique_ptr<CRun> removed = RemoveRun(run);
  if (!m_runList.empty()) SetCurrentRun(m_runList.front());
  Notify(EDocNotice::kRunRemoved, removed.get());
  removed.reset();
  RebuildScene();
  RecomputeTotals(1, 0);
  UpdateAllViews();
  SetModifiedFlag(true);
  return 1;
}

bool CDorneDoc::CanRebuildCurrentRun() {
  if (m_currentRun == nullptr) return false;
  if (m_currentRun->HasPartBuilder()) return true;
  ShowWorkMessage(kMsgNoPartBuilder);
  return false;
}

bool CDorneDoc::RebuildCurrentRunParts() {
  if (!CanRebuildCurrentRun()) return false;
  GetUndo().SaveUndoState(kUndoRebuildParts, false, true);
  DropProvisionalElement();
  m_currentRun->RebuildParts(1);
  return true;
}

bool CDorneDoc::RebuildCurrentRunBOM() {
  if (!CanRebuildCurrentRun()) return false;
  GetUndo().SaveUndoState(kUndoRebuildBOM, false, true);
  if (m_currentRun->GetPartsState() != 0) {
    // The bill alone would fall back to the generic texts of the elements and lose every
    // catalogue reference and mark of a built run: its parts are chosen again with it,
    // quietly, as the rebuild of the parts does before it shows its checks.
    DropProvisionalElement();
    m_currentRun->RebuildParts(0);
  } else {
    m_currentRun->RebuildBOM(true);
  }
  SetModifiedFlag(true);
  UpdateAllViews();
  return true;
}

bool CDorneDoc::UpdateCurrentRun() {
  if (!CanRebuildCurrentRun()) return false;
  m_currentRun->Reverse();
  RebuildScene();
  UpdateAllViews();
  return true;
}

void CDorneDoc::RotateRunForward() { RotateRun(true); }

void CDorneDoc::RotateRunBackward() { RotateRun(false); }

void CDorneDoc::RotateRun(bool forward) {
  if (m_currentRun == nullptr) return;
  const int rotation = NextRotation(m_currentRun->GetRotation(), forward);
  if (rotation == 0) return;
  GetUndo().SaveUndoState(forward ? kUndoRotateForward : kUndoRotateBackward, true, true);
  // The elements take the turn, not only the run's flag: the layout shows it.
  m_currentRun->SetRotation(rotation);
  m_currentRun->ApplyRating(nullptr, false);
  RebuildScene();
  RecomputeTotals(1, 0);
  SetModifiedFlag(true);
  UpdateAllViews();
}

void CDorneDoc::ToggleRunOption() {
  if (m_currentRun == nullptr) return;
  m_currentRun->SetFlagsWord(m_currentRun->GetFlagsWord() ^ 2u);
  // The option is stored with the run: a change that is not marked would be lost.
  SetModifiedFlag(true);
  UpdateAllViews();
}

void CDorneDoc::SaveUndoState(int action) { GetUndo().SaveUndoState(action); }
