// Opening an article table of 100,000 records with its reference tag, reading every
// field of every record, and seeking every reference.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/db_field.h"
#include "platform/dbf_table.h"

namespace {

using tvr::platform::CDbfTable;

constexpr int kRecords = 100000;

std::string Reference(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "QD%c%07dX", 'A' + i % 7, (i * 7919) % 1000003);
  return text;
}

// The table, written once per run into a temporary folder.
class ArticleTable {
 public:
  ArticleTable() {
    m_folder = (std::filesystem::temp_directory_path() / ("tvr-bench-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(m_folder);
    m_path = m_folder + "/ARTICLE.DBU";
    CDbfTable table;
    table.Create(m_path, {{"REFERENCE", 'C', 20, 0}, {"DESIGN_1", 'C', 40, 0}, {"DESIGN_2", 'C', 40, 0},
                          {"PRIX_1", 'N', 12, 2},     {"PRIX_2", 'N', 12, 2},   {"PRIX_3", 'N', 12, 2},
                          {"PRIX_4", 'N', 12, 2},     {"MASSE", 'N', 10, 3},    {"TEMPS", 'N', 8, 2},
                          {"LOCAL", 'C', 1, 0}});
    for (int i = 0; i < kRecords; ++i) {
      table.Append();
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

const ArticleTable& Articles() {
  static const ArticleTable table;
  return table;
}

void OpenWithTag(CDbfTable& table) {
  table.Open(Articles().Path());
  table.AddTag("TAG_REF", "REFERENCE");
  table.SelectTag("TAG_REF");
}

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
      for (int field = 0; field < table.FieldCount(); ++field) total += table.FieldText(field).size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond);

void BM_SeekEveryReference(benchmark::State& state) {
  CDbfTable table;
  OpenWithTag(table);
  table.First();
  const std::vector<std::string>& references = Articles().References();
  for (auto _ : state) {
    int hits = 0;
    for (const std::string& reference : references) hits += table.Seek(reference) == CDbfTable::kSeekHit;
    if (hits != kRecords) state.SkipWithError("a reference was not found");
    benchmark::DoNotOptimize(hits);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_SeekEveryReference)->Unit(benchmark::kMillisecond);

}  // namespace
