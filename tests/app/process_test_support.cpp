#include "process_test_support.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

CScriptFolder::CScriptFolder() {
  static int counter = 0;
  m_path = fs::temp_directory_path() /
           ("tvr-scripts-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  fs::create_directories(m_path);
}

CScriptFolder::~CScriptFolder() {
  std::error_code error;
  fs::remove_all(m_path, error);
}

std::string CScriptFolder::AddScript(const std::string& name, const std::string& body) const {
  fs::path path = m_path / name;
  std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
  return path.string();
}

std::string CScriptFolder::ReadFile(const std::string& name) const {
  std::ifstream in(m_path / name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void CScriptFolder::Touch(const std::string& name) const { std::ofstream(m_path / name) << ""; }
