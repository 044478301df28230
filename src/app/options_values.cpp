#include "app/options_values.h"

#include "app/app_settings_lock.h"
#include "app/dorne_app.h"
#include "app/info_dialog_rules.h"
#include "app/language_mapping.h"
#include "app/options_frame.h"
#include "app/settings_keys.h"

namespace {

namespace key = settings_key;

std::string FactorText(int percent) { return FactorSettingText(PercentToFactor(percent)); }

std::string FlagText(bool on) { return FlagSettingText(on); }

bool IsChosen(int index, const std::vector<CLanguageEntry>& languages) {
  return index >= 0 && static_cast<std::size_t>(index) < languages.size();
}

void LoadFrameValues(const CAppSettings& settings, COptionsValues& values) {
  values.percents = {FactorToPercent(settings.moveDown), FactorToPercent(settings.moveRight),
                     FactorToPercent(settings.moveLeft), FactorToPercent(settings.moveUp),
                     FactorToPercent(settings.zoomOut),  FactorToPercent(settings.zoomIn),
                     FactorToPercent(settings.zoomAll)};
  values.design = {
      settings.boxOverhang,          settings.jointOverhang,          settings.realJoint != 0,
      settings.printBlackWhite != 0, settings.displayBlackWhite != 0, settings.printFrame != 0,
      settings.backBuffer != 0};
  for (int kind = 0; kind < kLabelKindCount; ++kind)
    values.labels[static_cast<std::size_t>(kind)] = settings.labels[LabelStyleOfKind(kind)];
  values.colors = settings.colors;
}

void AddFrameValues(const COptionsValues& values, std::vector<CProfileValue>& out) {
  const COptionsPercents& p = values.percents;
  out.insert(out.end(), {SettingValue(key::kZoomAll, FactorText(p.zoomAll)),
                         SettingValue(key::kZoomIn, FactorText(p.zoomIn)),
                         SettingValue(key::kZoomOut, FactorText(p.zoomOut)),
                         SettingValue(key::kMoveLeft, FactorText(p.moveLeft)),
                         SettingValue(key::kMoveRight, FactorText(p.moveRight)),
                         SettingValue(key::kMoveDown, FactorText(p.moveDown)),
                         SettingValue(key::kMoveUp, FactorText(p.moveUp))});
  const COptionsDesign& d = values.design;
  out.insert(out.end(), {SettingValue(key::kJointOverhang, std::to_string(d.jointOverhang)),
                         SettingValue(key::kRealJoint, FlagText(d.realJoint)),
                         SettingValue(key::kBoxOverhang, std::to_string(d.boxOverhang)),
                         SettingValue(key::kPrintFrame, FlagText(d.printFrame)),
                         SettingValue(key::kPrintBlackWhite, FlagText(d.printBlackWhite)),
                         SettingValue(key::kShowBlackWhite, FlagText(d.showBlackWhite)),
                         SettingValue(key::kBackBuffer, FlagText(d.backBuffer))});
  for (ColorIndex index : ColorWriteOrder())
    out.push_back({"Colors", ColorKey(index), ColorToText(values.colors[index])});
}

void ApplyFactors(const COptionsPercents& p, CAppSettings& settings) {
  settings.moveDown = PercentToFactor(p.moveDown);
  settings.moveRight = PercentToFactor(p.moveRight);
  settings.moveLeft = PercentToFactor(p.moveLeft);
  settings.moveUp = PercentToFactor(p.moveUp);
  settings.zoomOut = PercentToFactor(p.zoomOut);
  settings.zoomIn = PercentToFactor(p.zoomIn);
  settings.zoomAll = PercentToFactor(p.zoomAll);
}

void ApplySwitches(const COptionsDesign& d, CAppSettings& settings) {
  settings.printFrame = d.printFrame ? 1 : 0;
  settings.printBlackWhite = d.printBlackWhite ? 1 : 0;
  settings.displayBlackWhite = d.showBlackWhite ? 1 : 0;
  settings.backBuffer = d.backBuffer ? 1 : 0;
}

// The frame part of OK, in the order the document expects: the overhangs before the
// first rebuild, everything else before the runs are refreshed.
bool ApplyFrameValues(CDorneApp& app, const COptionsValues& values, COptionsFrame& frame) {
  CAppSettings& settings = app.Settings();
  {
    const std::unique_lock lock(AppSettingsMutex());
    ApplyFactors(values.percents, settings);
    settings.jointOverhang = values.design.jointOverhang;
    settings.realJoint = values.design.realJoint ? 1 : 0;
    settings.boxOverhang = values.design.boxOverhang;
  }
  frame.RebuildScene();
  bool written = true;
  {
    const std::unique_lock lock(AppSettingsMutex());
    ApplySwitches(values.design, settings);
    for (int kind = 0; kind < kLabelKindCount; ++kind)
      settings.labels[LabelStyleOfKind(kind)] = values.labels[static_cast<std::size_t>(kind)];
    settings.colors = values.colors;
  }
  for (int kind = 0; kind < kLabelKindCount; ++kind) {
    const CLabelStyle& style = values.labels[static_cast<std::size_t>(kind)];
    written = WriteLabelStyle(app.Profile(), LabelStyleOfKind(kind), style) && written;
  }
  frame.RefreshAllRuns();
  frame.RebuildScene();
  frame.UpdateAllViews();
  frame.SetModifiedFlag(true);
  return written;
}

}  // namespace

