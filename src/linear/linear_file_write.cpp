#include "app/profile.h"
#include "linear/linear_file.h"
#include "platform/archive.h"

namespace {

constexpr std::uint8_t kSignature[13] = {0x05, 0x00, 'T', 'V', 'R',  'L', 'I',
                                         'N',  'E',  'A', 'R', 0x01, 0x00};

void WriteText(CArchiveWriter& out, const std::string& text) { WriteProjectText(out, text); }

void WriteSettings(CArchiveWriter& out, const CLinearPriceSettings& s) {
  WriteText(out, s.listCurrency);
  out.WriteLong(s.priceList < 4 ? s.priceList : 0);
  WriteText(out, s.listTitle);
  for (int i = 0; i < 4; ++i) out.WriteDouble(s.listCoefs[i]);
  for (int i = 0; i < 4; ++i) out.WriteDouble(s.rates[i]);
  for (int p = 0; p < kLinearProductCount; ++p) out.WriteDouble(s.saleCoefs[p][0]);
  for (int i = 0; i < 12; ++i) out.WriteDouble(0.0);
  out.WriteDouble(s.services);
  for (bool on : s.groupsOn) out.WriteLong(on ? 1 : 0);
  for (int i = 0; i < 5; ++i) out.WriteLong(0);
  out.WriteLong(s.priceList);
  for (int i = 4; i < kPriceListCount15; ++i) out.WriteDouble(s.listCoefs[i]);
  out.WriteDouble(-456.456);
}

void WriteLine(CArchiveWriter& out, const CLinearLine& line) {
  WriteText(out, line.Name);
  WriteText(out, line.Comment);
  for (std::int32_t value : {line.Group, line.Product, line.Rating, line.Conductors})
    out.WriteLong(value);
  out.WriteLong(line.SecondVariant == 1 ? line.IpDegree * 10 : line.IpDegree);
  for (int slot = 0; slot < kLinearSlotCount; ++slot)
    if (line.Slots[slot] >= 0) out.WriteLong(slot), out.WriteLong(line.Slots[slot]);
  out.WriteLong(10564);
  for (int c = 0; c < kLinearColumnCount; ++c) {
    for (int item = 0; item < kLinearSlotCount; ++item)
      // Negative results (a column formula may subtract) are kept: the column total
      // counted them, and a value dropped here would read back as 0.
      if (line.ItemValues[c][item] != 0)
        out.WriteLong(item), out.WriteLong(line.ItemValues[c][item]);
    out.WriteLong(10564);
    out.WriteLong(line.ExtraValues[c]);
    out.WriteLong(line.TotalValues[c]);
    out.WriteLong(-458);
  }
  out.WriteLong(-458);
}

}  // namespace

std::vector<std::uint8_t> LinearFileBytes(const CLinearProject& project) {
  CArchiveWriter out;
  out.WriteBytes(kSignature, sizeof kSignature);
  out.WriteLong(kLinearFileFormat);
  out.WriteLong(1);
  for (const std::string& property : project.properties) WriteText(out, property);
  WriteSettings(out, project.settings);
  const int count = project.lines.LineCount();
  out.WriteLong(count);
  for (int i = count - 1; i >= 0; --i) WriteLine(out, project.lines.Line(i));
  out.WriteLong(-456);
  return out.TakeBytes();
}

int SaveLinearFile(const std::string& path, CLinearProject& project, const std::string& today,
                   CProfile* profile) {
  const std::string previous = project.Property("ModificationDate");
  project.SetProperty("ModificationDate", today);
  const int message = WriteProjectFile(path, LinearFileBytes(project));
  if (message != 0) {
    project.SetProperty("ModificationDate", previous);
    // Linear projects have always told every failure to create or write as one.
    return message == kMsgFileNotFound ? kMsgFileNotFound : kMsgFileNoWrite;
  }
  if (profile) UpdateUserJobNumber(*profile, project.Property("NumAff"));
  return 0;
}
