#include "app/ui/page_langue.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/info_dialog_rules.h"
#include "app/options_values.h"
#include "app/ui/flag_sheet.h"
#include "app/ui/language_item_delegate.h"

namespace {

constexpr int kMsgCaption = 2600;
constexpr int kMsgLanguage = 2601;

}  // namespace

CPageLangue::CPageLangue(const std::vector<CLanguageEntry>& languages, QWidget* parent)
    : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(AddLabel(1070, kMsgLanguage));
  m_languages = new QComboBox(this);
  m_languages->setObjectName(QString::number(kLanguageCombo));
  m_languages->setItemDelegate(new CLanguageItemDelegate(m_languages));
  // The flag as the item's icon too, so that the closed box shows it beside the name.
  m_languages->setIconSize(QSize(20, 14));
  for (const CLanguageEntry& entry : languages) {
    QPixmap flag = LanguageFlag(LanguageNumber(entry.key));
    m_languages->addItem(flag.isNull() ? QIcon() : QIcon(flag), QString::fromStdString(entry.name),
                         QString::fromStdString(entry.key));
  }
  layout->addWidget(m_languages);
  layout->addStretch(1);
}

void CPageLangue::Load(const COptionsValues& values) {
  m_languages->setCurrentIndex(values.languageIndex < m_languages->count() ? values.languageIndex
                                                                           : -1);
}

bool CPageLangue::Save(COptionsValues& values) {
  values.languageIndex = m_languages->currentIndex();
  return true;
}
