#include "shell/ui/frame_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <optional>

#include "app/profile.h"

namespace {

constexpr const char* kSection = "Application Layout";
constexpr double kFirstStartShare = 0.85;

unsigned ReadUnsigned(const CProfile& profile, const char* key, unsigned defaultValue) {
  int value = profile.ReadProfileInt(kSection, key, static_cast<int>(defaultValue));
  return value < 0 ? defaultValue : static_cast<unsigned>(value);
}

CRect ToPlacement(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace

CWindowPlacement ReadWindowPlacement(const CProfile& profile) {
  CWindowPlacement placement;
  placement.flags = ReadUnsigned(profile, "Flags", placement.flags);
  placement.showCmd = ReadUnsigned(profile, "ShowCmd", placement.showCmd);
  if (auto point = PlacementPointFromText(profile.ReadProfileText(kSection, "MinPos", "")))
    placement.minPos = *point;
  if (auto point = PlacementPointFromText(profile.ReadProfileText(kSection, "MaxPos", "")))
    placement.maxPos = *point;
  if (auto rect = PlacementRectFromText(profile.ReadProfileText(kSection, "NormalPos", "")))
    placement.normalPos = *rect;
  return placement;
}

bool WriteWindowPlacement(CProfile& profile, const CWindowPlacement& placement) {
  return profile.WriteProfileValues({
      {kSection, "Flags", std::to_string(placement.flags)},
      {kSection, "ShowCmd", std::to_string(placement.showCmd)},
      {kSection, "MinPos", PlacementPointToText(placement.minPos)},
      {kSection, "MaxPos", PlacementPointToText(placement.maxPos)},
      {kSection, "NormalPos", PlacementRectToText(placement.normalPos)},
  });
}

std::vector<CRect> ScreenRectangles() {
  std::vector<CRect> screens;
  for (QScreen* screen : QGuiApplication::screens())
    screens.push_back(ToPlacement(screen->availableGeometry()));
  return screens;
}

namespace {

// Nothing stored yet (a first start): most of the screen, centred, rather than the old
// default of 624 by 448.
std::optional<QRect> FirstStartGeometry(const CProfile& profile) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!profile.ReadProfileText(kSection, "NormalPos", "").empty() || screen == nullptr)
    return std::nullopt;
  const QRect available = screen->availableGeometry();
  const QSize size = available.size() * kFirstStartShare;
  return QRect(available.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

}  // namespace

void RestoreWindowPlacement(QWidget& window, const CProfile& profile) {
  CWindowPlacement placement = SanitizePlacement(ReadWindowPlacement(profile), ScreenRectangles());
  const CRect& normal = placement.normalPos;
  QRect geometry(static_cast<int>(normal.left), static_cast<int>(normal.top),
                 static_cast<int>(normal.right - normal.left),
                 static_cast<int>(normal.bottom - normal.top));
  if (const std::optional<QRect> first = FirstStartGeometry(profile)) geometry = *first;
  window.resize(geometry.size());
  window.move(geometry.topLeft());
  if (placement.showCmd == kShowMaximized)
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

bool SaveWindowPlacement(const QWidget& window, CProfile& profile) {
  CWindowPlacement placement = ReadWindowPlacement(profile);
  bool restored = !window.isMaximized() && !window.isMinimized();
  QRect normal = restored || !window.normalGeometry().isValid() ? QRect(window.pos(), window.size())
                                                                : window.normalGeometry();
  placement.normalPos = ToPlacement(normal);
  placement.showCmd =
      window.isMaximized() ? kShowMaximized : (window.isMinimized() ? kShowMinimized : 1);
  return WriteWindowPlacement(profile, placement);
}
