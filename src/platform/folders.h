#pragma once

#include <string>

// The folders of the program, in their Linux forms. Every folder text ends with '/'.
namespace tvr::platform {

// The folder of the running executable (where DBF/, BD/ and the models lie).
std::string ProgramFolder();

// $XDG_CONFIG_HOME/TVR73/, else ~/.config/TVR73/. Created when missing so that
// settings are never silently lost; an empty result means it could not be created.
std::string SettingsFolder();

// $XDG_DATA_HOME/, else ~/.local/share/: where the desktop looks for the user's own
// program entries, file types and icons. Never created here.
std::string DataHomeFolder();

// $XDG_DOCUMENTS_DIR, else ~/Documents when it exists, else the home folder.
std::string DocumentsFolder();

// Appends a '/' unless the text is empty or already ends with one.
std::string WithTrailingSlash(std::string folder);

// True when the path names an existing folder.
bool IsFolder(const std::string& path);

// Creates the folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace tvr::platform
