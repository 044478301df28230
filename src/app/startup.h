#pragma once

#include <string>
#include <vector>

// The command line of a start: the file to open (empty for none) and the switch
// "/nsplash", which suppresses the splash window, the start information dialog and the
// hand-over to a running copy. The program passes the switch as its own last argument
// when it restarts itself; it is recognised only there.
struct CStartCommandLine {
  std::string file;
  bool noSplash = false;
};

// From the arguments after the program name. The remaining arguments are joined with
// one blank, as the one command-line text of the program is (a path with blanks that
// the shell split is so put together again).
CStartCommandLine ParseStartCommandLine(const std::vector<std::string>& arguments);

// The arguments of a restart in another language: the file of this start, if any,
// then "/nsplash".
std::vector<std::string> RelaunchArguments(const CStartCommandLine& commandLine);

// The name of the local server by which a running copy is found: one per user, so
// that two users of one machine each run their own copy.
std::string SingleInstanceName(unsigned userId);
std::string SingleInstanceName();  // of the running user
