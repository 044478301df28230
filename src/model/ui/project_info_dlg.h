#pragma once

#include <QDialog>
#include <QString>

#include <map>
#include <string>
#include <vector>

class CDocProps;
class CDorneDoc;
class CShellDialogs;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
struct CUnitEntry;

// The project information of a layout document, a linear project or a reference
// project: job number, author, dates, comment, quotation and delivery data and the
// customer's address, which can be loaded from and saved to a customer file (".t0p").
// With a document it also chooses the document's length unit. Each field is a control
// named by its control number ("1007" the job number...).
class CProjectInfoDlg : public QDialog {
  Q_OBJECT

 public:
  CProjectInfoDlg(CShellDialogs& dialogs, QWidget* parent = nullptr);

  // The layout document (it takes "Name" and the length unit) and the application's
  // units table; none for the linear and reference windows (the unit list is hidden).
  void SetDocument(CDorneDoc* document, const std::vector<CUnitEntry>* units);
  // The block to edit (kept by the caller) and the folder the customer files start in;
  // fills the controls.
  void SetProps(CDocProps* props, const QString& projectsFolder);
  // After OK: the texts into the block ("Name" through the document, so that a change
  // marks it modified; an empty text removes its property) and the chosen length unit.
  void Apply();

  void LoadCustomer();
  void SaveCustomer();

 private:
  void BuildFields();
  void BuildButtons();
  QString FieldText(const std::string& name) const;
  void CustomerIntoBlock(CDocProps& props) const;

  CShellDialogs& m_dialogs;
  CDorneDoc* m_document = nullptr;
  const std::vector<CUnitEntry>* m_units = nullptr;
  CDocProps* m_props = nullptr;
  QString m_projectsFolder;
  std::map<std::string, QLineEdit*> m_edits;
  QPlainTextEdit* m_comment = nullptr;
  QComboBox* m_unitList = nullptr;
  QLabel* m_unitLabel = nullptr;
};
