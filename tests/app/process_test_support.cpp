#include "process_test_support.h"

namespace fs = std::filesystem;

std::string CScriptFolder::AddScript(const std::string& name, const std::string& body) const {
  const std::string path = m_folder.WriteFile(name, "#!/bin/sh\n" + body + "\n");
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
  return path;
}
