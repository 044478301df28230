#include "app/ui/page_dir.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/options_values.h"

namespace {

constexpr int kMsgCaption = 2715;
constexpr int kMsgProjects = 14;

}  // namespace

CPageDir::CPageDir(QWidget* parent) : COptionsPage(kDialogId, kMsgCaption, parent) {
  auto* layout = new QGridLayout(this);
  layout->addWidget(AddLabel(1070, kMsgProjects), 0, 0, 1, 2);
  m_edit = AddEdit(kFolderEdit);
  m_edit->setReadOnly(true);
  layout->addWidget(m_edit, 1, 0);
  auto* browse = new QPushButton(QStringLiteral("..."), this);
  browse->setObjectName(QString::number(kBrowseButton));
  browse->setAutoDefault(false);
  connect(browse, &QPushButton::clicked, this, &CPageDir::OnBrowse);
  layout->addWidget(browse, 1, 1);
  // A second row of the same dialog that has no use here.
  auto* xml = new QLabel(QStringLiteral("XML"), this);
  xml->setObjectName(QStringLiteral("1069"));
  QLineEdit* xmlEdit = AddEdit(1485);
  auto* xmlBrowse = new QPushButton(QStringLiteral("..."), this);
  xmlBrowse->setObjectName(QStringLiteral("1486"));
  for (QWidget* unused : {static_cast<QWidget*>(xml), static_cast<QWidget*>(xmlEdit),
                          static_cast<QWidget*>(xmlBrowse)})
    unused->setEnabled(false);
  layout->addWidget(xml, 2, 0, 1, 2);
  layout->addWidget(xmlEdit, 3, 0);
  layout->addWidget(xmlBrowse, 3, 1);
  layout->setRowStretch(4, 1);
}

void CPageDir::Load(const COptionsValues& values) {
  SetFolder(QString::fromStdString(values.projectsFolder));
}

bool CPageDir::Save(COptionsValues& values) {
  values.projectsFolder = m_folder.toStdString();
  return true;
}

void CPageDir::SetFolder(const QString& folder) {
  m_folder = folder;
  m_edit->setText(folder);
}

void CPageDir::OnBrowse() {
  QString title = Control<QLabel>(1070)->text();
  QString chosen = QFileDialog::getExistingDirectory(window(), title, m_folder);
  if (!chosen.isEmpty()) SetFolder(chosen);
}
