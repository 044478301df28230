#include "model/ui/project_info_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/frame_rules.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "platform/text_conversions.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "app/unit_entry.h"
#include "model/document/customer_file.h"
#include "model/document/doc_props.h"
#include "model/document/dorne_doc.h"

namespace {

constexpr int kMsgCaption = 23200;
constexpr int kMsgProjectGroup = 23222;
constexpr int kMsgCustomerGroup = 23223;
constexpr int kMsgUnitLabel = 23218;
constexpr int kMsgLoadCustomer = 23219;
constexpr int kMsgSaveCustomer = 23220;
constexpr int kMsgCustomerFilter = 23221;
constexpr int kMsgCustomerUnreadable = 23224;
constexpr int kMsgCustomerUnwritable = 23225;

struct CField {
  const char* property;
  int control;
  int label;
  bool customer;
};

// In the order the dialog shows them; the comment is a text box of its own.
constexpr CField kFields[] = {
    {"NumAff", 1007, 23201, false},
    {"Creator", 1017, 23202, false},
    {"Name", 1006, 23203, false},
    {"CreationDate", 1018, 23204, false},
    {"ModificationDate", 1025, 23205, false},
    {"DevisDate", 1026, 23207, false},
    {"Delai", 1023, 23208, false},
    {"Commande", 1027, 23209, false},
    {"Livraison", 1028, 23210, false},
    {"Client", 1019, 23211, true},
    {"Societe", 1020, 23212, true},
    {"Adresse", 1021, 23213, true},
    {"CodePostal", 1022, 23214, true},
    {"Ville", 1008, 23215, true},
    {"Telephone", 1009, 23216, true},
    {"Fax", 1024, 23217, true},
};
constexpr int kCommentControl = 1010;
constexpr int kCommentLabel = 23206;

QLabel* Label(int message) {
  auto* label = new QLabel;
  SetMessageText(label, message);
  return label;
}

COpenFileFilter CustomerFilter() {
  std::string text = StringText(kMsgCustomerFilter);
  return {text + "|*.t0p||", "t0p"};
}

}  // namespace

CProjectInfoDlg::CProjectInfoDlg(CShellDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs) {
  setObjectName(QStringLiteral("232"));
  SetMessageText(this, kMsgCaption);
  BuildFields();
  TranslateWindow(this);
}

void CProjectInfoDlg::BuildFields() {
  auto* project = new QGroupBox;
  SetMessageText(project, kMsgProjectGroup);
  auto* projectForm = new QFormLayout(project);
  auto* customer = new QGroupBox;
  SetMessageText(customer, kMsgCustomerGroup);
  auto* customerForm = new QFormLayout(customer);
  for (const CField& field : kFields) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::number(field.control));
    m_edits[field.property] = edit;
    (field.customer ? customerForm : projectForm)->addRow(Label(field.label), edit);
  }
  m_comment = new QPlainTextEdit;
  m_comment->setObjectName(QString::number(kCommentControl));
  m_comment->setMaximumHeight(70);
  projectForm->addRow(Label(kCommentLabel), m_comment);
  m_unitList = new QComboBox;
  m_unitList->setObjectName(QStringLiteral("1064"));
  m_unitLabel = Label(kMsgUnitLabel);
  m_unitLabel->setObjectName(QStringLiteral("1103"));
  projectForm->addRow(m_unitLabel, m_unitList);
  auto* columns = new QHBoxLayout;
  columns->addWidget(project);
  auto* right = new QVBoxLayout;
  right->addWidget(customer);
  auto* customerButtons = new QHBoxLayout;
  right->addLayout(customerButtons);
  right->addStretch();
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(MakeOkCancelButtons(this));
  auto addButton = [this, customerButtons](const char* id, int message,
                                           QStyle::StandardPixmap icon) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(id));
    button->setIcon(style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SetMessageText(button, message);
    customerButtons->addWidget(button);
    return button;
  };
  connect(addButton("3", kMsgLoadCustomer, QStyle::SP_DialogOpenButton), &QToolButton::clicked,
          this, &CProjectInfoDlg::LoadCustomer);
  connect(addButton("4", kMsgSaveCustomer, QStyle::SP_DialogSaveButton), &QToolButton::clicked,
          this, &CProjectInfoDlg::SaveCustomer);
  customerButtons->addStretch();
}

