// Texts through the stored form and the conversions alone, on ASCII text with an
// accented letter here and there.
#include "platform/archive.h"
#include "platform/text_encoding.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string SampleText(std::size_t length) {
  std::string text;
  while (text.size() < length) text += "Busbar QJF 630A \xC3\xA9l\xC3\xA9ment ";
  text.resize(length);
  return text;
}

void BM_WriteStrings(benchmark::State& state) {
  const std::string text = SampleText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    CArchiveWriter writer;
    for (int i = 0; i < 1000; ++i) writer.WriteString(text);
    benchmark::DoNotOptimize(writer.Bytes().data());
  }
  state.SetBytesProcessed(state.iterations() * 1000 * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_WriteStrings)->Arg(8)->Arg(64)->Arg(4096);

void BM_ReadStrings(benchmark::State& state) {
  const std::string text = SampleText(static_cast<std::size_t>(state.range(0)));
  CArchiveWriter writer;
  for (int i = 0; i < 1000; ++i) writer.WriteString(text);
  const std::vector<std::uint8_t> bytes = writer.TakeBytes();
  for (auto _ : state) {
    CArchiveReader reader(bytes);
    for (int i = 0; i < 1000; ++i) benchmark::DoNotOptimize(reader.ReadString());
  }
  state.SetBytesProcessed(state.iterations() * 1000 * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadStrings)->Arg(8)->Arg(64)->Arg(4096);

void BM_Utf8ToUtf16(benchmark::State& state) {
  const std::string text = SampleText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tvr::platform::Utf8ToUtf16(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToUtf16)->Arg(64)->Arg(4096);

void BM_Utf16ToUtf8(benchmark::State& state) {
  const std::u16string units =
      tvr::platform::Utf8ToUtf16(SampleText(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(tvr::platform::Utf16ToUtf8(units));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(units.size()));
}
BENCHMARK(BM_Utf16ToUtf8)->Arg(64)->Arg(4096);

}  // namespace
