#include "reference/ui/ref_item_tabs_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_ok_cancel.h"

namespace {

constexpr int kMsgSection = 32192;
constexpr int kMsgNote = 32257;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QComboBox* NamedCombo(const char* name) {
  auto* combo = new QComboBox;
  combo->setObjectName(QLatin1String(name));
  return combo;
}

}  // namespace

CRefItemTabsDlg::CRefItemTabsDlg(CRefLine& line, const Setup& setup, QWidget* parent)
    : QDialog(parent), m_line(line), m_setup(setup) {
  setObjectName(QStringLiteral("ref_item_tabs_dlg"));
  m_copy.Assign(&line);
  m_tabs = new QTabBar;
  m_tabs->setObjectName(QStringLiteral("ref_section_tabs"));
  for (std::size_t i = 0; i < m_copy.sections.size(); ++i)
    m_tabs->addTab(StringQText(kMsgSection) + QStringLiteral(" %1").arg(i + 1));
  m_a = new QLineEdit;
  m_a->setObjectName(QStringLiteral("ref_section_a"));
  m_b = new QLineEdit;
  m_b->setObjectName(QStringLiteral("ref_section_b"));
  m_count = new QSpinBox;
  m_count->setObjectName(QStringLiteral("ref_section_count"));
  m_count->setRange(1, std::max(1, setup.count));
  m_position = NamedCombo("ref_section_position");
  for (int n :
       RefSectionPositions(setup.positions, setup.states.size() > 48 ? setup.states[48] : 0))
    m_position->addItem(StringQText(32245 + n), n);
  m_kind = NamedCombo("ref_section_kind");
  m_side = NamedCombo("ref_section_side");
  m_side->addItem(StringQText(32255), 1);
  m_side->addItem(StringQText(32256), 2);
  m_size = NamedCombo("ref_section_size");
  m_size2 = NamedCombo("ref_section_size2");
  m_spacing = NamedCombo("ref_section_spacing");
  m_spacing2 = NamedCombo("ref_section_spacing2");
  for (const CRefSectionEntry& entry : RefSectionSpacings(setup.states)) {
    m_spacing->addItem(Q(entry.text), entry.data);
    m_spacing2->addItem(Q(entry.text), entry.data);
  }
  auto* form = new QFormLayout;
  form->addRow(StringQText(32193), m_a);
  form->addRow(StringQText(32194), m_b);
  form->addRow(StringQText(32245), m_position);
  form->addRow(StringQText(32251), m_kind);
  form->addRow(StringQText(32254), m_side);
  form->addRow(StringQText(32195), m_size);
  form->addRow(StringQText(32196), m_spacing);
  form->addRow(StringQText(32195) + QStringLiteral("'"), m_size2);
  form->addRow(StringQText(32196) + QStringLiteral("'"), m_spacing2);
  form->addRow(StringQText(kMsgSection), m_count);
  m_secondSide = {m_b,
                  m_size2,
                  m_spacing2,
                  form->labelForField(m_b),
                  form->labelForField(m_size2),
                  form->labelForField(m_spacing2)};
  auto* note = new QLabel(StringQText(kMsgNote));
  note->setVisible(setup.connectionChoice == 1);
  auto* buttons = MakeRefOkCancelRow(this, QStringLiteral("ref_sections_ok"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addLayout(buttons);
  connect(m_tabs, &QTabBar::currentChanged, this, [this] { OnTabChange(); });
  connect(m_position, &QComboBox::activated, this, [this] { OnPositionChange(); });
  connect(m_kind, &QComboBox::activated, this, [this] { OnKindChange(); });
  connect(m_a, &QLineEdit::textEdited, this, [this] { OnSideEdited(0, m_a, m_spacing); });
  connect(m_b, &QLineEdit::textEdited, this, [this] { OnSideEdited(1, m_b, m_spacing2); });
  connect(m_count, &QSpinBox::valueChanged, this, [this](int value) { OnCountChanged(value); });
  connect(m_side, &QComboBox::activated, this, [this] { StoreCombo(m_side, 5); });
  connect(m_size, &QComboBox::activated, this, [this] { StoreCombo(m_size, 6); });
  connect(m_spacing, &QComboBox::activated, this, [this] { StoreCombo(m_spacing, 7); });
  connect(m_size2, &QComboBox::activated, this, [this] { StoreCombo(m_size2, 8); });
  connect(m_spacing2, &QComboBox::activated, this, [this] { StoreCombo(m_spacing2, 9); });
  m_tabs->setCurrentIndex(0);
  OnTabChange();
  TranslateWindow(this);
}

CRefLineSection* CRefItemTabsDlg::Current() {
  const int tab = m_tabs->currentIndex();
  if (tab < 0 || tab >= static_cast<int>(m_copy.sections.size())) return nullptr;
  return &m_copy.sections[static_cast<std::size_t>(tab)];
}

void CRefItemTabsDlg::Select(QComboBox* combo, int data) {
  combo->setCurrentIndex(combo->findData(data));
}

void CRefItemTabsDlg::StoreCombo(QComboBox* combo, int field) {
  CRefLineSection* section = Current();
  if (section == nullptr || combo->currentIndex() < 0) return;
  section->values[static_cast<std::size_t>(field)] = combo->currentData().toInt();
}

void CRefItemTabsDlg::OnTabChange() {
  CRefLineSection* section = Current();
  if (section == nullptr) return;
  m_busy = true;
  const auto& v = section->values;
  m_a->setText(QString::number(v[0]));
  m_b->setText(QString::number(v[1]));
  m_count->setValue(std::clamp(v[2], 1, m_count->maximum()));
  Select(m_position, v[3]);
  OnPositionChange();
  Select(m_kind, v[4]);
  OnKindChange();
  m_side->setCurrentIndex(v[5] != m_side->itemData(0).toInt() ? 1 : 0);
  Select(m_size, v[6]);
  Select(m_spacing, v[7]);
  Select(m_size2, v[8]);
  Select(m_spacing2, v[9]);
  if (m_setup.lineMode == 10) {
    m_spacing->setEnabled(v[0] >= 2);
    m_spacing2->setEnabled(v[1] >= 2);
  }
  m_busy = false;
}

void CRefItemTabsDlg::OnPositionChange() {
  CRefLineSection* section = Current();
  const int p = m_position->currentData().toInt();
  if (section == nullptr || p < 1 || p > 5) return;
  section->values[3] = p;
  const int before = m_kind->currentData().toInt();
  m_kind->clear();
  for (int k :
       RefSectionKinds(p, m_setup.positions, m_setup.states.size() > 48 ? m_setup.states[48] : 0))
    m_kind->addItem(StringQText(32251 + k), k);
  if (before != 0 && !m_busy) {
    const int index = m_kind->findData(before);
    m_kind->setCurrentIndex(index >= 0 ? index : 0);
    OnKindChange();
  }
  const bool twoSided = p == 3;
  if (!m_busy && !twoSided) section->values[1] = section->values[8] = section->values[9] = 0;
  if (!m_busy && twoSided) {
    section->values[1] = 1;
    m_b->setText(QStringLiteral("1"));
    m_size2->setCurrentIndex(0);
    StoreCombo(m_size2, 8);
    m_spacing2->setCurrentIndex(m_spacing2->count() > 1 && m_setup.lineMode != 10 ? 1 : 0);
    StoreCombo(m_spacing2, 9);
  }
  for (QWidget* widget : m_secondSide)
    if (widget) widget->setVisible(twoSided);
}

void CRefItemTabsDlg::OnKindChange() {
  CRefLineSection* section = Current();
  const int k = m_kind->currentData().toInt();
  if (section == nullptr || (k != 1 && k != 2)) return;
  section->values[4] = k;
  const int shown1 = m_size->currentText().toInt(), shown2 = m_size2->currentText().toInt();
  std::vector<CRefSectionEntry> spacings;
  for (int i = 0; i < m_spacing->count(); ++i)
    spacings.push_back({m_spacing->itemText(i).toStdString(), m_spacing->itemData(i).toInt()});
  const int p = section->values[3];
  const auto sizes = RefSectionSizes(k, p, spacings, m_setup.states, m_setup.decimal);
  for (QComboBox* combo : {m_size, m_size2}) {
    combo->clear();
    for (const CRefSectionEntry& entry : sizes) combo->addItem(Q(entry.text), entry.data);
  }
  m_size->setCurrentIndex(RefSectionSizeIndex(sizes, k, p, shown1));
  m_size2->setCurrentIndex(RefSectionSizeIndex(sizes, k, p, shown2));
  if (!m_busy) StoreCombo(m_size, 6), StoreCombo(m_size2, 8);
}

void CRefItemTabsDlg::OnSideEdited(int field, QLineEdit* edit, QComboBox* spacing) {
  CRefLineSection* section = Current();
  if (m_busy || section == nullptr) return;
  const int typed = edit->text().toInt();
  const int value = RefClampSection(typed, m_setup.lineMode);
  section->values[static_cast<std::size_t>(field)] = value;
  if (value != typed || edit->text().isEmpty()) edit->setText(QString::number(value));
  if (m_setup.lineMode != 10) return;
  spacing->setEnabled(value >= 2);
  const int selected = spacing->currentData().toInt();
  if (value == 1 && selected != 0) spacing->setCurrentIndex(0);
  if (value >= 2 && selected == 0 && spacing->count() > 1) spacing->setCurrentIndex(1);
  StoreCombo(spacing, field == 0 ? 7 : 9);
}

void CRefItemTabsDlg::OnCountChanged(int value) {
  CRefLineSection* section = Current();
  if (m_busy || section == nullptr) return;
  section->values[2] = value;
  m_copy.ResizeSections(m_setup.count, m_setup.states.data(), m_setup.positions.data(),
                        m_tabs->currentIndex());
  SyncTabs();
}

void CRefItemTabsDlg::SyncTabs() {
  const int sections = static_cast<int>(m_copy.sections.size());
  while (m_tabs->count() > sections) m_tabs->removeTab(m_tabs->count() - 1);
  while (m_tabs->count() < sections)
    m_tabs->addTab(StringQText(kMsgSection) + QStringLiteral(" %1").arg(m_tabs->count() + 1));
  if (m_tabs->currentIndex() < 0 && sections > 0) m_tabs->setCurrentIndex(sections - 1);
  m_tabs->update();
}

void CRefItemTabsDlg::accept() {
  m_line.Assign(&m_copy);
  QDialog::accept();
}
