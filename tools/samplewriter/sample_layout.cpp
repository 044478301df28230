#include "samplewriter/sample_layout.h"

#include "model/bom_grid.h"
#include "model/dev.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "model/run_factory.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::istringstream in{std::string(line.substr(0, line.find('#')))};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool Number(const std::string& text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size();
}

// The element's reference becomes the default of its kind and variant, its bill line
// following.
void SetVariant(CRun& run, CDev& element, int variant) {
  run.GetBOM().RemoveRefQuantity(element.GetReference(), 1);
  element.SetVariantBoth(variant);
  element.SetReference(run.GetKindText(element.GetKind(), variant));
  run.GetBOM().AddRefQuantity(element.GetReference(), 1);
  // Its boxes follow, as the element pages make them.
  element.BuildBoxes(0);
}

CDev* StartRun(CDorneDoc& document, const std::string& code, const std::string& rating, int index) {
  std::unique_ptr<CRun> made = CRunFactory::Instance().CreateForCatalog(code, &document);
  CRun& run = *made;
  document.AddRun(std::move(made));
  run.SetRotationFlag(16);
  run.SetProp("Calibre", rating);
  CDev* start = run.NewElement();
  start->SetKind(CDev::kEnd);
  start->SetActive(1);
  start->SetEdited();
  start->SetDirection(4);
  start->SetRotation(run.GetRotation());
  start->SetCalibre(rating);
  start->SetPosition(C3DPoint(0, 0, -4000.0 * index));
  for (int face = 0; face < CDev::kFaceCount; ++face) start->SetFreeFace(face, face == 4);
  const CReferenceRow housing = run.FindReference();
  start->SetFrontOffsets({0, housing.Width(), housing.Height()});
  start->SetBackOffsets({0, housing.Width(), housing.Height()});
  start->SetReference(run.GetKindText(CDev::kEnd, 0));
  run.AddDevice(start);
  run.SetCurrentElement(start);
  run.SetFlagsWord(1);
  start->MakeBox(CDev::kBodySlot);
  start->BuildBoxes(0);
  document.SetCurrentRun(&run);
  return start;
}

// Bits of the style word that the feed-unit pages set; the rebuild starts from the second
// style word, so both take them.
void AddStyleBits(CDev& element, std::uint32_t bits) {
  element.SetStyle(element.GetStyle() | bits);
  element.SetStyle2(element.GetStyle2() | bits);
  element.BuildBoxes(0);
}

bool HexNumber(const std::string& text, std::uint32_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return error == std::errc{} && end == text.data() + text.size();
}

}  // namespace

std::string LayOutSample(CDorneDoc& document, std::string_view layout,
                         std::vector<CDev*>* laidOut) {
  std::istringstream in{std::string(layout)};
  CDev* at = nullptr;
  std::vector<CDev*> own;
  std::vector<CDev*>& laid = laidOut != nullptr ? *laidOut : own;
  int lineNumber = 0, runs = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNumber;
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    const auto fail = [&](const char* what) {
      return "line " + std::to_string(lineNumber) + ": " + what;
    };
    int a = 0, b = 0;
    std::uint32_t bits = 0;
    if (words[0] == "run" && words.size() == 3) {
      at = StartRun(document, words[1], words[2], runs++);
      laid.assign(1, at);
    } else if (at == nullptr) {
      return fail("no run begun");
    } else if (words[0] == "start" && words.size() == 2 && Number(words[1], a)) {
      CRun& run = *at->GetRun();
      SetVariant(run, *run.GetFirstElement(), a);
    } else if (words[0] == "go" && words.size() == 3 && Number(words[1], a) &&
               Number(words[2], b)) {
      CDev* next = at->AddStraightToward(a, b);
      if (next == nullptr) return fail("the face is taken");
      at = next;
      laid.push_back(at);
    } else if (words[0] == "from" && words.size() == 2 && Number(words[1], a)) {
      if (a < 0 || a >= static_cast<int>(laid.size())) return fail("no such straight");
      at = laid[static_cast<std::size_t>(a)];
    } else if (words[0] == "entrax" && words.size() == 2 && Number(words[1], a) && a >= 0 &&
               a < 16) {
      at->SetStyle(at->GetStyle() & ~0x00F00000u);
      at->SetStyle2(at->GetStyle2() & ~0x00F00000u);
      AddStyleBits(*at, static_cast<std::uint32_t>(a) << 20);
    } else if (words[0] == "style" && words.size() == 2 && HexNumber(words[1], bits)) {
      AddStyleBits(*at, bits);
    } else if (words[0] == "type" && words.size() == 2 && Number(words[1], a) && a >= 0 && a < 16) {
      // What a straight laid after it inherits is replaced, not added to.
      at->SetVariantIndexBoth(a);
      at->BuildBoxes(0);
    } else if (words[0] == "name" && words.size() == 2) {
      at->GetRun()->SetProp("Name", words[1]);
    } else if (words[0] == "end" && words.size() == 2 && Number(words[1], a)) {
      if (at->MakeEnd(nullptr) == 0) return fail("no free straight end");
      SetVariant(*at->GetRun(), *at, a);
    } else {
      return fail("not understood");
    }
  }
  return std::string();
}
