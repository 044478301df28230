#include "app/message_text.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/builder/part_builder.h"
#include "model/bom/ref_quantity_batch.h"
#include "model/run/run.h"

#include <string>

void CPartBuilder::FinishParts(int level) {
  (void)level;
  m_backStep = 0;
  m_backStepsTaken = 0;
  m_supportCount = 0;
  // Every segment books its pieces; the records of each reference are brought to their
  // line once, when all are booked.
  const CRefQuantityBatch batch(m_run);
  for (m_segmentIndex = 0; m_segmentIndex < static_cast<int>(m_segments.size()); ++m_segmentIndex) {
    const int index = m_segmentIndex;
    BuildSegment(index);
    const CSegment& segment = m_segments[static_cast<std::size_t>(index)];
    if (index == 0 && m_segments.size() == 1 && segment.size() == 1) {
      FormatPartLabel(segment.front().element, 0, {}, 0, 0);
    }
    AdvanceCheckMessage();
  }
  FinishDevices();
  FinishSecondPass();
  m_run.SetProp("SUPP", std::to_string(m_supportCount));
}

void CPartBuilder::FinishDevices() {
  // A copy: a range's FinishPart may add accessories to the run's list.
  const std::vector<CDev*> devices = m_run.GetDevices();
  int position = static_cast<int>(devices.size());
  for (std::size_t i = devices.size(); i-- > 0; --position) {
    CDev& device = *devices[i];
    if (device.GetActive() == 0) continue;
    bool finished = false;
    if (device.GetKind() == CDev::kInLine) {
      finished = device.GetFieldText("KITCF").value_or("").size() > 0 || device.GetActive() == 2;
      FinishInLineUnit(device);
    } else if (device.GetKind() == CDev::kEnd) {
      finished = FinishEnd(device);
    }
    if (finished || (device.GetBooked() != 0 && device.GetKind() != CDev::kTapOff))
      FinishPart(device, position);
  }
}

void CPartBuilder::FinishInLineUnit(CDev& unit) {
  if (unit.GetVariant() != 0) return;
  m_run.GetBOM().RemoveRefQuantity(unit.GetReference(), 1);
  unit.SetBooked(0);
  CDev* joint = unit.GetNeighbour(unit.GetDirection());
  if (joint == nullptr || joint->GetKind() != CDev::kJoint) return;
  const std::string defaultText = m_run.GetKindText(CDev::kJoint, joint->GetVariant());
  if (joint->GetReference() == defaultText) return;
  // The straight takes over the reference of the joint in front of it.
  unit.SetReference(joint->GetReference());
  unit.SetBooked(1);
  joint->SetReference(defaultText);
  joint->SetBooked(0);
}

bool CPartBuilder::FinishEnd(CDev& end) {
  if (end.GetVariant() == 0 && end.GetReference().starts_with("REPRISE")) {
    m_run.GetBOM().RemoveRefQuantity(end.GetReference(), 1);
    end.SetReference(LookupText(30037));
    end.SetBooked(0);
  }
  return true;
}
