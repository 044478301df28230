#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTreeWidget>

#include "linear/ui/workbook_export.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_light_range_dlg.h"
#include "reference/ui/ref_lighting_dlg.h"
#include "reference/ui/ref_line_page_view.h"

namespace {

constexpr int kLightingGroup = 3;
// The lighting busbar products (reference kinds).
constexpr int kLightingQya = 1;
constexpr int kLightingQyb = 2;

// The new-line filter of a product of the lighting group.
int LightingProductCode(int kind) { return RefProductNodeCode(kLightingGroup, kind); }

}  // namespace

bool CRefConfigDlg::LightingAllowed() const {
  return m_editState == kBrowsing && ItemOfCode(RefGroupCode(kLightingGroup)) != nullptr;
}

// The command's own tree item stays selected; any other selection gives way to the
// lighting group, expanded, with no page open.
void CRefConfigDlg::FocusLightingItem(int code) {
  if (SelectedCode() == code) return;
  QTreeWidgetItem* group = ItemOfCode(RefGroupCode(kLightingGroup));
  m_tree->setCurrentItem(group);
  group->setExpanded(true);
  m_tabs->setCurrentIndex(-1);
}

bool CRefConfigDlg::RunLightingRange() {
  if (!LightingAllowed()) return false;
  FocusLightingItem(kRefCodeLightingRange);
  CLightRangeDlg range(false, this);
  range.SetOffered(m_config.ProductOffered(kLightingGroup, kRefProductQFP),
                   m_config.ProductOffered(kLightingGroup, kLightingQya),
                   m_config.ProductOffered(kLightingGroup, kLightingQyb));
  if (range.exec() != QDialog::Accepted) return false;
  return AddNewLineItem(LightingProductCode(range.ChoiceMade()));
}

bool CRefConfigDlg::RunLightingCalc() {
  if (!LightingAllowed()) return false;
  FocusLightingItem(kRefCodeLightingCalc);
  CLightingSetup setup;
  setup.catalogueFolder = m_environment.catalogueSetup.catalogueFolder;
  setup.decimal = m_decimal;
  setup.rangePage = m_environment.common.ReadInt("Ref", "GDEGDC", 1) != 0;
  setup.environment = &m_environment.common;
  setup.project = &m_project;
  // The workbook a study opens stays while the window lives, not only while the study's
  // dialog does.
  if (!m_lightingWorkbooks) m_lightingWorkbooks = new CWorkbookExport(m_environment.common, *this);
  setup.workbooks = m_lightingWorkbooks;
  CLightingCalcDlg study(setup, this);
  if (study.exec() != QDialog::Accepted) return false;
  const CLightingLine& line = study.Line();
  if (!AddNewLineItem(LightingProductCode(line.kind))) return false;
  StartLightingLine(line);
  return true;
}

// The study's line on the line page: its length in whole metres (rounded up), its
// luminaires per run, as many lines as runs; the fixing code steers the next count.
void CRefConfigDlg::StartLightingLine(const CLightingLine& line) {
  CRefLine& work = m_project.lines[0];
  const int metres = line.runLength / 1000 + (line.runLength % 1000 != 0 ? 1 : 0);
  m_page->LengthEdit()->setText(QString::number(metres));
  m_page->CountEdit()->setText(QString::number(line.perRun));
  work.lineQuantity = line.runs;
  if (line.kind == kLightingQya) work.lineMode = 3;
  if (m_context) m_context->lightingFixingCode = line.fixingCode;
  if (line.fixingCode == 0) work.lineMode = 1;
  if (auto* boxes = m_page->findChild<QComboBox*>(QStringLiteral("ref_boxes")))
    boxes->setCurrentIndex(work.lineMode == 3 ? 0 : 1);
  emit m_page->NumbersEdited();
  UpdateOptionEnables();
}
