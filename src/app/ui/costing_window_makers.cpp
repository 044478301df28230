#include "app/ui/costing_window_makers.h"

namespace {

CCostingWindowMaker& LinearMaker() {
  static CCostingWindowMaker maker;
  return maker;
}

}  // namespace

void RegisterLinearWindowMaker(CCostingWindowMaker maker) { LinearMaker() = std::move(maker); }

const CCostingWindowMaker& LinearWindowMaker() { return LinearMaker(); }
