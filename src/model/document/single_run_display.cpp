#include "model/document/single_run_display.h"

#include "model/document/dorne_doc.h"
#include "model/run/run.h"

void FollowShownPage(CDorneDoc& document, int page) {
  document.SetBomPage(page);
  document.SetTotalsPageShown(page == 0);
  const CRun* run = page > 0 ? document.GetRunAt(page - 1) : nullptr;
  const bool alone = run != nullptr && run->GetFlagsWord() != 0;
  const bool switched = alone != document.IsCurrentRunOnly();
  document.SetCurrentRunOnly(alone);
  // Shown alone, the scene must hold this run; every run shown, it holds them already.
  if (switched || (alone && !document.HasWholeScene())) {
    document.RebuildScene();
    document.UpdateAllViews();
  }
}
