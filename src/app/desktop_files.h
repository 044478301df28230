#pragma once

#include <span>
#include <string>
#include <vector>

// The files by which a Linux desktop knows the program: its desktop entry (name, icon,
// command, the document types it opens), the shared-MIME-info package that names its
// documents, and its icon. The same texts are installed under the prefix by the build
// and kept current for the user at start-up.

// One document kind of the program.
struct CDocumentType {
  const char* mimeType;
  const char* pattern;  // matched in any letter case, as shared-mime-info does by default
  const char* comment;
  const char* frenchComment;
  bool openedByProgram;  // named in the desktop entry: a double click opens it here
};

// Layout documents, linear and reference projects, customer files.
std::span<const CDocumentType> ProgramDocumentTypes();

// One file and what it holds; the path is relative to a data folder ("share").
struct CDesktopFile {
  std::string path;
  std::string content;
};

inline constexpr const char* kDesktopEntryPath = "applications/tvr.desktop";
inline constexpr const char* kMimePackagePath = "mime/packages/tvr.xml";
inline constexpr const char* kIconPath = "icons/hicolor/scalable/apps/tvr.svg";

// The program as the Exec key of a desktop entry writes it: the path alone when it
// needs no quoting, else in double quotes with the entry's escapes (so that blanks,
// quotes, '$', '\' and '%' reach the program unchanged). Empty when the path cannot be
// written there at all: empty, not UTF-8, or holding a control character.
std::string DesktopExecProgram(const std::string& programPath);

// The desktop entry; execProgram as DesktopExecProgram gives it.
std::string DesktopEntryText(const std::string& execProgram);
std::string MimePackageText();
std::string ProgramIconSvg();

// The three files in the order they are best written: the icon and the file types
// before the entry that names them.
std::vector<CDesktopFile> DesktopFiles(const std::string& execProgram);
