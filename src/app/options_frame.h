#pragma once

// What the options sheet needs of the layout frame it was opened from: its active
// document is refreshed after the design values changed, and the catalogue menu is
// rebuilt after the price-list names changed. The layout frame implements it; tests
// record the calls.
class COptionsFrame {
 public:
  virtual ~COptionsFrame() = default;

  // The active document rebuilds its scene from the application's design values.
  virtual void RebuildScene() = 0;
  // The active document applies the element settings again to every run.
  virtual void RefreshAllRuns() = 0;
  virtual void UpdateAllViews() = 0;
  virtual void SetModifiedFlag(bool modified) = 0;
  // The catalogue menu reads the price-list names again.
  virtual void BuildCatalogueMenu() = 0;
};
