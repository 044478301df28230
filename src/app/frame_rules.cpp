#include "app/frame_rules.h"

#include <cctype>
#include <vector>

namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ReplacedAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string KindList(const CModeAvailability& availability) {
  std::string list;
  auto add = [&list](const char* pattern) {
    list += (list.empty() ? "" : ";") + std::string(pattern);
  };
  if (!availability.noGraphical) add("*.run");
  if (!availability.noReference) add("*.ref");
  if (!availability.noLinear) add("*.lin");
  return list;
}

}  // namespace

std::string TemplateDescription(const std::string& templateText) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = templateText.find('\n', start)) != std::string::npos;
       start = end + 1)
    lines.push_back(templateText.substr(start, end - start));
  lines.push_back(templateText.substr(start));
  std::string description = lines.size() >= 4 ? lines[3] : templateText;
  if (description.find("(*.run)") == std::string::npos)
    description += description.empty() ? "(*.run)" : " (*.run)";
  return description;
}

CModeAvailability ModeAvailabilityFromSettings(const std::string& noML, const std::string& noRF,
                                               const std::string& no3D, const std::string& noDRNE) {
  CModeAvailability availability;
  availability.noLinear = noML == "1";
  availability.noReference = noRF == "1";
  availability.noGraphical = no3D == "1" || noDRNE == "1";
  if (availability.noLinear && availability.noReference) availability.noGraphical = false;
  return availability;
}

int StartModeWithoutDialog(bool offerLinear, bool offerReference, bool offerGraphical) {
  if (offerLinear && !offerReference && !offerGraphical) return kStartLinear;
  if (offerReference && !offerLinear && !offerGraphical) return kStartReference;
  if (!offerLinear && !offerReference) return kStartGraphical;
  return 0;
}

EFileKind ClassifyFileByExtension(const std::string& path) {
  if (path.size() <= 4) return EFileKind::Layout;
  std::string extension = Lowered(path.substr(path.size() - 4));
  if (extension == ".lin") return EFileKind::Linear;
  if (extension == ".ref") return EFileKind::Reference;
  return EFileKind::Layout;
}

COpenFileFilter BuildOpenFileFilter(EFrameMode mode, const CModeAvailability& availability,
                                    const std::string& templateText,
                                    const std::string& allFilesText, const std::string& refText,
                                    const std::string& linText) {
  const std::string runEntry = TemplateDescription(templateText) + "|*.run|";
  // A costing file named a layout ("Tavrilon layouts (*.ref)") told the user wrong.
  const std::string refEntry =
      refText.empty() ? ReplacedAll(runEntry, "*.run", "*.ref") : refText + "|*.ref|";
  const std::string linEntry =
      linText.empty() ? ReplacedAll(runEntry, "*.run", "*.lin") : linText + "|*.lin|";
  COpenFileFilter result;
  switch (mode) {
    case EFrameMode::Graphical:
      result.filter = runEntry + (availability.noReference ? "" : refEntry) +
                      (availability.noLinear ? "" : linEntry);
      result.defaultExtension = "run";
      break;
    case EFrameMode::Linear:
      result.filter = linEntry + (availability.noGraphical ? "" : runEntry) +
                      (availability.noReference ? "" : refEntry);
      result.defaultExtension = "lin";
      break;
    case EFrameMode::Reference:
      result.filter = refEntry + (availability.noGraphical ? "" : runEntry) +
                      (availability.noLinear ? "" : linEntry);
      result.defaultExtension = "ref";
      break;
    default:  // the start mode offers what the empty mode offers
      result.filter = ReplacedAll(runEntry, "*.run", KindList(availability));
      result.defaultExtension = availability.noGraphical ? "" : "run";
      break;
  }
  result.filter += allFilesText + "|*.*||";
  return result;
}

std::string HelpIndexPage(EFrameMode mode) {
  switch (mode) {
    case EFrameMode::Graphical: return "INDEX_2.htm";
    case EFrameMode::Linear: return "INDEX_1.htm";
    case EFrameMode::Reference: return "INDEX_3.htm";
    default: return {};
  }
}

std::string TutorialPage(EFrameMode mode) {
  switch (mode) {
    case EFrameMode::Graphical: return "DIDAC_2.htm";
    case EFrameMode::Linear: return "DIDAC_1.htm";
    case EFrameMode::Reference: return "DIDAC_3.htm";
    default: return {};
  }
}
