// Writes the model document that new layout documents start from: a new document made
// and saved by the program's own document code.
//   tvr_modelwriter <path of model.run>

#include "model/dorne_doc.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tvr_modelwriter <model.run>\n");
    return 2;
  }
  CDorneDoc document;
  // No creation date: a document made from the model takes its own.
  document.OnNewDocument("");
  const CDocFileResult result = document.OnSaveDocument(argv[1]);
  if (!result.ok) {
    std::fprintf(stderr, "tvr_modelwriter: %s: %s\n", argv[1], result.text.c_str());
    return 1;
  }
  return 0;
}
