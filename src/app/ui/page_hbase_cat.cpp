#include "app/ui/page_hbase_cat.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "app/options_values.h"

namespace {

constexpr int kMsgCaption = 2660;
constexpr int kMsgName = 2661;
constexpr int kMsgSecondName = 2662;

}  // namespace

CPageHbaseCat::CPageHbaseCat(QWidget* parent) : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QGridLayout(this);
  m_list = new QListWidget(this);
  m_list->setObjectName(QString::number(kList));
  m_name = AddEdit(kName);
  m_second = AddEdit(kSecondName);
  QLabel* name = AddLabel(kNameLabel, kMsgName);
  QLabel* second = AddLabel(kSecondNameLabel, kMsgSecondName);
  name->setBuddy(m_name);
  second->setBuddy(m_second);
  layout->addWidget(m_list, 0, 0, 5, 1);
  layout->addWidget(name, 0, 1);
  layout->addWidget(m_name, 1, 1);
  layout->addWidget(second, 2, 1);
  layout->addWidget(m_second, 3, 1);
  layout->setRowStretch(4, 1);
  connect(m_name, &QLineEdit::editingFinished, this, &CPageHbaseCat::CommitEdits);
  connect(m_second, &QLineEdit::editingFinished, this, &CPageHbaseCat::CommitEdits);
  connect(m_list, &QListWidget::currentRowChanged, this, &CPageHbaseCat::OnSelectionChanged);
}

void CPageHbaseCat::Load(const COptionsValues& values) {
  m_edits = values.priceLists;
  m_list->blockSignals(true);
  m_list->clear();
  for (const CPriceListEntry& entry : m_edits.Entries())
    m_list->addItem(QString::fromStdString(entry.name));
  bool any = !m_edits.Entries().empty();
  m_list->setCurrentRow(any ? 0 : -1);
  m_list->blockSignals(false);
  m_name->setEnabled(any);
  m_second->setEnabled(any);
  ShowEntry(any ? 0 : -1);
}

bool CPageHbaseCat::Save(COptionsValues& values) {
  CommitEdits();
  values.priceLists = m_edits;
  return true;
}

void CPageHbaseCat::CommitEdits() {
  if (m_selected < 0) return;
  if (m_edits.Edit(m_selected, m_name->text().toStdString(), m_second->text().toStdString()))
    m_list->item(m_selected)
        ->setText(
            QString::fromStdString(m_edits.Entries()[static_cast<std::size_t>(m_selected)].name));
  // The texts as stored: trimmed, or "***" for a cleared name.
  ShowEntry(m_selected);
}

void CPageHbaseCat::ShowEntry(int index) {
  m_selected = index;
  bool valid = index >= 0 && static_cast<std::size_t>(index) < m_edits.Entries().size();
  const CPriceListEntry* entry =
      valid ? &m_edits.Entries()[static_cast<std::size_t>(index)] : nullptr;
  m_name->setText(entry ? QString::fromStdString(entry->name) : QString());
  m_second->setText(entry ? QString::fromStdString(entry->second) : QString());
}

void CPageHbaseCat::OnSelectionChanged(int index) {
  CommitEdits();
  ShowEntry(index);
}