void CProjectInfoDlg::SetDocument(CDorneDoc* document, const std::vector<CUnitEntry>* units) {
  m_document = document;
  m_units = units;
}

void CProjectInfoDlg::SetProps(CDocProps* props, const QString& projectsFolder) {
  m_props = props;
  m_projectsFolder = projectsFolder;
  for (const CField& field : kFields) {
    const std::string value =
        props != nullptr ? props->GetPropValue(field.property) : std::string();
    m_edits[field.property]->setText(QString::fromStdString(value));
  }
  m_comment->setPlainText(
      QString::fromStdString(props != nullptr ? props->GetPropValue("Comment") : ""));
  m_unitList->clear();
  m_unitList->setVisible(m_document != nullptr);
  m_unitLabel->setVisible(m_document != nullptr);
  if (m_document == nullptr || m_units == nullptr) return;
  int chosen = -1;
  for (const CUnitEntry& unit : *m_units) {
    if (TextToInt(unit.idd) == m_document->GetLengthUnitId()) chosen = m_unitList->count();
    m_unitList->addItem(QString::fromStdString(unit.label));
  }
  m_unitList->setCurrentIndex(chosen);
}

QString CProjectInfoDlg::FieldText(const std::string& name) const {
  return m_edits.at(name)->text();
}

void CProjectInfoDlg::Apply() {
  if (m_props == nullptr) return;
  // Any change of the block is a change of the document: saved, or asked about on close.
  bool changed = false;
  for (const CField& field : kFields) {
    const std::string text = FieldText(field.property).toStdString();
    if (m_document != nullptr && std::string_view(field.property) == "Name") {
      m_document->SetDocPropertyModified("Name", text);
    } else {
      changed = m_props->SetPropValue(field.property, text) || changed;
    }
  }
  changed = m_props->SetPropValue("Comment", m_comment->toPlainText().toStdString()) || changed;
  if (m_document == nullptr) return;
  const int index = m_unitList->currentIndex();
  const bool valid = m_units != nullptr && index >= 0 && index < static_cast<int>(m_units->size());
  const int oldUnit = m_document->GetLengthUnitId();
  m_document->SetLengthUnit(valid ? TextToInt((*m_units)[static_cast<std::size_t>(index)].idd)
                                  : -1);
  if (changed || m_document->GetLengthUnitId() != oldUnit) m_document->SetModified();
  m_document->UpdateAllViews();
}

void CProjectInfoDlg::CustomerIntoBlock(CDocProps& props) const {
  for (const CField& field : kFields) {
    if (field.customer) props.SetPropValue(field.property, FieldText(field.property).toStdString());
  }
}

void CProjectInfoDlg::LoadCustomer() {
  const QString path = m_dialogs.ChooseFileToOpen(this, m_projectsFolder, CustomerFilter());
  if (path.isEmpty()) return;
  CDocProps loaded;
  if (!CCustomerFile::Load(path.toStdString(), loaded)) {
    m_dialogs.Message(
        this,
        QString::fromStdString(FormatMessageTextS(kMsgCustomerUnreadable, path.toStdString())),
        kMbOk | kMbIconExclamation);
    return;
  }
  for (const CField& field : kFields) {
    if (field.customer)
      m_edits[field.property]->setText(QString::fromStdString(loaded.GetPropValue(field.property)));
  }
}

void CProjectInfoDlg::SaveCustomer() {
  const QString suggested = m_projectsFolder + FieldText("Societe") + QStringLiteral(".t0p");
  const QString path = m_dialogs.ChooseFileToSave(this, suggested, CustomerFilter());
  if (path.isEmpty()) return;
  CDocProps customer;
  CustomerIntoBlock(customer);
  if (!CCustomerFile::Save(path.toStdString(), customer)) {
    m_dialogs.Message(
        this,
        QString::fromStdString(FormatMessageTextS(kMsgCustomerUnwritable, path.toStdString())),
        kMbOk | kMbIconExclamation);
  }
}
