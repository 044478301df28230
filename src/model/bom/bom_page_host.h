#pragma once

#include <vector>

class CBOMGrid;

// The bill-of-materials view as its pages see it: one page per run and a total page
// (page 0). The view implements it and sets itself on each page it shows.
class CBOMPageHost {
 public:
  virtual ~CBOMPageHost() = default;

  // The totals of the view: compute 1 rebuilds the total page and recomputes, 0 marks
  // them stale (quiet 1: nothing when they already are).
  virtual void RecomputeTotals(int compute, int quiet) = 0;
  // The first page of the view's page list; null when it has none.
  virtual CBOMGrid* GetFirstPage() const = 0;
  // Every page, the total page first.
  virtual std::vector<CBOMGrid*> GetPages() const { return {}; }
};
