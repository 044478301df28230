// The rating tables of the choice panel: groups, types and the rows of catalogue
// positions with their units.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/typed_field.h"
#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_ok_cancel.h"
#include "reference/ui/ref_rating_panel.h"

namespace {

constexpr int kRows = 10;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void CRefRatingPanel::BuildRatings() {
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  const CRefLine& line = m_context.Line();
  m_setup.productKind = line.lineMode == 3 ? 9 : line.productKind;
  m_setup.lineMode = line.lineMode;
  m_setup.kind = m_kind;
  m_setup.specialMode = m_context.Config().SpecialMode();
  int family = 0;
  const std::uint32_t title =
      GetRatingCaptionId(m_setup.productKind, m_kind - 19, family, m_setup.specialMode);
  m_setup.family = family;
  QString caption = StringQText(static_cast<int>(title & 0xFFFF));
  if ((title >> 16) != 0)
    caption += QStringLiteral(": ") + StringQText(static_cast<int>(title >> 16));
  SetRefDialogTitle(this, caption);
  m_caption = new QLabel(StringQText(static_cast<int>(title & 0xFFFF)));
  m_caption->setObjectName(QStringLiteral("ref_rating_caption"));
  m_groups = new QComboBox;
  m_groups->setObjectName(QStringLiteral("ref_rating_group"));
  m_types = new QComboBox;
  m_types->setObjectName(QStringLiteral("ref_rating_type"));
  layout->addWidget(m_caption);
  layout->addWidget(m_groups);
  auto* typeRow = new QHBoxLayout;
  typeRow->addWidget(m_types, 3);
  if (RefRatingTypeListNarrow(family)) typeRow->addStretch(1);
  layout->addLayout(typeRow);
  m_note = new QLabel;
  m_note->setObjectName(QStringLiteral("ref_rating_note"));
  m_note->hide();
  layout->addWidget(m_note);
  BuildRowGrid();
  layout->addLayout(m_rowGrid);
  if (m_table == nullptr || !m_table->IsLoaded()) {
    m_ready = false;
    return;
  }
  m_entries = RefLoadRatingEntries(*m_table, line, m_setup);
  const std::vector<int> table = m_context.GetChoiceTable(1);
  const bool onlyFirst = (m_kind == 21 || m_kind == 22) && table.size() > 48 && table[48] < 0;
  std::vector<int> groups;
  for (const CRatingEntry& entry : m_entries) {
    if (entry.group == 0 && groups.empty()) break;
    if (entry.group < 1 || entry.group > 9 || (onlyFirst && entry.group != 1)) continue;
    if (std::find(groups.begin(), groups.end(), entry.group) != groups.end()) continue;
    int code = entry.group;
    const std::uint32_t id =
        GetRatingCaptionId(m_setup.productKind, m_kind - 19, code, m_setup.specialMode);
    const bool grouped = family != 3 && !(family == 2 && m_setup.productKind == 3);
    if (id == 0 || !grouped) continue;
    groups.push_back(entry.group);
    m_groups->addItem(StringQText(static_cast<int>(id & 0xFFFF)), entry.group);
  }
  m_groups->setVisible(!groups.empty());
  m_caption->setVisible(groups.empty() && RefRatingCaptionShown(family));
  connect(m_groups, &QComboBox::activated, this, [this] {
    std::vector<int> values;
    if (!ReadRowValues(values)) return;
    for (std::size_t row = 0; row < m_shown.size(); ++row)
      m_entries[m_shown[row]].value = values[row];
    ShowGroup(m_groups->currentData().toInt());
  });
  connect(m_types, &QComboBox::activated, this, [this] {
    std::vector<int> values;
    if (!ReadRowValues(values)) return;
    for (std::size_t row = 0; row < m_shown.size(); ++row)
      m_entries[m_shown[row]].value = values[row];
    ShowType(m_types->currentText());
  });
  ShowGroup(groups.empty() ? 0 : groups.front());
}

// Row 0 holds the headings; row r of the table stands on grid row 2 r + 2, the grid row
// above it opening the gap that sets a shared entry off.
void CRefRatingPanel::BuildRowGrid() {
  m_rowGrid = new QGridLayout;
  for (std::size_t column = 0; column < m_headings.size(); ++column) {
    m_headings[column] = new QLabel;
    m_headings[column]->setObjectName(QStringLiteral("ref_rating_heading_%1").arg(column));
    m_rowGrid->addWidget(m_headings[column], 0, static_cast<int>(column));
  }
  for (int row = 0; row < kRows; ++row) {
    m_ratingLabels[row] = new QLabel;
    m_ratingLabels[row]->setObjectName(QStringLiteral("ref_rating_label_%1").arg(row + 1));
    m_switches[row] = new QCheckBox;
    m_switches[row]->setObjectName(QStringLiteral("ref_rating_ip_%1").arg(row + 1));
    m_typeLabels[row] = new QLabel;
    m_typeLabels[row]->setObjectName(QStringLiteral("ref_rating_type_%1").arg(row + 1));
    m_extraLabels[row] = new QLabel;
    m_extraLabels[row]->setObjectName(QStringLiteral("ref_rating_extra_%1").arg(row + 1));
    m_values[row] = new QLineEdit;
    m_values[row]->setObjectName(QStringLiteral("ref_rating_value_%1").arg(row + 1));
    m_values[row]->setAlignment(Qt::AlignRight);
    m_values[row]->setMaxLength(5);
    const int gridRow = 2 * row + 2;
    m_rowGrid->addWidget(m_ratingLabels[row], gridRow, 0);
    m_rowGrid->addWidget(m_switches[row], gridRow, 1);
    m_rowGrid->addWidget(m_typeLabels[row], gridRow, 2);
    m_rowGrid->addWidget(m_extraLabels[row], gridRow, 3);
    m_rowGrid->addWidget(m_values[row], gridRow, 4);
    connect(m_switches[row], &QCheckBox::clicked, this,
            [this, row](bool checked) { OnSwitch(row, checked); });
  }
}

void CRefRatingPanel::ShowHeadings() {
  const CRatingHeadings headings = RefRatingHeadings(m_setup.family);
  const std::array<int, 4> messages = {headings.rating, headings.protection, headings.type,
                                       headings.extra};
  for (std::size_t column = 0; column < messages.size(); ++column) {
    m_headings[column]->setText(Q(RefRatingHeadingText(messages[column], m_setup.family)));
    m_headings[column]->setVisible(messages[column] != 0);
  }
}

void CRefRatingPanel::ShowGroup(int group) {
  if (group > 0) m_group = group;
  m_types->clear();
  for (const std::string& type : RefRatingTypes(m_entries, m_group)) m_types->addItem(Q(type));
  ShowType(m_types->count() > 0 ? m_types->itemText(0) : QString());
}

void CRefRatingPanel::ShowType(const QString& type) {
  m_shown = RefShownRatingEntries(m_entries, m_group, type.toStdString(), m_setup.family);
  const bool ip54 = m_context.Line().connection == 5 || m_context.Line().connection == 6;
  ShowHeadings();
  const bool lists = m_setup.family == 5 || m_setup.family == 6;
  const std::string note =
      lists && !m_shown.empty() ? RefRatingNote(m_entries[m_shown.front()].typeLabel) : "";
  m_note->setText(Q(note));
  m_note->setVisible(!note.empty());
  const int h = fontMetrics().height();
  for (int row = 0; row < kRows; ++row) {
    const bool used = row < static_cast<int>(m_shown.size());
    for (QWidget* widget : std::initializer_list<QWidget*>{m_ratingLabels[row], m_typeLabels[row],
                                                           m_extraLabels[row], m_values[row]})
      widget->setVisible(used);
    m_switches[row]->setVisible(false);
    m_extraLabels[row]->setVisible(used && m_setup.family == 10);
    m_rowGrid->setRowMinimumHeight(2 * row + 1, 0);
    if (used)
      ShowRow(row, m_entries[m_shown[static_cast<std::size_t>(row)]], ip54,
              row == 0 && !note.empty());
    if (used &&
        RefRatingRowSetOff(m_entries[m_shown[static_cast<std::size_t>(row)]], m_setup.family))
      m_rowGrid->setRowMinimumHeight(2 * row + 1, h);
  }
  adjustSize();
}

void CRefRatingPanel::ShowRow(int row, CRatingEntry& entry, bool ip54, bool noted) {
  RefResetVariant(entry, m_setup.family, ip54);
  const CRatingRowTexts texts = RefRatingRowTexts(entry, m_setup.family);
  m_ratingLabels[row]->setText(noted ? QString() : Q(texts.rating));
  const bool box = RefRatingHasSwitch(entry, m_setup.family);
  m_switches[row]->setVisible(box);
  m_switches[row]->setChecked(entry.variant == 1);
  m_switches[row]->setText(Q(entry.ip[static_cast<std::size_t>(entry.variant)]));
  m_typeLabels[row]->setText(Q(texts.type));
  m_extraLabels[row]->setText(Q(texts.extra));
  m_values[row]->setText(QString::number(entry.value));
}

void CRefRatingPanel::OnSwitch(int row, bool checked) {
  if (row >= static_cast<int>(m_shown.size())) return;
  CRatingEntry& entry = m_entries[m_shown[static_cast<std::size_t>(row)]];
  entry.variant = checked ? 1 : 0;
  m_switches[row]->setText(Q(entry.ip[static_cast<std::size_t>(entry.variant)]));
  if (m_setup.family != 10)
    m_typeLabels[row]->setText(Q(RefRatingRowTexts(entry, m_setup.family).type));
}

bool CRefRatingPanel::ReadRowValues(std::vector<int>& values) {
  values.clear();
  for (std::size_t row = 0; row < m_shown.size(); ++row) {
    std::string problem;
    const auto value = ReadWholeField(m_values[row]->text().toStdString(),
                                      m_ratingLabels[row]->text().toStdString(), 0, 9999, problem);
    if (!value) {
      if (m_tell) m_tell(Q(problem));
      m_values[row]->setFocus();
      return false;
    }
    values.push_back(*value);
  }
  return true;
}
