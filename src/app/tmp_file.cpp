#include "app/tmp_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "platform/folders.h"

CTmpFile::CTmpFile() : CTmpFile(tvr::platform::SettingsFolder()) {}

CTmpFile::CTmpFile(const std::string& folder) {
  if (folder.empty())
    throw std::system_error(ENOENT, std::generic_category(), "no folder for a temporary file");
  std::string pattern = tvr::platform::WithTrailingSlash(folder) + "~TMPXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) throw std::system_error(errno, std::generic_category(), pattern);
  ::close(descriptor);
  m_path = name.data();
}

CTmpFile::~CTmpFile() {
  Close();
  std::remove(m_path.c_str());
}

bool CTmpFile::Reopen(std::ios::openmode mode) {
  Close();
  m_stream.open(m_path, mode);
  return m_stream.is_open();
}

void CTmpFile::Close() {
  if (m_stream.is_open()) m_stream.close();
  m_stream.clear();
}
