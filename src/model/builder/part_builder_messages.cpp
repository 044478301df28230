#include "app/message_text.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/builder/part_builder.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <cstdlib>

namespace {

std::string FormatLengthIn(const CRun& run, std::int64_t length) {
  if (run.GetDocument() != nullptr)
    return run.GetDocument()->GetUnits().FormatLength(static_cast<double>(length));
  return CDimension::Metric().FormatLength(static_cast<double>(length));
}

std::string ShapeNoun(std::string_view text) {
  if (text == "PLAT") return LookupText(30115);
  if (text == "CHANT") return LookupText(31541);
  if (text == "ZARBI") return LookupText(31542);
  return {};
}

// The noun of an element that the length and reference checks name.
std::string ElementNoun(std::string_view kindText, std::string_view text) {
  if (kindText == "ZP" || kindText == "ZC" || kindText == "ZL" || kindText == "CP" ||
      (text.starts_with("QPA") && (kindText == "DZ" || kindText == "DM")) ||
      (text.starts_with("QJF") && text.size() > 5 && (text[5] == 'M' || text[5] == 'N'))) {
    return LookupText(30113);
  }
  if (kindText == "ER" && text.starts_with("QM0") && text.size() >= 12 &&
      std::atoi(std::string(text.substr(10, 2)).c_str()) > 2) {
    return LookupText(30114);
  }
  return {};
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string RestAfterFirstLine(const std::string& text) {
  const std::size_t end = text.find('\n');
  return end == std::string::npos ? std::string() : text.substr(end + 1);
}

}  // namespace

void CPartBuilder::FormatPartLabel(CDev* element, int state, std::string_view text,
                                   std::int32_t value1, std::int32_t value2) {
  int admitted = m_messages.Admit(element, state);
  if (admitted < 0) return;
  const CCheckMessage* current = m_messages.Current();
  CCheckMessage message;
  message.element = element;
  if (state == 17) {
    // Completes the pending shortfall with the length this end has of its own.
    const CCheckMessage& remembered = m_messages.GetRemembered();
    message = remembered;
    message.element = current->element;
    message.value1 = static_cast<std::int32_t>(std::int64_t{value1} + remembered.value1);
    message.value2 = static_cast<std::int32_t>(std::int64_t{remembered.value2} + value1);
    m_messages.Store(13, state, std::move(message));
    return;
  }
  if (state == 9) {
    message.element = current->element;
    admitted = current->state;
  }
  if (state == 12 && current->state == 13) {
    admitted = 13;
    value1 = static_cast<std::int32_t>(std::int64_t{value1} + m_messages.GetRemembered().value1);
  }
  message.problem = ComposeProblem(*element, state, text, value1, value2, message.solution);
  message.value1 = value1;
  message.value2 = value2;
  m_messages.Store(admitted, state, std::move(message));
}

std::string CPartBuilder::ComposeProblem(CDev& element, int state, std::string_view text,
                                         std::int32_t& value1, std::int32_t value2,
                                         std::string& solution) {
  const std::string kindText = m_run.GetKindText(element.GetKind(), element.GetVariant());
  const std::string noun = state >= 10 && state <= 13 ? ElementNoun(kindText, text) : std::string();
  const CCheckMessage* current = m_messages.Current();
  const std::string catalog = m_run.GetPropText("Catalog");
  std::string upper = catalog;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  switch (state) {
    case 0: solution = LookupText(31562); return LookupText(31561);
    case 1: return FormatMessageText(31543, "sss", ShapeNoun(text), kindText, upper);
    case 2: {
      const int kind = element.GetKind();
      const int variant = element.GetVariant();
      const std::string own = kind == CDev::kEnd && variant == 0             ? LookupText(30001)
                              : kind == CDev::kInLineVariant && variant == 0 ? LookupText(30008)
                                                                             : std::string();
      solution = LookupText(31545);
      return FormatMessageText(31544, "s", own);
    }
    case 3:
      if (value2 == value1)
        return FormatMessageText(31543, "sss", ShapeNoun(text), kindText, upper) + " A";
      return FormatMessageText(value1 < 0 ? 31559 : 31560, "dss", std::abs(std::int64_t{value1}),
                               ShapeNoun(text), text == "EH" ? LookupText(30067) : std::string());
    case 4: {
      const auto* options = m_run.GetOptionList();
      std::string option;
      if (options != nullptr && value1 >= 0 && static_cast<std::size_t>(value1) < options->size()) {
        option = (*options)[static_cast<std::size_t>(value1)].label;
      }
      return FormatMessageText(31543, "s", option);
    }
    case 5:
      if (text.empty()) {
        solution = FormatMessageText(30167, "s", catalog.substr(0, 2));
        return FormatMessageText(30166, "s", LookupText(30001));
      }
      solution = kindText == "EDF" ? LookupText(30182) : std::string();
      return FormatMessageText(31548, "ss", kindText, std::string(text));
    case 7: solution = RestAfterFirstLine(LookupText(30096)); return FirstLine(LookupText(30096));
    case 8: return FormatMessageText(31543, "s", LookupText(30095));
    case 9:
      solution = current->solution + "\n\n" + LookupText(31550) + "\n" +
                 FormatMessageText(31551, "ss", LookupText(31541), FormatLengthIn(m_run, 700)) +
                 "\n" +
                 FormatMessageText(31551, "ss", LookupText(30115), FormatLengthIn(m_run, 300)) +
                 "\n" + FormatMessageText(31552, "s", FormatLengthIn(m_run, 200));
      return current->problem;
    case 10:
    case 11:
      solution = FormatMessageText(31549, "ss", FormatLengthIn(m_run, value1),
                                   FormatLengthIn(m_run, value2));
      return FormatMessageText(31548, "ss", kindText, noun);
    case 12:
    case 13: {
      std::string head;
      if (state == 12 && current->state == 13) head = FirstLine(current->problem) + "\n";
      solution = FormatMessageText(31547, "s", FormatLengthIn(m_run, value1));
      return head + FormatMessageText(31546, "sss", FormatLengthIn(m_run, value2), kindText, noun);
    }
    case 14:
      solution = FormatMessageText(value1 <= 0 ? 30196 : 31554, "s",
                                   FormatLengthIn(m_run, std::abs(std::int64_t{value1})));
      return FormatMessageText(31553, "s", FormatLengthIn(m_run, value2));
    case 15: {
      std::string problem = FormatMessageText(31555, "s", m_run.GetKindText(CDev::kInLine, 1));
      if (value1 != 0) {
        const std::string shortfall = FormatMessageText(31546, "s", FormatLengthIn(m_run, value1));
        problem = value2 != 0 ? shortfall : problem + "\n" + shortfall;
      }
      solution = value2 != 0 ? std::string() : LookupText(31556);
      return problem;
    }
    case 16: solution = LookupText(31558); return LookupText(31557);
    case 19:
      solution = value2 != 0 ? LookupText(value2) : std::string();
      return value1 != 0 ? LookupText(value1) : std::string();
    default: return {};
  }
}
