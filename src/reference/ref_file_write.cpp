#include "app/profile.h"
#include "platform/debug_trace.h"
#include "platform/text_conversions.h"
#include "platform/archive.h"
#include "reference/ref_file.h"

namespace {

// 05 00 is what readers look at; the rest only names the kind of file.
constexpr std::uint8_t kSignature[10] = {0x05, 0x00, 'T', 'V', 'R', 'R', 'E', 'F', 0x01, 0x00};
constexpr int kSettingGroups = 7;
constexpr int kOldSlotCount = 100;
// The order in which a section's ten values are stored.
constexpr std::array<int, 10> kSectionOrder = {0, 2, 5, 6, 7, 3, 4, 1, 8, 9};

void WritePriceSettings(CArchiveWriter& out, const CRefProject& project) {
  const CRefPriceSettings& s = project.priceSettings;
  WriteProjectText(out, s.currency);
  out.WriteLong(s.priceList < 4 ? s.priceList : 0);
  WriteProjectText(out, s.listName);
  out.WriteLong(project.labourRate);
  for (int kind = 0; kind < kSettingGroups; ++kind) {
    std::array<double, 4> group;
    std::copy_n(s.productCoefs[kind].begin(), group.size(), group.begin());
    // QPC and Qpa have no group of their own: their coefficients ride in those of QPA
    // and Qpc.
    if (kind == 4) group[1] = s.productCoefs[8][0];
    if (kind == 5) group[1] = s.productCoefs[7][0];
    for (double value : group) out.WriteDouble(value);
  }
  out.WriteLong(s.displayFlags);
  out.WriteLong(s.priceList >= 4 ? s.priceList : s.designColumn);
}

void WriteLine(CArchiveWriter& out, const CRefLine& line, int slotCount) {
  WriteProjectText(out, line.name);
  WriteProjectText(out, line.comment);
  // The extra code rides in the high half of the conductor word; the conductor code
  // keeps only its low half, so that an unset code (-1) does not spill into it.
  const std::uint32_t conductorWord = (static_cast<std::uint32_t>(line.extraCode) << 16) |
                                      (static_cast<std::uint32_t>(line.conductors) & 0xFFFFu);
  for (std::int32_t value :
       {line.group, line.productKind, line.rating, static_cast<std::int32_t>(conductorWord),
        line.connection, line.fixingSpacing, line.length, line.lineQuantity, line.count,
        line.lineMode})
    out.WriteLong(value);
  out.WriteLong(static_cast<std::int32_t>(line.sections.size()));
  for (auto section = line.sections.rbegin(); section != line.sections.rend(); ++section)
    for (int value : kSectionOrder) out.WriteLong(section->values[value]);
  for (std::int32_t value : line.components) out.WriteLong(value);
  for (int i = 0; i < 5; ++i) out.WriteLong(0);
  for (int slot = 0; slot < slotCount; ++slot) out.WriteLong(line.slots[slot]);
  out.WriteLong(static_cast<std::int32_t>(line.Items().size()));
  for (const CRefItemNode& item : line.Items()) {
    WriteProjectText(out, item.reference);
    WriteProjectText(out, item.designation);
    for (std::int32_t value : {item.unitPrice, item.quantity, item.labour, item.kind})
      out.WriteLong(value);
  }
}

// The settings' job number follows the highest one saved, compared as integers (a
// missing one counts as 0).
void RaiseUserJobNumber(CProfile& profile, const std::string& numAff) {
  if (numAff.empty() || TextToInt(numAff) <= profile.ReadProfileInt("User", "NumAff", 0)) return;
  // The project itself is saved; only the job-number hint of the next one is missed.
  if (!profile.WriteProfileText("User", "NumAff", numAff))
    DebugTrace("job number: " + profile.Path() + " could not be written");
}

int LineCount(const CRefProject& project) {
  return std::clamp(project.lineCount, 0, CRefProject::kLineCount - 1);
}

}  // namespace

std::int32_t RefFileFormat(const CRefProject& project) {
  for (int i = LineCount(project); i >= 1; --i) {
    const auto& slots = project.lines[i].slots;
    for (int slot = kOldSlotCount; slot < CRefLine::kSlotCount; ++slot)
      if (slots[slot] != 0) return kRefFileFormatAllSlots;
  }
  return kRefFileFormat;
}

std::vector<std::uint8_t> RefFileBytes(const CRefProject& project) {
  const std::int32_t format = RefFileFormat(project);
  const int slotCount = format >= 522 ? CRefLine::kSlotCount : kOldSlotCount;
  CArchiveWriter out;
  out.WriteBytes(kSignature, sizeof kSignature);
  out.WriteLong(format);
  out.WriteLong(1);
  for (const std::string& property : project.properties) WriteProjectText(out, property);
  WritePriceSettings(out, project);
  const int count = LineCount(project);
  out.WriteLong(count);
  for (int i = count; i >= 1; --i) WriteLine(out, project.lines[i], slotCount);
  return out.TakeBytes();
}

int SaveRefFile(const std::string& path, CRefProject& project, const std::string& today,
                CProfile* profile) {
  const std::string previous = project.Property("ModificationDate");
  project.SetProperty("ModificationDate", today);
  if (const int message = WriteProjectFile(path, RefFileBytes(project))) {
    project.SetProperty("ModificationDate", previous);
    return message;
  }
  if (profile) RaiseUserJobNumber(*profile, project.Property("NumAff"));
  return 0;
}
