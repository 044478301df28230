#pragma once

#include <QPointer>
#include <QString>
#include <QTemporaryDir>

#include <memory>

#include "export/ui/price_base_dlg.h"

#include <functional>
#include <string>

class CDorneDoc;
class QWidget;

// The price and export commands of a layout document window: they gather what the
// document holds, call the exports of the core and tell the user, once, what went wrong.
class CLayoutExports {
 public:
  using CReporter = std::function<void(const QString& text)>;

  CLayoutExports(CDorneDoc& document, QWidget* window, CReporter report)
      : m_document(document), m_window(window), m_report(std::move(report)) {}

  // Where the outcome of a command that went through is told (the part-number import).
  void SetInformer(CReporter inform) { m_inform = std::move(inform); }

  // Update prices: one undo step, the whole document priced from the article table of
  // the current price list, then the price-list dialog shown again.
  void UpdatePrices();
  // Part-number import: the tool runs under a modal progress window (the document cannot
  // be closed underneath), then its articles join the current run as one undo step; the
  // informer tells how many lines were added, or that nothing was imported (then the
  // document is left unmodified, with no step to undo). False when the tool did not run
  // to its end (nothing changed; the user is told).
  bool ImportPartNumbers();
  // Writes the CSV list to the path (all runs, or the page shown). False with the reason.
  bool ExportCsv(bool allRuns, const QString& path, std::string& fault);
  // Writes the current run's 3D exchange file to the path. False with the reason when
  // the run holds a value the file cannot (empty when the file could not be written).
  bool Export3D(const QString& path, std::string& fault);
  // The workbook of the bill: the exchange file written and the spreadsheet helper
  // started on it, writing target (saveAs) or a workbook that it opens. False with the
  // reason when the helper could not start or the exchange file not be written.
  // The pictures beside the document file go with it; the model workbook, when given,
  // is the one the helper fills.
  bool ExportWorkbook(bool allRuns, bool saveAs, const std::string& target,
                      const std::string& documentPath, std::string& fault,
                      const std::string& modelPath = {});
  // The workbook that the open command writes: beside the document when "ExcelSheet" is
  // "SAVE", else in a temporary folder of the window's.
  std::string OpenedWorkbookPath(const std::string& documentPath);
  // The price-list dialog while it is open.
  CPriceBaseDlg* PriceDialog() const { return m_dialog.data(); }

 private:
  void ShowPriceDialog();

  CDorneDoc& m_document;
  QWidget* m_window;
  CReporter m_report;
  CReporter m_inform;
  QPointer<CPriceBaseDlg> m_dialog;
  std::unique_ptr<QTemporaryDir> m_workbooks;
};
