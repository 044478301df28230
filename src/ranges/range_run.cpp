#include "ranges/range_run.h"

#include "model/builder/part_builder.h"
#include "model/document/work_notifier.h"
#include "ranges/range_context.h"
#include "ranges/range_pages.h"
#include "ranges/range_table_reader.h"

#include <charconv>

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
  CRangeTableCache& cache = CRangeTableCache::Instance();
  // Filled whole before another thread's run of the set reads it.
  const auto lock = cache.Lock();
  CRangeTablesLease lease = cache.Take(setName);
  if (lease.IsFirst()) {
    if (CRangeTableCache::FillsRefused()) throw CRangeFillRefused(setName);
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

int CRangeRun::GetRating() const {
  const std::string text = GetPropText("Calibre");
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return 0;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  (void)end;
  return error == std::errc{} ? value : 0;
}

char TwoSetLetter(std::string_view variant) {
  return !variant.empty() && variant[0] == 'A' ? 'A' : 'C';
}
