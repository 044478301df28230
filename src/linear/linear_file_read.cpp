#include <algorithm>
#include <memory>

#include "linear/linear_file.h"
#include "platform/archive.h"

namespace {

using CLinearFileReader = CProjectFileReader;
using FormatError = CProjectFileFormatError;

void ReadProperties(CLinearFileReader& in, CLinearProject& project) {
  for (std::string_view name : kLinearPropertyNames) {
    if (in.Format() <= 400 && (name == "Delai" || name == "Commande")) continue;
    project.SetProperty(name, in.Text());
  }
}

void ReadSettings(CLinearFileReader& in, CLinearPriceSettings& s,
                  const CLinearLoadContext& context) {
  if (in.Format() >= 401) s.listCurrency = in.Text();
  const std::int32_t oldIndex = in.Long();
  s.listTitle = in.Text();
  for (int i = 0; i < 4; ++i) s.listCoefs[i] = in.Double();
  for (int i = 0; i < 4; ++i) s.rates[i] = in.Double();
  for (int i = 4; i < kPriceListCount15; ++i) s.rates[i] = s.rates[3];
  for (int p = 0; p < kLinearProductCount; ++p) s.saleCoefs[p].fill(in.Double());
  for (int i = 0; i < 12; ++i) in.Double();
  s.services = in.Double();
  for (int g = 0; g < 4; ++g) s.groupsOn[g] = in.Long() != 0 && context.groupsAvailable[g];
  std::int32_t fullIndex = 0;
  for (int i = 0; i < 6; ++i) fullIndex = in.Long();
  s.priceList = oldIndex >= 0 && oldIndex < 4 ? oldIndex : 0;
  if (fullIndex >= 4 && fullIndex < kPriceListCount15 && context.priceListTitle &&
      !context.priceListTitle(fullIndex + 1).empty())
    s.priceList = fullIndex;
  const double first = in.Double();
  if (first == -456.456) return;
  s.listCoefs[4] = first;
  for (int i = 5; i < kPriceListCount15; ++i) s.listCoefs[i] = in.Double();
  while (in.Double() != -456.456) {}
}

int DecodeIpDegree(std::int32_t value, std::int32_t& secondVariant) {
  if (value == 19) value = 54;
  if (value == 18) value = 52;
  if (value > 100) {
    // IP 10 of the second variant would be written 100, which reads as IP 100: no save
    // writes 101..109, and a line holding it could not be saved as it reads.
    if (value / 10 * 10 <= 100) throw FormatError();
    secondVariant = 1;
    return value / 10;
  }
  secondVariant = value == 54 ? 1 : 0;
  return value;
}

void ReadValues(CLinearFileReader& in, CLinearLine& line) {
  for (int c = 0; c < kLinearColumnCount; ++c) {
    const bool hundredths = in.Format() == 300 && (c == 1 || c == 2);
    for (std::int32_t item = in.Long(); item != 10564; item = in.Long()) {
      const std::int32_t value = in.Long();
      if (item >= 0 && item < kLinearSlotCount)
        line.ItemValues[c][item] = hundredths ? value / 100 : value;
    }
    line.ExtraValues[c] = in.Long();
    line.TotalValues[c] = in.Long();
    if (hundredths) line.ExtraValues[c] /= 100, line.TotalValues[c] /= 100;
    in.SkipLongsThrough(-458);
  }
  in.SkipLongsThrough(-458);
}

void ReadLine(CLinearFileReader& in, CLinearLine& line) {
  line.Clear();
  line.Name = in.Text();
  if (in.Format() >= 451) line.Comment = in.Text();
  line.Group = in.Long();
  line.Product = in.Long();
  line.Rating = in.Long();
  line.Conductors = in.Long();
  line.IpDegree = DecodeIpDegree(in.Long(), line.SecondVariant);
  // These are indexes of tables: a value outside them is a damaged file.
  if (line.Group < -1 || line.Group > 3 || line.Product < -1 ||
      line.Product >= kLinearProductCount ||
      (line.Conductors != -1 && (line.Conductors < 12 || line.Conductors > 17)))
    throw FormatError();
  for (std::int32_t slot = in.Long(); slot != 10564; slot = in.Long()) {
    const std::int32_t value = in.Long();
    if (slot >= 0 && slot < kLinearSlotCount) line.Slots[slot] = value;
  }
  if (line.Slots[28] < 0) line.Slots[28] = 0;
  ReadValues(in, line);
}

int ReadProject(CArchiveReader& bytes, CLinearProject& project, const CLinearLoadContext& context) {
  bytes.Require(13, "signature");
  if (bytes.ReadByte() != 0x05 || bytes.ReadByte() != 0x00) return kMsgFileFormat;
  bytes.Skip(11);
  const std::int32_t format = bytes.ReadLong();
  if (format < 300 || format > kLinearFileFormat) return kMsgFileFormat;
  bool wide = false;
  if (format == kLinearFileFormat) {
    const std::int32_t flag = bytes.ReadLong();
    if (flag != 0 && flag != 1) return kMsgFileFormat;
    wide = flag == 1;
  }
  CLinearFileReader in(bytes, format, wide);
  ReadProperties(in, project);
  ReadSettings(in, project.settings, context);
  const int count = std::clamp(in.Long(), 0, kLinearMaxLines);
  project.lines.SetLineCount(count);
  for (int i = count - 1; i >= 0; --i) ReadLine(in, project.lines.Line(i));
  in.SkipLongsThrough(-456);
  return 0;
}

}  // namespace

int ReadLinearFileBytes(const std::vector<std::uint8_t>& bytes, CLinearProject& project,
                        const CLinearLoadContext& context) {
  return ReadProjectBytes(
      bytes, project, std::make_unique<CLinearProject>(),
      [&](CArchiveReader& in, CLinearProject& loaded) { return ReadProject(in, loaded, context); });
}

int LoadLinearFile(const std::string& path, CLinearProject& project,
                   const CLinearLoadContext& context) {
  std::vector<std::uint8_t> bytes;
  if (const int message = ReadProjectFile(path, bytes)) return message;
  return ReadLinearFileBytes(bytes, project, context);
}
