#include "view/view_presets.h"

#include "geometry/3d_projection.h"

namespace {

constexpr std::array<CViewAngles, kViewPresetCount> kPresetAngles{{
    {330, 315, 0},
    {330, 45, 0},
    {330, 135, 0},
    {330, 225, 0},
    {30, 315, 0},
    {30, 45, 0},
    {30, 135, 0},
    {30, 225, 0},
    {270, 0, 0},
    {90, 0, 0},
    {0, 270, 0},
    {0, 90, 0},
    {0, 0, 0},
    {0, 180, 0},
}};
constexpr std::array<int, kViewPresetCount> kPresetCommands{33016, 33017, 33018, 33019, 33020,
                                                            33021, 33022, 33023, 33006, 33007,
                                                            33008, 33009, 33010, 33011};

// s(a): an angle in -179..180.
int Signed(int degrees) {
  const int a = NormalizeDegrees(degrees);
  return a > 180 ? a - 360 : a;
}

}  // namespace

int NormalizeDegrees(long long degrees) {
  const long long r = degrees % 360;
  return static_cast<int>(r < 0 ? r + 360 : r);
}

std::optional<CViewAngles> ViewPresetAngles(int preset) {
  if (preset < 0 || preset >= kViewPresetCount) return std::nullopt;
  return kPresetAngles[static_cast<std::size_t>(preset)];
}

int ViewPresetCommand(int preset) {
  if (preset < 0 || preset >= kViewPresetCount) return 0;
  return kPresetCommands[static_cast<std::size_t>(preset)];
}

int DetectViewPreset(const CViewAngles& angles) {
  const CViewAngles wanted{NormalizeDegrees(angles[0]), NormalizeDegrees(angles[1]),
                           NormalizeDegrees(angles[2])};
  for (int preset = kViewPresetCount - 1; preset >= 0; --preset) {
    if (kPresetAngles[static_cast<std::size_t>(preset)] == wanted) return preset;
  }
  return -1;
}

CViewAngles ProjectionAngles(const C3DProjection& projection) {
  return {projection.GetViewAngle(0), projection.GetViewAngle(1), projection.GetViewAngle(2)};
}

CViewAngles DialogAnglesFromProjection(const CViewAngles& projection) {
  // -s(a) of 180 would be -180; the dialog's range holds it.
  return {-Signed(projection[0]), Signed(projection[1]), Signed(projection[2])};
}

CViewAngles ProjectionAnglesFromDialog(const CViewAngles& dialog) {
  return {NormalizeDegrees(-static_cast<long long>(dialog[0])), NormalizeDegrees(dialog[1]),
          NormalizeDegrees(dialog[2])};
}

int PresetOfDialogEntry(int entry) {
  if (entry < 0 || entry > 9) return -1;
  return entry >= 4 ? entry + 4 : entry;
}

int DialogEntryOfPreset(int preset) {
  if (preset >= 0 && preset <= 3) return preset;
  if (preset >= 8 && preset < kViewPresetCount) return preset - 4;
  return -1;
}
