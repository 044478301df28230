#include "app/ui/model_dlg.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/frame_rules.h"
#include "app/message_text.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 321;
constexpr int kMsgPathLabel = 322;
constexpr int kMsgBrowse = 323;
constexpr int kMsgChooseModel = 7624;
constexpr int kMsgDocumentTemplate = 18;

// "<layouts of the program> (*.run)", in the program's language.
QString LayoutFileFilterName() {
  return QString::fromStdString(TemplateDescription(LookupText(kMsgDocumentTemplate)));
}

}  // namespace

CModelDlg::CModelDlg(const QString& path, QWidget* parent) : QDialog(parent) {
  setObjectName(QString::number(kDialogId));
  SetMessageText(this, kMsgCaption);
  auto* column = new QVBoxLayout(this);
  auto* label = new QLabel(this);
  SetMessageText(label, kMsgPathLabel);
  column->addWidget(label);
  auto* row = new QHBoxLayout;
  m_path = new QLineEdit(path, this);
  m_path->setObjectName(QString::number(kPathEdit));
  m_path->setMinimumWidth(360);
  auto* browse = new QPushButton(this);
  browse->setObjectName(QString::number(kBrowseButton));
  SetMessageText(browse, kMsgBrowse);
  connect(browse, &QPushButton::clicked, this, &CModelDlg::Browse);
  row->addWidget(m_path);
  row->addWidget(browse);
  column->addLayout(row);
  QDialogButtonBox* buttons = MakeOkCancelButtons(this);
  column->addWidget(buttons);
  // Enter takes the model shown, as OK does; Browse only when clicked.
  browse->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  TranslateWindow(this);
}

QString CModelDlg::ModelPath() const { return m_path->text().trimmed(); }

void CModelDlg::Browse() {
  QString start = ModelPath();
  QString chosen = QFileDialog::getOpenFileName(this, StringQText(kMsgChooseModel), start,
                                                LayoutFileFilterName());
  if (chosen.isEmpty()) return;
  m_path->setText(QFileInfo(chosen).absoluteFilePath());
}
