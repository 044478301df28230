// Writes the sample model workbooks that the installed program offers in its MODELS
// folder: one for the layout exports, one for linear costing, one for costing by
// reference and GDE_001 for the lighting study. Each has a title block with the
// program's name, column headings and their styles; the spreadsheet helper writes the
// data below the headings, or from the cell named DATA where a model names one.
//   tvr_xlmodels <folder>

#include <xlsxwriter.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CSampleModel {
  const char* file;
  const char* title;  // French / English, as the workbook serves both
  std::vector<const char*> headings;
  const char* dataCell;  // the defined name DATA, or null: below the headings
};

const CSampleModel kModels[] = {
    {"Tavrilon_Implantation.xlsx",
     "Nomenclature de l'implantation / Layout bill of materials",
     {"Rubrique / Field", "Valeur / Value", "Quantité / Quantity", "Prix / Price", "Total",
      "Poids / Weight"},
     "=Nomenclature!$A$7"},
    {"Tavrilon_Lineaire.xlsx",
     "Chiffrage linéaire / Linear costing",
     {"Rubrique / Field", "Valeur / Value", "Quantité / Quantity", "Prix / Price", "Vente / Sale",
      "Pose / Labour"},
     nullptr},
    {"Tavrilon_References.xlsx",
     "Chiffrage par références / Costing by reference",
     {"Référence / Reference", "Désignation", "Prix unitaire / Unit price", "Quantité / Quantity",
      "Vente / Sale", "Pose / Labour"},
     nullptr},
    {"GDE_001.xlsx",
     "Étude d'éclairage / Lighting study",
     {"Grandeur / Quantity", "Valeur / Value", "Unité / Unit"},
     "=Nomenclature!$A$7"},
};

bool WriteModel(const std::string& folder, const CSampleModel& model) {
  const std::string path = folder + "/" + model.file;
  lxw_workbook* book = workbook_new(path.c_str());
  if (book == nullptr) return false;
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Nomenclature");
  lxw_format* name = workbook_add_format(book);
  format_set_bold(name);
  format_set_font_size(name, 18);
  format_set_font_color(name, 0x1F4E79);
  lxw_format* title = workbook_add_format(book);
  format_set_bold(title);
  format_set_font_size(title, 12);
  lxw_format* note = workbook_add_format(book);
  format_set_italic(note);
  format_set_font_color(note, 0x7F7F7F);
  lxw_format* heading = workbook_add_format(book);
  format_set_bold(heading);
  format_set_font_color(heading, LXW_COLOR_WHITE);
  format_set_bg_color(heading, 0x1F4E79);
  format_set_border(heading, LXW_BORDER_THIN);
  const lxw_col_t last = static_cast<lxw_col_t>(model.headings.size() - 1);
  worksheet_merge_range(sheet, 0, 0, 0, last, "Tavrilon", name);
  worksheet_merge_range(sheet, 1, 0, 1, last, model.title, title);
  worksheet_write_string(sheet, 2, 0, "Modèle de classeur / Workbook model", note);
  for (lxw_col_t c = 0; c <= last; ++c) {
    worksheet_write_string(sheet, 4, c, model.headings[c], heading);
    worksheet_set_column(sheet, c, c, c == 0 ? 34 : 18, nullptr);
  }
  worksheet_freeze_panes(sheet, 5, 0);
  worksheet_write_string(workbook_add_worksheet(book, "Tavrilon"), 0, 0,
                         "Modèle d'exemple de Tavrilon / Tavrilon sample model", note);
  if (model.dataCell != nullptr) workbook_define_name(book, "DATA", model.dataCell);
  return workbook_close(book) == LXW_NO_ERROR;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tvr_xlmodels <folder>\n");
    return 2;
  }
  for (const CSampleModel& model : kModels) {
    if (!WriteModel(argv[1], model)) {
      std::fprintf(stderr, "tvr_xlmodels: cannot write %s in %s\n", model.file, argv[1]);
      return 1;
    }
  }
  return 0;
}
