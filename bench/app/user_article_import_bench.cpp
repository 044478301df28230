// Importing a user's price file into an article table of as many articles: each line is
// one look-up by tag and one write, so the time grows with the line count.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/user_article_import.h"
#include "platform/dbf_table.h"

namespace {

// An article table of count articles Q000000.., and a delimited file that prices each.
class BenchArticles {
 public:
  explicit BenchArticles(int count) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tvr-bench-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_folder = std::string(mkdtemp(buffer.data())) + "/";
    tvr::platform::CDbfTable table;
    m_ready = table.Create(m_folder + "ARTICLE.DBU", {{"REFERENCE", 'C', 22, 0},
                                                      {"DESIGN_1", 'C', 40, 0},
                                                      {"PRIX_1", 'N', 12, 2},
                                                      {"LOCAL", 'C', 1, 0}});
    std::ofstream file(m_folder + "prices.txt", std::ios::binary);
    for (int i = 0; i < count; ++i) {
      const std::string reference = "Q" + std::to_string(1000000 + i);
      m_ready = m_ready && table.Append();
      table.Assign(0, reference);
      table.Assign(2, "1");
      file << reference << ";Article " << i << ";" << (i % 9000) << ",5\r\n";
    }
    m_ready = table.Close() && m_ready;
  }
  ~BenchArticles() { std::filesystem::remove_all(m_folder); }
  const std::string& Folder() const { return m_folder; }
  bool Ready() const { return m_ready; }

 private:
  std::string m_folder;
  bool m_ready = false;
};

void BM_DelimitedImport(benchmark::State& state) {
  BenchArticles articles(static_cast<int>(state.range(0)));
  if (!articles.Ready()) {
    state.SkipWithError("the article table could not be written");
    return;
  }
  CUserArticleImport import;
  import.articleFolder = articles.Folder();
  for (auto _ : state) {
    const CUserArticleImportOutcome outcome =
        RunUserArticleImport(import, articles.Folder() + "prices.txt");
    benchmark::DoNotOptimize(outcome.changed);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DelimitedImport)
    ->Arg(6250)
    ->Arg(25000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
