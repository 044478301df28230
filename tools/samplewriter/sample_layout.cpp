#include "samplewriter/sample_layout.h"

#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"

#include <charconv>
#include <memory>
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

std::string JoinedFrom(const std::vector<std::string>& words, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < words.size(); ++i) text += (i > first ? " " : "") + words[i];
  for (char& c : text)
    if (c == '|') c = '\n';
  return text;
}

// A label of the document placed in 1/2000 of the window.
void AddFreeLabel(CDorneDoc& document, int kind, int x, int y, const std::string& text) {
  auto label = std::make_unique<CAnnotationLabel>(kind);
  label->SetOwnerDocument();
  label->SetOffset(x, y);
  label->SetText(text);
  if (kind == CAnnotation::kText) label->SetOpaque(1);
  document.Annotations().Append(std::move(label));
}

// A text on an element, half a metre above it on the screen.
void AddElementNote(CDorneDoc& document, CDev& element, const std::string& text) {
  auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kText);
  label->SetOwnerElement(&element);
  label->SetFlags(label->GetFlags() | CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached);
  label->SetOffset(0, 500);
  label->SetText(text);
  document.Annotations().Append(std::move(label));
}

// A user dimension between the body boxes' origins of two elements.
void AddDimension(CDorneDoc& document, CDev& first, CDev& second) {
  auto label = std::make_unique<CAnnotationLabel>(CAnnotation::kDistance);
  label->SetOwnerDocument();
  label->SetEnd(0, &first);
  label->SetEnd(1, &second);
  label->SetDimensionCodes({CDev::kBodySlot, 9, CDev::kBodySlot, 9});
  label->SetPoint(0, first.GetPosition());
  label->SetPoint(1, second.GetPosition());
  label->SetLabelPoint((second.GetPosition() - first.GetPosition()) * 0.5 + C3DPoint(0, 0, 800));
  document.Annotations().Append(std::move(label));
}

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
    } else if (words[0] == "kit" && (words.size() == 3 || words.size() == 4) &&
               Number(words[1], a) && Number(words[2], b) && a >= 0 && a < CDev::kFaceCount) {
      int kind = CDev::kInLine;
      if (words.size() == 4 &&
          (!Number(words[3], kind) || (kind != CDev::kInLine && kind != CDev::kInLineVariant)))
        return fail("no kind of in-line piece");
      // The unit takes the direction of the element ahead: one behind would point it
      // back into the line.
      CDev* ahead = at->GetNeighbour(a);
      if (ahead == nullptr || ahead->GetDirection() != a) return fail("no line ahead at the face");
      // A special piece is laid as its design tool lays it, on the box of the straight
      // that the element ahead carries.
      const CBox* line = ahead->GetBox(ahead->GetBackFace());
      const int inserted = kind == CDev::kInLine ? at->InsertRiserFixing(a, b, 0)
                           : line == nullptr     ? 0
                                                 : ahead->InsertOnLineAt(b, line, kind);
      if (inserted == 0) return fail("the kit does not fit");
      at = at->GetNeighbour(a);
    } else if (words[0] == "variant" && words.size() == 2 && Number(words[1], a) && a >= 0 &&
               a < 256 &&
               (at->GetKind() == CDev::kInLine || at->GetKind() == CDev::kInLineVariant)) {
      SetVariant(*at->GetRun(), *at, a);
    } else if (words[0] == "field" && words.size() == 3) {
      at->SetPropValue(words[1], words[2]);
    } else if (words[0] == "prop" && words.size() == 3) {
      at->GetRun()->SetProp(words[1], words[2]);
    } else if (words[0] == "name" && words.size() == 2) {
      at->GetRun()->SetProp("Name", words[1]);
    } else if ((words[0] == "text" || words[0] == "picture") && words.size() >= 4 &&
               Number(words[1], a) && Number(words[2], b)) {
      AddFreeLabel(document, words[0] == "text" ? CAnnotation::kText : CAnnotation::kImage, a, b,
                   JoinedFrom(words, 3));
    } else if (words[0] == "note" && words.size() >= 3 && Number(words[1], a)) {
      if (a < 0 || a >= static_cast<int>(laid.size())) return fail("no such element");
      AddElementNote(document, *laid[static_cast<std::size_t>(a)], JoinedFrom(words, 2));
    } else if (words[0] == "dimension" && words.size() == 3 && Number(words[1], a) &&
               Number(words[2], b)) {
      const auto count = static_cast<int>(laid.size());
      if (a < 0 || b < 0 || a >= count || b >= count || a == b) return fail("no such elements");
      AddDimension(document, *laid[static_cast<std::size_t>(a)],
                   *laid[static_cast<std::size_t>(b)]);
    } else if (words[0] == "end" && words.size() == 2 && Number(words[1], a)) {
      if (at->MakeEnd(nullptr) == 0) return fail("no free straight end");
      SetVariant(*at->GetRun(), *at, a);
    } else {
      return fail("not understood");
    }
  }
  return std::string();
}
