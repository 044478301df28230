#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "reference/ui/ref_core.h"
#include "reference/ref_lighting.h"

class CLightRangeDlg;
class CShellDialogs;
class CWorkbookExport;
struct CLinearEnvironment;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// What the lighting calculation reads of its owner.
struct CLightingSetup {
  std::string catalogueFolder;  // ends with '/'
  char decimal = '.';
  bool rangePage = true;                            // the range choice as the last step
  const CLinearEnvironment* environment = nullptr;  // messages and the workbook export
  const CProjectFields* project = nullptr;          // the project keys of the export
  // The owner's exporter, which keeps the opened workbooks while the owner lives; the
  // dialog makes its own when there is none.
  CWorkbookExport* workbooks = nullptr;
};

// The lighting study of a room in four steps (room, luminaire, illuminance, layout) and,
// with the range page, a fifth (the busbar range). On OK it holds the line to add.
class CLightingCalcDlg : public QDialog {
  Q_OBJECT

 public:
  CLightingCalcDlg(CLightingSetup setup, QWidget* parent = nullptr);
  ~CLightingCalcDlg() override;

  int Step() const { return m_step; }
  int LastStep() const { return m_range ? 5 : 4; }
  // Reads the current step with reports and goes on, or finishes on the last step.
  bool Next();
  // Reads the current step silently and goes back.
  bool Previous();
  const CLightingLine& Line() const { return m_line; }
  const CLightingRoom& Room() const { return m_room; }
  const CLightingResult& Result() const { return m_result; }
  // The pictures shown beside the step (their numbers; 0 when hidden).
  int StepPictureShown() const { return m_stepPictureId; }
  int OrientationPictureShown() const { return m_orientationPictureId; }

 public slots:
  void accept() override;
  void reject() override;

 private:
  // Pages.
  QWidget* BuildRoomPage();
  QWidget* BuildLuminairePage();
  QWidget* BuildIlluminancePage();
  QWidget* BuildResultsPage();
  QWidget* BuildButtons();
  QLineEdit* AddEdit(QWidget* page, const char* name);
  QComboBox* AddPresets(QWidget* page, const char* name, int firstMessage, int count, int min,
                        int max, QLineEdit* target, int divisor);
  void ShowStep(int step);
  QWidget* BuildPictures();
  void ShowPictures();
  // Fields.
  bool ReadStep(bool report);
  void WriteStep();
  bool ReadValue(QLineEdit* edit, std::int32_t& field, std::int32_t min, std::int32_t max,
                 char kind, bool report);
  void SetValue(QLineEdit* edit, std::int32_t value, char kind, bool padded = false);
  void SetText(QLineEdit* edit, const QString& text);
  void Tell(const QString& text);
  void FillLuminaires();
  void ChooseLuminaire(bool reload);
  void ShowDescription(bool shown);
  void OpenLuminaireRows();
  // Results.
  bool Calculate(int mode, bool report);
  void ShowResults();
  void RefillCountList(QComboBox* combo, std::int32_t count);
  void LayoutEdited();
  void Finish();
  void ExportStudy();

  CLightingSetup m_setup;
  CLightingRoom m_room;
  std::optional<CLuminaire> m_lum;
  std::vector<CLuminaireType> m_types;
  std::uint32_t m_lumRecord = 0;
  CLightingResult m_result;
  CLightingLine m_line;
  int m_step = 0;
  bool m_writing = false;
  QStackedWidget* m_pages = nullptr;
  CLightRangeDlg* m_range = nullptr;
  CWorkbookExport* m_workbooks = nullptr;
  QLabel* m_title = nullptr;
  QLabel *m_stepPicture = nullptr, *m_orientationPicture = nullptr;
  int m_stepPictureId = 0, m_orientationPictureId = 0;
  // Step 1.
  QLineEdit *m_length = nullptr, *m_width = nullptr, *m_height = nullptr, *m_plane = nullptr;
  QLineEdit *m_ceiling = nullptr, *m_wall = nullptr, *m_floor = nullptr, *m_depreciation = nullptr;
  // Step 2.
  QLineEdit *m_suspension = nullptr, *m_flux = nullptr;
  QComboBox* m_luminaires = nullptr;
  QLabel *m_description = nullptr, *m_tube = nullptr, *m_power = nullptr, *m_ballast = nullptr;
  QWidget* m_descriptionBox = nullptr;
  QLabel* m_picture = nullptr;
  // Step 3.
  QLineEdit* m_illuminance = nullptr;
  QComboBox* m_illuminancePresets = nullptr;
  // Step 4.
  QLineEdit *m_wanted = nullptr, *m_count = nullptr, *m_em = nullptr;
  QComboBox *m_runs = nullptr, *m_perRun = nullptr;
  QLineEdit *m_runSpacing = nullptr, *m_runWall = nullptr, *m_lightSpacing = nullptr,
            *m_lightWall = nullptr;
  QCheckBox* m_across = nullptr;
  QPushButton *m_previous = nullptr, *m_next = nullptr, *m_finish = nullptr, *m_cancel = nullptr;
};
