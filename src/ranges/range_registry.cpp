#include "ranges/range_registry.h"

#include "model/run_factory.h"
#include "ranges/qd/run_qd.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/qm/run_qm.h"
#include "ranges/qp/run_qp.h"
#include "ranges/qw/run_qw.h"

namespace {

template <typename Run>
CRunFactory::Maker MakerWithVariant() {
  return [](std::string_view variant, CRunDocument* document) -> std::unique_ptr<CRun> {
    return std::make_unique<Run>(variant, document);
  };
}

}  // namespace

void RegisterRangeRuns() {
  CRunFactory& factory = CRunFactory::Instance();
  factory.Register("QD", MakerWithVariant<CRunQD>());
  factory.Register("QG", MakerWithVariant<CRunQG>());
  factory.Register("QP", MakerWithVariant<CRunQP>());
  factory.Register("QM", MakerWithVariant<CRunQM>());
  factory.Register("QW", MakerWithVariant<CRunQW>());
  // "QJF" is the range's only code; any other "QJ" code stays a generic run.
  factory.Register("QJ", [](std::string_view variant, CRunDocument* document) -> std::unique_ptr<CRun> {
    if (variant != "F") return std::make_unique<CRun>(document);
    return std::make_unique<CRunQJF>(document);
  });
}
