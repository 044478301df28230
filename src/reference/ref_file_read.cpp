#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/archive.h"
#include "reference/ref_file.h"

// Older files differ from what is written today by format number: 511 brought wide
// texts, 451 comments and wide protection codes, 452 prices in ten-thousandths, 460 full
// sections, 461 a sixth and 520 a seventh setting group, 522 two hundred slots.

namespace {

constexpr std::array<int, 10> kSectionOrder = {0, 2, 5, 6, 7, 3, 4, 1, 8, 9};
constexpr int kMaxLines = CRefProject::kLineCount - 1;
constexpr std::uint64_t kSmallestItemBytes = 16 + 2;  // four longs and two empty 8-bit texts

void ReadProperties(CProjectFileReader& in, CRefProject& project) {
  for (std::string_view name : kLinearPropertyNames) {
    const bool absent = name == "Delai" || name == "Commande" || name == "Livraison";
    project.SetProperty(name, absent && in.Format() <= 400 ? std::string() : in.Text());
  }
}

int SettingGroups(int format) { return format >= 520 ? 7 : format >= 461 ? 6 : 5; }

// A coefficient the panel could not have given is damage: the default 1 holds, as for
// the coefficients of the settings.
double StoredCoefficient(double value) { return IsUsableRefCoefficient(value) ? value : 1.0; }

void ReadPriceSettings(CProjectFileReader& in, CRefProject& project,
                       const CRefLoadContext& context) {
  CRefPriceSettings& s = project.priceSettings;
  s.currency = in.Text();
  if (in.Format() == 400) s.currency.clear();
  const std::int32_t index = in.Long();
  s.priceList = index >= 0 && index < 4 ? index : 0;
  s.listName = in.Text();
  project.labourRate = in.Long();
  const int groups = SettingGroups(in.Format());
  for (int kind = 0; kind < groups; ++kind)
    for (int i = 0; i < 4; ++i) s.productCoefs[kind][i] = StoredCoefficient(in.Double());
  // QPC's coefficient rides in QPA's group and Qpa's in Qpc's; a file without Qpc's
  // group keeps Qpa's coefficient as it is.
  auto carried = [&](int group) {
    const auto& values = s.productCoefs[group];
    return values[1] > 0.0 ? values[1] : values[0];
  };
  s.productCoefs[8][0] = carried(4);
  if (groups > 5) s.productCoefs[7][0] = carried(5);
  in.Long();  // the display flags belong to the settings of the program, not the project
  const std::int32_t extended = in.Long();
  if (extended >= 4 && extended < 15 && context.priceListTitle &&
      !context.priceListTitle(extended + 1).empty())
    s.priceList = extended;
}

void ReadSections(CProjectFileReader& in, CRefLine& line) {
  const bool full = in.Format() >= 460;
  const std::int32_t count = in.Long();
  if (count < 0) throw CProjectFileFormatError();
  in.Bytes().RequireCount(static_cast<std::uint64_t>(count), full ? 40 : 20, "sections");
  line.sections.assign(static_cast<std::size_t>(count), CRefLineSection());
  for (auto section = line.sections.rbegin(); section != line.sections.rend(); ++section) {
    section->values = {0, 0, 0, 1, 2, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < (full ? 10u : 5u); ++i)
      section->values[kSectionOrder[i]] = in.Long();
  }
}

void ReadComponents(CProjectFileReader& in, CRefLine& line) {
  for (std::int32_t& value : line.components) value = in.Long();
  for (int i = 0; i < 5; ++i) in.Long();
  auto& c = line.components;
  if (line.productKind == 2 && in.Format() <= 451) c[12] = c[10], c[10] = 0;
  if (line.productKind == 0 && in.Format() <= 520) {
    c[5] = c[3], c[8] = c[4];
    c[3] = c[4] = 0;
  }
}

void ReadSlots(CProjectFileReader& in, CRefLine& line) {
  const int count = in.Format() >= 522 ? CRefLine::kSlotCount : 100;
  for (int slot = 0; slot < count; ++slot) {
    std::int32_t value = in.Long();
    // The protection code moved from bits 10-15 to bits 16-21.
    if (in.Format() < 451) value = ((value & 0xFC00) << 6) | (value & 0x3FF);
    // A value with bits beyond the units and the protection code (a negative one among
    // them) is no slot that any program wrote: the slot is taken as empty.
    line.slots[slot] = (value & ~CRefLine::kSlotBits) == 0 ? value : 0;
  }
}

// Files before 520 kept the quantities of all identical lines together.
void DivideByLineQuantity(CRefLine& line) {
  const int q = line.lineQuantity;
  for (std::int32_t& value : line.components)
    if (value > 0) value /= q;
  for (std::int32_t& slot : line.slots) {
    const int units = CRefLine::SlotUnits(slot);
    if (units != 0) slot = (slot & ~0xFFFF) | (units / q);
  }
}

void ReadItems(CProjectFileReader& in, CRefLine& line) {
  const std::int32_t count = in.Long();
  if (count < 0) throw CProjectFileFormatError();
  in.Bytes().RequireCount(static_cast<std::uint64_t>(count), kSmallestItemBytes, "items");
  std::vector<CRefItemNode> items(static_cast<std::size_t>(count));
  for (CRefItemNode& item : items) {
    item.reference = in.Text();
    item.designation = in.Text();
    const std::int64_t price = in.Long();
    // Prices were kept in hundredths of the currency unit.
    item.unitPrice = static_cast<std::int32_t>(
        in.Format() < 452 ? std::clamp<std::int64_t>(price * 100, INT32_MIN, INT32_MAX) : price);
    item.quantity = in.Long();
    item.labour = in.Long();
    item.kind = in.Long();
  }
  line.AddItemNodes(items);
}

void ReadLine(CProjectFileReader& in, CRefLine& line) {
  line.Assign(nullptr);
  line.name = in.Text();
  if (in.Format() >= 451) line.comment = in.Text();
  line.group = in.Long();
  line.productKind = in.Long();
  line.rating = in.Long();
  const std::uint32_t conductorWord = static_cast<std::uint32_t>(in.Long());
  line.conductors = static_cast<std::int16_t>(conductorWord & 0xFFFFu);
  line.extraCode = static_cast<std::int16_t>(conductorWord >> 16);
  line.connection = in.Long();
  line.fixingSpacing = in.Long();
  line.length = in.Long();
  line.lineQuantity = in.Long();
  line.count = in.Long();
  line.lineMode = in.Long();
  if ((line.productKind == 1 || line.productKind == 2) &&
      (line.connection == 1 || line.connection == 3))
    --line.connection;
  ReadSections(in, line);
  ReadComponents(in, line);
  ReadSlots(in, line);
  if (in.Format() < 520 && line.lineQuantity > 1) DivideByLineQuantity(line);
  ReadItems(in, line);
}

int ReadProject(CArchiveReader& bytes, CRefProject& project, const CRefLoadContext& context) {
  bytes.Require(14, "signature");
  if (bytes.ReadByte() != 0x05 || bytes.ReadByte() != 0x00) return kMsgFileFormat;
  bytes.Skip(8);
  const std::int32_t format = bytes.ReadLong();
  if (format < kRefFileOldestFormat || format > kRefFileFormatAllSlots) return kMsgFileFormat;
  bool wide = false;
  if (format >= 511) {
    const std::int32_t encoding = bytes.ReadLong();
    if (encoding != 0 && encoding != 1) return kMsgFileFormat;
    wide = encoding == 1;
  }
  CProjectFileReader in(bytes, format, wide);
  ReadProperties(in, project);
  ReadPriceSettings(in, project, context);
  project.lineCount = std::clamp(in.Long(), 0, kMaxLines);
  for (int i = project.lineCount; i >= 1; --i) ReadLine(in, project.lines[i]);
  return 0;
}

}  // namespace

int ReadRefFileBytes(const std::vector<std::uint8_t>& bytes, CRefProject& project,
                     const CRefLoadContext& context) {
  // What the file does not hold stays as the program has it.
  auto loaded = std::make_unique<CRefProject>();
  loaded->priceSettings = project.priceSettings;
  return ReadProjectBytes(
      bytes, project, std::move(loaded),
      [&](CArchiveReader& in, CRefProject& into) { return ReadProject(in, into, context); });
}

int LoadRefFile(const std::string& path, CRefProject& project, const CRefLoadContext& context) {
  std::vector<std::uint8_t> bytes;
  if (const int message = ReadProjectFile(path, bytes)) return message;
  return ReadRefFileBytes(bytes, project, context);
}
