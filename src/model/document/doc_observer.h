#pragma once

#include <string>

class CRun;

// What a layout document announces to the views that show it. The document never calls
// a view; views subscribe (CDorneDoc::AddObserver) and act on these notices.
enum class EDocNotice {
  kUpdateViews,        // redraw from the document
  kSceneRebuilt,       // the display list was rebuilt
  kRunAdded,           // a run's page belongs in the bill-of-materials view (run given)
  kRunPageTitle,       // a run's page takes the run's name (run given)
  kCurrentRunChanged,  // another run is current (run given): cursor, prompt and page follow
  kTotalsStale,        // the totals page must be recomputed
  kTotalsChanged,      // the document's totals were recomputed
  kModifiedChanged,    // the modified flag changed
  kLoaded,             // the document was read: views choose their select tool
  kRunRemoved,         // a run's page leaves the bill-of-materials view (run given, about to go)
};

class CDocObserver {
 public:
  virtual ~CDocObserver() = default;
  // run: the run the notice is about, or null.
  virtual void OnDocNotice(EDocNotice notice, CRun* run) = 0;
};

// Questions the document asks the user (the window side shows translated message
// boxes; tests answer them).
class CDocPrompter {
 public:
  virtual ~CDocPrompter() = default;
  // The question of a message number (its %1 filled with the parameter) with OK and
  // Cancel; true for OK.
  virtual bool AskOkCancel(int message, const std::string& parameter) = 0;
  // The exclamation sound.
  virtual void Beep() = 0;
};
