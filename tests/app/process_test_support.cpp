#include "process_test_support.h"

#include <unistd.h>

#include "app/child_process.h"

namespace fs = std::filesystem;

std::string CScriptFolder::AddScript(const std::string& name, const std::string& body) const {
  const std::string path = m_folder.WriteFile(name, "#!/bin/sh\n" + body + "\n");
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
  return path;
}

std::string CScriptFolder::AddWaiter(const std::string& name) const {
  return AddScript(name,
                   "d=$(dirname \"$0\"); while [ ! -e \"$d/release\" ] && [ -d \"$d\" ]; "
                   "do sleep 0.02; done; touch \"$d/done\"");
}

bool WaitUntil(const std::function<bool()>& condition) {
  for (int round = 0; round < 500; ++round) {
    if (condition()) return true;
    ::usleep(20000);
  }
  return condition();
}

bool ReapAllOrphans() {
  return WaitUntil([] {
    CChildProcess::ReapOrphans();
    return CChildProcess::OrphanCount() == 0;
  });
}
