// Opening an article table of 100,000 records with its reference tag, reading every
// field of every record, and seeking every reference; beside them, reading the same file
// as `cat` does (the physical limit of an open), and the index build and seeks again at
// 1,000,000 records (the cost per record should not grow with the table).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db_field.h"
#include "platform/dbf_table.h"

namespace {

using tvr::platform::CDbfTable;

constexpr int kRecords = 100000;
constexpr int kLargeRecords = 1000000;

std::string Reference(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "QD%c%07dX", 'A' + i % 7, (i * 7919) % 1000003);
  return text;
}

// The table, written once per run into a temporary folder.
class ArticleTable {
 public:
  explicit ArticleTable(int records) {
    m_folder = (std::filesystem::temp_directory_path() /
                ("tvr-bench-" + std::to_string(::getpid()) + "-" + std::to_string(records)))
                   .string();
    std::filesystem::create_directories(m_folder);
    m_path = m_folder + "/ARTICLE.DBU";
    CDbfTable table;
    const bool created = table.Create(m_path, {{"REFERENCE", 'C', 20, 0},
                                               {"DESIGN_1", 'C', 40, 0},
                                               {"DESIGN_2", 'C', 40, 0},
                                               {"PRIX_1", 'N', 12, 2},
                                               {"PRIX_2", 'N', 12, 2},
                                               {"PRIX_3", 'N', 12, 2},
                                               {"PRIX_4", 'N', 12, 2},
                                               {"MASSE", 'N', 10, 3},
                                               {"TEMPS", 'N', 8, 2},
                                               {"LOCAL", 'C', 1, 0}});
    if (!created) throw std::runtime_error(table.Error());
    for (int i = 0; i < records; ++i) {
      if (!table.Append()) throw std::runtime_error(table.Error());
      m_references.push_back(Reference(i));
      table.Assign(0, m_references.back());
      table.Assign(1, "Élément droit de gaine " + std::to_string(i));
      table.Assign(2, "Straight busbar length " + std::to_string(i));
      for (int price = 3; price <= 6; ++price) table.AssignNumber(price, i * 0.01 * price);
      table.AssignNumber(7, i * 0.125);
      table.AssignNumber(8, i % 500 * 0.25);
      table.Assign(9, i % 3 == 0 ? "3" : "C");
    }
    table.Close();
  }
  ~ArticleTable() {
    std::error_code error;
    std::filesystem::remove_all(m_folder, error);
  }
  const std::string& Path() const { return m_path; }
  const std::vector<std::string>& References() const { return m_references; }

 private:
  std::string m_folder;
  std::string m_path;
  std::vector<std::string> m_references;
};

// One table of each size, written on first use.
const ArticleTable& Articles(int records = kRecords) {
  static std::map<int, std::unique_ptr<ArticleTable>> tables;
  std::unique_ptr<ArticleTable>& table = tables[records];
  if (!table) table = std::make_unique<ArticleTable>(records);
  return *table;
}

void OpenWithTag(CDbfTable& table, int records = kRecords) {
  table.Open(Articles(records).Path());
  table.AddTag("TAG_REF", "REFERENCE");
  table.SelectTag("TAG_REF");
}

// The peer: the file read through a 128 KiB buffer, as `cat` does.
void BM_CatFile(benchmark::State& state) {
  const std::string& path = Articles().Path();
  std::vector<char> buffer(128 * 1024);
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t total = 0;
    for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
      total += static_cast<std::size_t>(got);
    ::close(fd);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_CatFile)->Unit(benchmark::kMillisecond);

// Opening alone: the header is read and checked, the records are left in the file.
void BM_Open(benchmark::State& state) {
  Articles();
  for (auto _ : state) {
    CDbfTable table;
    table.Open(Articles().Path());
    benchmark::DoNotOptimize(table.RecordCount());
  }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_OpenWithTag(benchmark::State& state) {
  Articles();
  for (auto _ : state) {
    CDbfTable table;
    OpenWithTag(table);
    table.First();  // the tag is built on first use
    benchmark::DoNotOptimize(table.RecNo());
  }
}
BENCHMARK(BM_OpenWithTag)->Unit(benchmark::kMillisecond);

void BM_FullScan(benchmark::State& state) {
  CDbfTable table;
  table.Open(Articles().Path());
  for (auto _ : state) {
    std::size_t total = 0;
    for (bool on = table.First(); on; on = table.Next()) {
      for (int field = 0; field < table.FieldCount(); ++field)
        total += table.FieldText(field).size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond);

// The index alone, on an open table, per record.
void BM_BuildIndex(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  CDbfTable table;
  for (auto _ : state) {
    state.PauseTiming();  // neither closing nor opening is the index's cost
    table.Open(Articles(records).Path());
    state.ResumeTiming();
    table.AddTag("TAG_REF", "REFERENCE");
    table.SelectTag("TAG_REF");
    table.First();  // the tag is built on first use
    benchmark::DoNotOptimize(table.RecNo());
  }
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_BuildIndex)->Arg(kRecords)->Arg(kLargeRecords)->Unit(benchmark::kMillisecond);

void BM_SeekEveryReference(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  CDbfTable table;
  OpenWithTag(table, records);
  table.First();
  const std::vector<std::string>& references = Articles(records).References();
  for (auto _ : state) {
    int hits = 0;
    for (const std::string& reference : references)
      hits += table.Seek(reference) == CDbfTable::kSeekHit;
    if (hits != records) state.SkipWithError("a reference was not found");
    benchmark::DoNotOptimize(hits);
  }
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_SeekEveryReference)->Arg(kRecords)->Arg(kLargeRecords)->Unit(benchmark::kMillisecond);

}  // namespace
