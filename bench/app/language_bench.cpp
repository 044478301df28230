// Loading a language file and looking texts up: the loader parses a file once per run
// and answers look-ups from a hash, so look-ups must not grow with the file.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/current_language.h"
#include "app/language_mapping.h"
#include "app/message_text.h"

namespace {

// A catalogue folder with a language file of that many messages.
class BenchLanguage {
 public:
  explicit BenchLanguage(int messages) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tvr-bench-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_folder = std::string(mkdtemp(buffer.data())) + "/";
    std::ofstream file(m_folder + "TVR_044.TXT", std::ios::binary);
    file << "[LANG]\r\nCHARS=LATIN\r\n00000=Bench\r\n[MSG]\r\n";
    for (int number = 1; number <= messages; ++number)
      file << number << "=Text of message " << number << " for %APP\r\n";
    CCurrentLanguage::Instance().Reset();
    CLanguageSetup setup;
    setup.catalogueFolder = m_folder;
    CCurrentLanguage::Instance().SetSetup(setup);
  }
  ~BenchLanguage() {
    CCurrentLanguage::Instance().Reset();
    std::filesystem::remove_all(m_folder);
  }

 private:
  std::string m_folder;
};

void BM_LoadLanguage(benchmark::State& state) {
  const BenchLanguage language(static_cast<int>(state.range(0)));
  const CLanguageSetup setup = CCurrentLanguage::Instance().Setup();
  for (auto _ : state) {
    CCurrentLanguage::Instance().Reset();  // forget the parsed file: read it again
    CCurrentLanguage::Instance().SetSetup(setup);
    CLanguageMapping mapping;
    mapping.LoadLanguage("044");
    benchmark::DoNotOptimize(mapping);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LookupText(benchmark::State& state) {
  const int messages = static_cast<int>(state.range(0));
  const BenchLanguage language(messages);
  CCurrentLanguage::Instance().LoadLanguage("044");
  int number = 0;
  for (auto _ : state) {
    number = number % messages + 1;
    benchmark::DoNotOptimize(LookupText(number));
  }
}

}  // namespace

BENCHMARK(BM_LoadLanguage)->Arg(1000)->Arg(10000);
BENCHMARK(BM_LookupText)->Arg(1000)->Arg(100000);
