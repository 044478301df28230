#include "view/display_layers.h"

#include <string>

#include "app/app_settings.h"
#include "app/profile.h"
#include "platform/text_conversions.h"

namespace {

constexpr std::array<const char*, CSceneDrawOptions::kLayerCount> kLayerKeys{
    "BranchVisible", "DimVisible",  "PosVisible",   "BOMVisible",  "RunVisible",
    "BusbarVisible", "TextVisible", "ImageVisible", "CartVisible", "DistVisible"};

struct CLayerCommand {
  int command;
  int layer;
};
constexpr CLayerCommand kLayerCommands[] = {
    {32994, 0}, {32995, 1}, {32996, 2}, {32997, 3}, {32998, 4}, {32992, 5}, {33063, kSupportLayer},
    {33001, 8}};

bool WriteLayer(const CAppSettings& settings, CProfile* profile, int index) {
  if (profile == nullptr) return true;
  return profile->WriteProfileText(
      "Label", kLayerKeys[static_cast<std::size_t>(index)],
      BoolToText(settings.labels[static_cast<std::size_t>(index)].visible));
}

}  // namespace

const char* DisplayLayerKey(int index) {
  if (index < 0 || index >= CSceneDrawOptions::kLayerCount) return nullptr;
  return kLayerKeys[static_cast<std::size_t>(index)];
}

int DisplayLayerOfCommand(int command) {
  for (const CLayerCommand& entry : kLayerCommands) {
    if (entry.command == command) return entry.layer;
  }
  return -1;
}

CLayerToggle ToggleDisplayLayer(CAppSettings& settings, CProfile* profile, int index) {
  if (index == kSupportLayer) {
    const bool wasOff = settings.support == 0;
    settings.support = wasOff ? 2 : 0;
    const bool supportWritten =
        profile == nullptr || profile->WriteProfileInt("Design", "Support", settings.support) != 0;
    settings.labels[kRunLayer].visible = wasOff;
    const bool runWritten = WriteLayer(settings, profile, kRunLayer);
    return {true, true, supportWritten && runWritten};
  }
  if (index < 0 || index >= 9) return {};
  auto& visible = settings.labels[static_cast<std::size_t>(index)].visible;
  visible = !visible;
  return {true, false, WriteLayer(settings, profile, index)};
}

CSceneDrawOptions SceneOptionsFromSettings(const CAppSettings& settings, bool monochrome) {
  CSceneDrawOptions options;
  options.monochrome = monochrome;
  for (std::size_t i = 0; i < options.layers.size(); ++i)
    options.layers[i] = settings.labels[i].visible;
  options.supportDisplay = settings.support;
  options.elements = CElementDrawOptions::FromSettings(settings, monochrome);
  return options;
}
