#include "shell/ui/costing_window_makers.h"

#include "linear/ui/linear_environment.h"
#include "linear/ui/linear_wnd.h"
#include "reference/ui/ref_environment.h"
#include "reference/ui/ref_wnd.h"

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

void RegisterCostingWindows() {
  RegisterLinearWindowMaker([](const CCostingWindowContext& context) -> CCostingWindow* {
    return new CLinearWnd(
        CLinearEnvironment::FromApp(*context.app, *context.dialogs, context.opened));
  });
  RegisterReferenceWindowMaker([](const CCostingWindowContext& context) -> CCostingWindow* {
    return new CRefWnd(CRefEnvironment::FromApp(*context.app, *context.dialogs, context.opened));
  });
}
