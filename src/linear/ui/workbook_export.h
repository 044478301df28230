#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <memory>
#include <string>

struct CLinearEnvironment;
class CPrintHelperLauncher;
class CXlExportFile;
struct CXlExportJob;
class QWidget;

// The spreadsheet exports of the costing windows: the exchange file, the model workbook
// when the program ships one, the target workbook (chosen by the user to save, a
// temporary one to open), then the spreadsheet helper, whose end is watched: what it
// could not do is told, and the exchange file goes away. The workbooks opened are kept
// until the exporter goes.
class CWorkbookExport : public QObject {
 public:
  CWorkbookExport(const CLinearEnvironment& environment, QWidget& owner);
  ~CWorkbookExport() override;

  // Writes the exchange file (of that name in the settings folder) and starts the helper
  // on it: 1 when started, 0 when it was not (the user cancelled, or was told why).
  int Run(const CXlExportFile& file, bool saveAs, const std::string& fileTitle,
          const char* exchangeName = "XlExport.txt");

 private:
  CPrintHelperLauncher& PrintHelper() const;
  bool ChooseExportFiles(bool saveAs, const std::string& fileTitle, CXlExportJob& job);
  void WatchHelper(const CXlExportJob& job);

  const CLinearEnvironment& m_environment;
  QWidget& m_owner;
  std::unique_ptr<QTemporaryDir> m_exportFolder;
};
