#pragma once

// The reference core as the windows include it. Qt defines "slots" as a macro, and a
// reference line has a member of that name (its tap-off slots): the core's headers are
// read here with the macro set aside, and window code reaches the slots only through
// core functions.
#pragma push_macro("slots")
#undef slots
#include "reference/ref_catalogue.h"
#include "reference/ref_choice_panel.h"
#include "reference/ref_config.h"
#include "reference/ref_equipment.h"
#include "reference/ref_export_records.h"
#include "reference/ref_exports.h"
#include "reference/ref_file.h"
#include "reference/ref_line.h"
#include "reference/ref_line_controls.h"
#include "reference/ref_line_edit.h"
#include "reference/ref_line_page.h"
#include "reference/ref_option_rules.h"
#include "reference/ref_project.h"
#include "reference/ref_project_lines.h"
#include "reference/ref_rating_entries.h"
#include "reference/ref_rating_texts.h"
#include "reference/ref_report.h"
#include "reference/ref_schematic_layout.h"
#include "reference/ref_comparison.h"
#include "reference/ref_comparison_view.h"
#include "reference/ref_compl_pages.h"
#pragma pop_macro("slots")
