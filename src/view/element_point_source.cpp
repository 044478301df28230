#include "view/element_point_source.h"

#include "model/element/dev.h"
#include "model/run/run_environment.h"
#include "view/support_drawing.h"

namespace {

// The last computation that point numbers read back, one for each thread: a design is also
// read and its scene rebuilt on a worker (an undo step's, ahead of the undo), and DXF bands
// are drawn on threads of their own, while the window thread draws and picks.
struct CLastComputed {
  CConnectionCodes codes;
  std::vector<C3DPoint> supports;
};

CLastComputed& LastComputed() {
  thread_local CLastComputed last;
  return last;
}

}  // namespace

C3DPoint CElementPointSource::ConnectionCode(const CBox& box, int point, int mode) {
  return LastComputed().codes.Get(box, point, mode);
}

C3DPoint CElementPointSource::SupportPoint(const CBox& box, int point, int slot) {
  std::vector<C3DPoint>& supports = LastComputed().supports;
  if (point >= 0 && point < CConnectionCodes::kPointCount) {
    const auto index = static_cast<std::size_t>(point);
    return index < supports.size() ? supports[index] : C3DPoint();
  }
  supports.clear();
  const CDev* element = dynamic_cast<const CDev*>(box.GetOwner());
  if (element == nullptr) return {};
  if (slot < 0) slot = element->GetBoxSlot(box);
  if (const CDev* support = FindSupportElement(box, slot)) {
    const std::string text = support->GetFieldText("SUPP").value_or(std::string());
    supports = ComputeSupports(box, slot, *support, text).points;
  }
  return C3DPoint(static_cast<double>(supports.size()), 0, 0);
}

void CElementPointSource::Install() {
  static CElementPointSource source;
  CRunEnvironment::Instance().SetBoxPoints(&source);
}
