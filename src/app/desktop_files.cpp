#include "app/desktop_files.h"

#include <array>
#include <string_view>

#include "app/language_mapping.h"
#include "platform/text_encoding.h"

namespace {

constexpr std::array<CDocumentType, 4> kDocumentTypes = {{
    {"application/x-tavrilon-layout", "*.run", "Tavrilon layout document",
     "Document d'implantation Tavrilon", true},
    {"application/x-tavrilon-linear", "*.lin", "Tavrilon linear costing project",
     "Projet de chiffrage linéaire Tavrilon", true},
    {"application/x-tavrilon-reference", "*.ref", "Tavrilon costing-by-reference project",
     "Projet de chiffrage par référence Tavrilon", true},
    // The program reads customer files from within a document; they do not open alone.
    {"application/x-tavrilon-customer", "*.t0p", "Tavrilon customer file",
     "Fichier client Tavrilon", false},
}};

// Characters that make an Exec argument need double quotes.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
// Characters that must be escaped with a backslash inside those quotes.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

bool HasControlCharacter(std::string_view text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7f) return true;
  return false;
}

// The argument quoted as the Exec rules want it, before the escapes of a string value.
std::string QuotedExecArgument(std::string_view argument) {
  if (argument.find_first_of(kReservedInExec) == std::string_view::npos)
    return std::string(argument);
  std::string quoted = "\"";
  for (char c : argument) {
    if (kEscapedInQuotes.find(c) != std::string_view::npos) quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

// The escapes every string value of a desktop entry takes, and '%', which would
// otherwise start a field code.
std::string EscapedExecValue(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\') escaped += "\\\\";
    else if (c == '%') escaped += "%%";
    else escaped += c;
  }
  return escaped;
}

std::string MimeTypeList() {
  std::string list;
  for (const CDocumentType& type : kDocumentTypes)
    if (type.openedByProgram) list += std::string(type.mimeType) + ';';
  return list;
}

}  // namespace

std::span<const CDocumentType> ProgramDocumentTypes() { return kDocumentTypes; }

std::string DesktopExecProgram(const std::string& programPath) {
  if (programPath.empty() || HasControlCharacter(programPath) ||
      !tvr::platform::IsValidUtf8(programPath))
    return {};
  return EscapedExecValue(QuotedExecArgument(programPath));
}

std::string DesktopEntryText(const std::string& execProgram) {
  return std::string(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=") +
         CLanguageMapping::kDefaultApplicationName +
         "\n"
         "GenericName=Busbar trunking design and costing\n"
         "GenericName[fr]=Conception et chiffrage de canalisations électriques préfabriquées\n"
         "Comment=Lay out busbar trunking runs and cost them from the catalogue\n"
         "Comment[fr]=Implanter des lignes de canalisations préfabriquées et les chiffrer sur "
         "catalogue\n"
         "Icon=tvr\n"
         "Exec=" +
         execProgram +
         " %f\n"
         "Terminal=false\n"
         "Categories=Office;Engineering;\n"
         "MimeType=" +
         MimeTypeList() + "\n";
}

std::string MimePackageText() {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const CDocumentType& type : kDocumentTypes) {
    text += std::string("  <mime-type type=\"") + type.mimeType + "\">\n";
    text += std::string("    <comment>") + type.comment + "</comment>\n";
    text += std::string("    <comment xml:lang=\"fr\">") + type.frenchComment + "</comment>\n";
    text += std::string("    <glob pattern=\"") + type.pattern + "\"/>\n";
    text += "  </mime-type>\n";
  }
  return text + "</mime-info>\n";
}

std::vector<CDesktopFile> DesktopFiles(const std::string& execProgram) {
  return {{kIconPath, ProgramIconSvg()},
          {kMimePackagePath, MimePackageText()},
          {kDesktopEntryPath, DesktopEntryText(execProgram)}};
}
