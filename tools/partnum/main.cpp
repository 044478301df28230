// PARTNUM.EXE, our stand-in for the part-number program of the part-number import:
//   PARTNUM.EXE <catalogue text> PARTNUM <caller's name> <answer file>
// The real program lets the user compose articles; here the choice is read from the text
// file named by TVR_PARTNUM_PICKS, else "partnum_picks.txt" in the working folder: one
// "<reference>;<quantity>" a line. Every reference found in the article table (BD/ beside
// this program) is answered with one line "$;<reference>;<quantity>;<designation>;<price>"
// (four ';', the designation's own ';' turned into ','), in the ANSI code page (CP1252) as
// the real program writes it. No choice file: an empty answer.
// Exit codes: 0 done, 2 bad arguments, 3 article table unreadable, 4 answer not written.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/article_table.h"
#include "platform/code_page.h"
#include "platform/dbf_table.h"

namespace {

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("./") : self.parent_path().string() + "/";
}

std::string Trim(std::string text) {
  const std::size_t first = text.find_first_not_of(" \r\t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \r\t") - first + 1);
}

std::string Field(const tvr::platform::CDbfTable& table, const char* name) {
  const int field = table.FieldIndex(name);
  std::string text = field >= 0 ? Trim(table.FieldText(field)) : std::string();
  for (char& c : text) {
    if (c == ';' || c == '\n' || c == '\r') c = ',';
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: PARTNUM.EXE <catalogue> PARTNUM <caller> <answer file>\n";
    return 2;
  }
  const char* named = std::getenv("TVR_PARTNUM_PICKS");
  std::ifstream picks(named != nullptr ? named : "partnum_picks.txt");
  std::ofstream answer(argv[4], std::ios::binary | std::ios::trunc);
  if (!answer) return 4;
  if (!picks) return 0;
  tvr::platform::CDbfTable table;
  if (!OpenArticleTable(table, ProgramFolder() + "BD/", tvr::platform::CDbfTable::Mode::ReadOnly))
    return 3;
  for (std::string line; std::getline(picks, line);) {
    const std::size_t separator = line.find(';');
    if (separator == std::string::npos) continue;
    const std::string reference = Trim(line.substr(0, separator));
    const std::string quantity = Trim(line.substr(separator + 1));
    if (reference.empty() || !SeekArticle(table, reference)) continue;
    const std::string answered = "$;" + reference + ';' + quantity + ';' +
                                 Field(table, "DESIGN_2") + ';' + Field(table, "PRIX_1");
    answer << tvr::platform::ToAnsi(answered) << "\r\n";
  }
  return answer.flush() ? 0 : 4;
}
