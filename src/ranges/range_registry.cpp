#include "ranges/range_registry.h"

#include "model/run/run_factory.h"
#include "ranges/qd/qd_rules.h"
#include "ranges/qd/run_qd.h"
#include "ranges/qg/qg_rules.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/qm/qm_rules.h"
#include "ranges/qm/run_qm.h"
#include "ranges/qp/qp_rules.h"
#include "ranges/qp/run_qp.h"
#include "ranges/qw/qw_rules.h"
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
  static const CQDRules qdRules;
  static const CQGRules qgRules;
  static const CQMRules qmRules;
  static const CQPRules qpRules;
  static const CQWRules qwRules;
  factory.SetRules("QD", &qdRules);
  factory.SetRules("QG", &qgRules);
  factory.SetRules("QM", &qmRules);
  factory.SetRules("QP", &qpRules);
  factory.SetRules("QW", &qwRules);
  // "QJF" is the range's only code; any other "QJ" code stays a generic run.
  factory.Register("QJ",
                   [](std::string_view variant, CRunDocument* document) -> std::unique_ptr<CRun> {
                     if (variant != "F") return std::make_unique<CRun>(document);
                     return std::make_unique<CRunQJF>(document);
                   });
}
