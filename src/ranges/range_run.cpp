#include "ranges/range_run.h"

#include "model/part_builder.h"
#include "model/work_notifier.h"
#include "ranges/range_context.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

int CRangeRun::RebuildParts(int level) {
  // Without its builder the range would lose every reference of the run: nothing is
  // touched and the user is told why.
  if (!HasPartBuilder()) {
    ShowWorkMessage(kMsgNoPartBuilder);
    return 0;
  }
  PrepareRebuild();
  CRun::RebuildParts(-1);
  SetPartBuilder(CreatePartBuilder());
  return CRun::RebuildParts(level);
}

void CRangeRun::SetRangePages(std::initializer_list<int> runPages,
                              std::initializer_list<int> elementPages) {
  std::vector<int> pages = GetPages();
  pages.resize(std::min<std::size_t>(pages.size(), 2));
  pages.insert(pages.end(), runPages.begin(), runPages.end());
  SetPages(std::move(pages));
  int slot = kFirstRangeElementSlot;
  for (int page : elementPages) SetElementPage(slot++, page);
}

void CRangeRun::AttachCacheSet(
    std::string_view setName,
    const std::function<void(CRangeTables&, const CRangeTableReader&)>& fill) {
  CRangeTablesLease lease = CRangeTableCache::Instance().Take(setName);
  if (lease.IsFirst()) {
    const CRangeTableReader reader(GetPropText("Catalog"), CRangeContext::Instance());
    fill(*lease.Tables(), reader);
  }
  AttachRangeTables(std::move(lease));
}

void CRangeRun::FinishLoad(std::initializer_list<std::pair<const char*, const char*>> defaults) {
  for (const auto& [name, value] : defaults) SetProp(name, value);
  SetPartsState(0);
  SetRangeLoaded();
}

char TwoSetLetter(std::string_view variant) {
  return !variant.empty() && variant[0] == 'A' ? 'A' : 'C';
}
