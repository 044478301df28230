#include "model/undo/undo_actions.h"

#include "app/message_text.h"
#include "platform/utf8_text.h"

#include <array>
#include <utility>

namespace undo_actions {

namespace {

constexpr std::size_t kMaxMenuCharacters = 75;
constexpr int kZoom = 23083;
constexpr int kPan = 23085;
// Steps that no menu command names are named by a message of their own.
constexpr int kMsgEditBOMStep = 8164;
// "%1 : %2": the undo text and the step it undoes, as the language sets them apart.
constexpr int kMsgStepOfUndo = 62400;

std::string WithStep(const std::string& base, const std::string& step) {
  std::string text = LookupText(kMsgStepOfUndo);
  if (text.empty()) return base + " : " + step;
  return FormatMessageTextSS(text, base, step);
}

constexpr std::array<std::pair<int, int>, 37> kActionCommands = {{
    {13124, 32862}, {17476, 32862}, {26948, 32862}, {29764, 32862}, {13134, 33028}, {17473, 32776},
    {17477, 32777}, {21075, 32777}, {17482, 32779}, {17488, 32844}, {17492, 32782}, {17494, 32781},
    {17520, 32861}, {21059, 33029}, {21060, 32879}, {21065, 33064}, {21069, 32988}, {21070, 32789},
    {21104, 32792}, {21107, 32790}, {21109, 32791}, {21571, 33030}, {21581, 33030}, {21582, 33030},
    {23083, 32783}, {23085, 32784}, {23105, 32785}, {23120, 32786}, {23123, 32786}, {23122, 33024},
    {23126, 33025}, {23127, 32858}, {26958, 33000}, {29774, 32999}, {32878, 32878}, {32950, 32950},
    {32951, 32951},
}};

}  // namespace

bool IsViewAction(int action) { return (action >> 8) == 0x5A; }

int Normalized(int action) { return action == kPan ? kZoom : action; }

int CommandOfAction(int action) {
  for (const auto& [known, command] : kActionCommands) {
    if (known == action) return command;
  }
  return 0;
}

std::string MenuText(const std::string& base, int action,
                     const std::function<std::string(int)>& commandText) {
  if (base.empty()) return {};
  std::string text = base;
  const int command = CommandOfAction(action);
  if (action == kEditBOM)
    return CutToCharacters(WithStep(base, StringText(kMsgEditBOMStep)), kMaxMenuCharacters);
  if (command != 0 && commandText) {
    std::string name = commandText(command);
    const std::size_t dots = name.find("...");
    if (dots != std::string::npos) name.erase(dots, 3);
    if (!name.empty()) text = WithStep(base, name);
  }
  return CutToCharacters(text, kMaxMenuCharacters);
}

}  // namespace undo_actions
