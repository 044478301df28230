#include <QCheckBox>
#include <QLineEdit>

#include <cmath>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "linear/linear_line_list.h"
#include "linear/linear_slots.h"
#include "linear/ui/linear_line_editor.h"

// The checks of the body page and the storing of its values into the working record.

namespace {

constexpr int kMsgFloorStep = 31089;
constexpr int kMsgIp54TooLong = 31107;
constexpr int kMsgRealRange = 8013;
constexpr double kMaxLength = 1000.0;
constexpr double kMaxQyxLength = 75.0;
constexpr double kMaxCount = 1000.0;
constexpr double kMaxStep = 10.0;
constexpr double kMinFloorStep = 2.0;
constexpr double kMaxFloorStep = 4.0;

int ToCentimetres(double metres) { return static_cast<int>(std::lround(metres * 100.0)); }

}  // namespace

int CLinearLineEditor::ValidateBody(QString& problem) {
  const bool qyx = Line().Product == kProductQYX;
  double total = 0.0;
  bool stepOffered = false;
  double step = 0.0;
  double floors = 0.0;
  double ip54 = -1.0;
  for (const BodyRow& row : m_rows) {
    if (row.kind == RowKind::Check) continue;
    bool ok = false;
    double value = FieldNumber(row.slot, ok);
    double maximum = row.kind == RowKind::Step                   ? kMaxStep
                     : row.kind == RowKind::Count                ? kMaxCount
                     : (qyx && (row.slot == 5 || row.slot == 6)) ? kMaxQyxLength
                                                                 : kMaxLength;
    if (!ok || value < 0.0 || value > maximum ||
        (row.kind == RowKind::Count && value != std::floor(value))) {
      // The page has several number fields: the message names the one refused.
      problem = StringQText(row.message) + QStringLiteral("\n") +
                QString::fromStdString(FormatMessageTextSS(
                    kMsgRealRange, "0", std::to_string(static_cast<int>(maximum))));
      row.field->setFocus();
      return kMsgRealRange;
    }
    if (row.slot == 5 || row.slot == 6) total += value;
    if (row.slot == 9) floors = value;
    if (row.kind == RowKind::Step) stepOffered = true, step = value;
    if (row.slot == 14) ip54 = value;
  }
  if (stepOffered && (step < kMinFloorStep || step > kMaxFloorStep)) {
    problem = StringQText(kMsgFloorStep);
    return kMsgFloorStep;
  }
  const double limit = total + floors * step;
  if (ip54 >= 0.0 && ToCentimetres(ip54) > ToCentimetres(limit)) {
    const int centimetres = ToCentimetres(limit);
    QString maximum =
        centimetres % 100 == 0
            ? QStringLiteral("%1 %2 m").arg(StringQText(kMsgIp54TooLong)).arg(centimetres / 100)
            : QStringLiteral("%1 %2%3%4 m")
                  .arg(StringQText(kMsgIp54TooLong))
                  .arg(centimetres / 100)
                  .arg(QLatin1Char(m_decimal))
                  .arg(centimetres % 100, 2, 10, QLatin1Char('0'));
    problem = maximum;
    return kMsgIp54TooLong;
  }
  return 0;
}

void CLinearLineEditor::StoreBody() {
  CLinearLine& line = Line();
  const CLinearConfig::OptionTable table = m_config.LineOptionTable(line);
  int low = Slot28Low(line.Slots[28]);
  int high = Slot28High(line.Slots[28]);
  bool slot28 = false;
  for (const BodyRow& row : m_rows) {
    if (auto* check = qobject_cast<QCheckBox*>(row.field)) {
      if (row.slot == 28) low = check->isChecked() ? 1 : 0, slot28 = true;
      else if (row.slot == kSlot28High) high = check->isChecked() ? 1 : 0, slot28 = true;
      else line.Slots[static_cast<std::size_t>(row.slot)] = check->isChecked() ? 1 : 0;
      continue;
    }
    bool ok = false;
    double value = FieldNumber(row.slot, ok);
    if (row.kind == RowKind::Count)
      line.Slots[static_cast<std::size_t>(row.slot)] = static_cast<int>(value);
    else if (row.kind == RowKind::Step && m_slot24Step)
      line.Slots[24] =
          (line.Slots[24] & ~0xFF00) | ((static_cast<int>(std::lround(value * 10.0)) & 0xFF) << 8);
    else line.Slots[static_cast<std::size_t>(row.slot)] = ToCentimetres(value);
  }
  if (slot28) line.Slots[28] = PackSlot28(low, high);
  for (int s : {11, 12})
    line.Slots[static_cast<std::size_t>(s)] = table[static_cast<std::size_t>(s)] - 1;
  if (line.Slots[15] >= 0) line.Slots[25] = line.Slots[15];
  if (line.Product == kProductQFP && line.Slots[9] >= 0) line.Slots[21] = line.Slots[9];
}
