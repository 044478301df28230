#include "app/ui/costing_window_makers.h"

namespace {

CCostingWindowMaker& LinearMaker() {
  static CCostingWindowMaker maker;
  return maker;
}

CCostingWindowMaker& ReferenceMaker() {
  static CCostingWindowMaker maker;
  return maker;
}

}  // namespace

void RegisterLinearWindowMaker(CCostingWindowMaker maker) { LinearMaker() = std::move(maker); }

const CCostingWindowMaker& LinearWindowMaker() { return LinearMaker(); }

void RegisterReferenceWindowMaker(CCostingWindowMaker maker) {
  ReferenceMaker() = std::move(maker);
}

const CCostingWindowMaker& ReferenceWindowMaker() { return ReferenceMaker(); }