COptionsValues LoadOptionsValues(const CDorneApp& app, const std::vector<CLanguageEntry>& languages,
                                 const TextLookup& lookupText) {
  COptionsValues values;
  std::vector<std::string> keys;
  for (const CLanguageEntry& entry : languages) keys.push_back(entry.key);
  const CProfile& profile = app.Profile();
  int language = LeadingInt(ReadSetting(profile, key::kLanguageId)).value_or(0);
  values.languageIndex = FindLanguageIndex(keys, language);
  values.user.name = app.Settings().userName;
  values.user.department = ReadSetting(profile, key::kUserDept);
  values.user.phone = ReadSetting(profile, key::kUserPhone);
  values.user.fax = ReadSetting(profile, key::kUserFax);
  values.user.email = ReadSetting(profile, key::kUserEmail);
  values.designLanguage = ReadDesignLanguage(ReadSetting(profile, key::kDesignLanguage));
  values.packaging = app.Settings().packaging != 0;
  values.projectsFolder = app.ProjectsFolder();
  LoadFrameValues(app.Settings(), values);
  values.priceLists = CPriceListEdits::Read(app.ArticleFolder(), app.Profile(), lookupText);
  return values;
}

std::vector<CProfileValue> OptionsProfileValues(const COptionsValues& values,
                                                const std::vector<CLanguageEntry>& languages,
                                                bool withFrame) {
  std::vector<CProfileValue> out;
  if (IsChosen(values.languageIndex, languages)) {
    const CLanguageEntry& entry = languages[static_cast<std::size_t>(values.languageIndex)];
    out.push_back(SettingValue(key::kLanguageId, LanguageNumberText(entry.key)));
  }
  const COptionsUser& user = values.user;
  out.insert(
      out.end(),
      {SettingValue(key::kUserName, user.name), SettingValue(key::kUserDept, user.department),
       SettingValue(key::kUserPhone, user.phone), SettingValue(key::kUserFax, user.fax),
       SettingValue(key::kUserEmail, user.email),
       SettingValue(key::kDesignLanguage, DesignLanguageText(values.designLanguage)),
       SettingValue(key::kPackaging, FlagText(values.packaging)),
       SettingValue(key::kProjects, values.projectsFolder)});
  if (withFrame) AddFrameValues(values, out);
  return out;
}

COptionsApplied ApplyOptionsValues(CDorneApp& app, const COptionsValues& values,
                                   const std::vector<CLanguageEntry>& languages,
                                   COptionsFrame* frame) {
  COptionsApplied applied;
  {
    CAppSettings& settings = app.Settings();
    const std::unique_lock lock(AppSettingsMutex());
    if (IsChosen(values.languageIndex, languages))
      settings.languageId =
          LanguageNumberText(languages[static_cast<std::size_t>(values.languageIndex)].key);
    settings.userName = values.user.name;
    settings.packaging = values.packaging ? 1 : 0;
  }
  if (values.priceLists.Changed()) {
    CPriceListSave save = values.priceLists.Save(app.ArticleFolder());
    applied.priceListsSaved = save.saved;
    applied.priceListError = save.error;
    if (frame) frame->BuildCatalogueMenu();
  }
  app.SetProjectsFolder(values.projectsFolder);
  app.MarkInitialProjectsFolder();
  applied.settingsWritten =
      app.Profile().WriteProfileValues(OptionsProfileValues(values, languages, frame != nullptr));
  if (frame)
    applied.settingsWritten = ApplyFrameValues(app, values, *frame) && applied.settingsWritten;
  return applied;
}

unsigned OptionsSheetResult(const CPriceListEdits& priceLists) {
  return priceLists.Changed() ? 1u : 0u;
}
