#include "model/bom/ref_quantity_batch.h"

#include "model/bom/bom_grid.h"
#include "model/run/run.h"

CRefQuantityBatch::CRefQuantityBatch(CRun& run) : m_run(run), m_outer(run.m_refQuantities) {
  if (m_outer == nullptr) run.m_refQuantities = this;
}

CRefQuantityBatch::~CRefQuantityBatch() {
  if (m_outer != nullptr) return;
  m_run.m_refQuantities = nullptr;
  const CBOMGrid& bom = m_run.GetBOM();
  // The line's quantity now, not the one last asked: a line may have lost a booking
  // since, without a word to the run, as it does outside a batch.
  for (const std::string& reference : m_references)
    m_run.SetRefQuantity(reference, bom.GetLineQuantity(bom.FindLine(reference)));
}

void CRefQuantityBatch::Add(std::string_view reference) {
  if (m_seen.emplace(reference).second) m_references.emplace_back(reference);
}
