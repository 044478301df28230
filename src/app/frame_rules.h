#pragma once

#include <string>

// The rules of the main frame that do not depend on windows: its modes, which ways of
// working are offered, how a file is dispatched and which file types the open dialog
// lists, and the help pages of each mode.

enum class EFrameMode { Start = 0, Empty = 1, Graphical = 2, Linear = 3, Reference = 4 };

// Results of the start-mode choice.
constexpr int kStartLinear = 10;
constexpr int kStartReference = 20;
constexpr int kStartGraphical = 30;

struct CModeAvailability {
  bool noLinear = false;
  bool noReference = false;
  bool noGraphical = false;
};

// From the texts of [Database] "NoML", "NoRF", "No3D" and "NoDRNE" (each true only when
// it is "1"); graphical work is unavailable when "No3D" is "1", or else when "NoDRNE"
// is, and it is always available when neither of the other two is.
CModeAvailability ModeAvailabilityFromSettings(const std::string& noML, const std::string& noRF,
                                               const std::string& no3D, const std::string& noDRNE);

// The start-mode dialog is not shown when only one way is offered: the result of that
// way, else 0 (the dialog must ask).
int StartModeWithoutDialog(bool offerLinear, bool offerReference, bool offerGraphical);

enum class EFileKind { Layout, Linear, Reference };

// By the last four characters of the path (".lin", ".ref", any letter case); any other
// file, and a path of four characters or fewer, is a layout document.
EFileKind ClassifyFileByExtension(const std::string& path);

// The filter of the open dialog in its stored form "description|patterns|...|" and the
// default extension (empty for none).
struct COpenFileFilter {
  std::string filter;
  std::string defaultExtension;
};

// The description of layout documents in the document-template text of message 18: its
// fourth line when it has one, else the whole text, ending in "(*.run)" either way.
std::string TemplateDescription(const std::string& templateText);

// templateText is the document-template text of message 18 (its fourth line, which ends
// in "(*.run)", is the description; a text of one line is taken whole and given the
// pattern when it lacks it); allFilesText the description of all files.
// refText and linText, when given, describe the costing files by their own names
// ("Costings by reference (*.ref)"); without them the layouts' description is taken
// for them too.
COpenFileFilter BuildOpenFileFilter(EFrameMode mode, const CModeAvailability& availability,
                                    const std::string& templateText,
                                    const std::string& allFilesText,
                                    const std::string& refText = {},
                                    const std::string& linText = {});

// The pages of the help file for the help index and the tutorial commands; empty
// means the help file's own first page.
std::string HelpIndexPage(EFrameMode mode);
std::string TutorialPage(EFrameMode mode);
