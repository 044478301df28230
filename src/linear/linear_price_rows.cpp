#include "linear/linear_price_table.h"

#include "linear/linear_slots.h"

// The rows of a line's price table, block by block.

namespace {

constexpr int kMsgUpstream = 31066, kMsgPackage = 31067, kMsgCentreFeed = 31036,
              kMsgTransformer = 31020;
constexpr int kMsgPackageVariant = 31069, kMsgSwitchboard = 31023, kMsgCap = 31047,
              kMsgTress = 31048;
constexpr int kMsgClinq = 31049, kMsgBarrier = 31122, kMsgCablesPackage = 31063;
constexpr int kMsgCablesCentre = 31102, kMsgCables = 31031, kMsgCentreAlone = 31103;
constexpr int kMsgBody = 31024, kMsgStraight0 = 31025, kMsgStraight1 = 31042, kMsgStraight2 = 31032;
constexpr int kMsgLength = 31041, kMsgLengthQw = 31064, kMsgLengthQyx = 31135, kMsgFixings = 31075;
constexpr int kMsgFloors = 31070, kMsgFloorSupports = 31088, kMsgRigid = 31071,
              kMsgFlexible = 31072;
constexpr int kMsgFixingBrackets = 30056, kMsgExpansionJoints = 30057;
constexpr int kMsgFireBarriers = 31108, kMsgIp54 = 31014, kMsgIp54Qp = 32411,
              kMsgIp54Length = 31043;
constexpr int kMsgDownstream = 31068, kMsgTapOff = 31008, kMsgQylBoxes = 32268,
              kMsgLighting = 31131;
constexpr int kMsgQfpHeading = 31051, kMsgQfpItem = 31037, kMsgServices = 31073,
              kMsgServicesItem = 31074;

}  // namespace

void CLinearPriceTable::BuildRows() {
  m_rows.clear();
  AddUpstream();
  AddBody();
  AddDownstream();
  AddTapOffs();
  if (Set(21) && m_line.Product == kProductQFP) {
    Add(kHeading, kMsgQfpHeading);
    Add(21, kMsgQfpItem);
  }
  if (m_settings.services > 0) {
    Add(kHeading, kMsgServices);
    Add(kServicesItem, kMsgServicesItem);
  }
}

void CLinearPriceTable::AddUpstream() {
  const bool qm = IsQmProduct(m_line.Product);
  if (Present(0) || Present(1) || Present(2) || Present(3) || Present(27) || (Present(26) && qm)) {
    Add(kHeading, kMsgUpstream);
    if (Set(0)) {
      Add(0, kMsgPackage);
      if (Set(4)) Add(4, kMsgCentreFeed);
    }
    bool anySet = false;
    for (int s : {0, 1, 2, 25, 3, 4, 27, 26}) anySet = anySet || Set(s);
    if (!anySet) Add(kEmptyRow, 0);
  }
  if (Set(1)) Add(1, kMsgTransformer);
  if (Set(26) && qm) Add(26, kMsgTransformer);
  if (Set(27)) {
    Add(27, kMsgPackageVariant);
    Add(4, kMsgCentreFeed);
  }
  if (Set(2)) Add(2, kMsgSwitchboard);
  if (Set(25) && !Present(15)) Add(25, kMsgSwitchboard);
  if (Set(1) || Set(2) || Set(25) || Set(26)) {
    if (Set(18)) Add(18, kMsgCap);
    if (Set(19)) Add(19, kMsgTress);
    if (Set(26) && m_line.Product == kProductQJF) Add(26, kMsgBarrier);
    if (Set(20)) Add(20, kMsgClinq);
  }
  if (Set(3)) {
    const int label = Present(27)                   ? kMsgCablesPackage
                      : (Present(4) && !Present(0)) ? kMsgCablesCentre
                                                    : kMsgCables;
    Add(3, label);
    if (Present(27)) Add(4, kMsgCentreFeed);
  }
  if (Set(4) && !Present(0) && !Present(27)) Add(4, kMsgCentreAlone);
}

void CLinearPriceTable::AddBody() {
  bool body = false;
  for (int s = 5; s <= 10; ++s) body = body || Present(s);
  if (!body) return;
  Add(kHeading, kMsgBody);
  const int group = m_line.Group;
  if (Set(5) || (m_line.Slots[5] == 0 && group == 0))
    Add(5, group == 1 ? kMsgStraight1 : group == 2 ? kMsgStraight2 : kMsgStraight0);
  if (Present(6))
    Add(6, IsQwProduct(m_line.Product)     ? kMsgLengthQw
           : m_line.Product == kProductQYX ? kMsgLengthQyx
                                           : kMsgLength);
  if (Set(11) && (Set(5) || Set(6))) Add(11, kMsgFixings);
  if (Present(9)) Add(9, kMsgFloors);
  if (Set(12) && Set(9)) Add(12, kMsgFloorSupports);
  if (Set(7)) Add(7, kMsgRigid);
  if (Set(8)) Add(8, kMsgFlexible);
  if (Set(13) || (m_line.Slots[13] == 0 && Set(9))) Add(13, kMsgFireBarriers);
  // The two ticks that slot 28 packs: fixing brackets and expansion joints.
  if (Set(28) && Slot28Low(m_line.Slots[28]) > 0) Add(28, kMsgFixingBrackets);
  if (Set(28) && Slot28High(m_line.Slots[28]) > 0) Add(29, kMsgExpansionJoints);
  if (Set(14)) {
    Add(kHeading, IsQpProduct(m_line.Product) && !m_settings.apod ? kMsgIp54Qp : kMsgIp54);
    Add(14, kMsgIp54Length);
  }
}

void CLinearPriceTable::AddDownstream() {
  if (!Present(15) && !Present(16) && !Present(17)) return;
  Add(kHeading, kMsgDownstream);
  if (!Set(15) && !Set(16) && !Set(17)) Add(kEmptyRow, 0);
  if (Set(15)) {
    Add(15, kMsgPackageVariant);
    Add(25, kMsgCentreFeed);
  }
  if (Set(16)) {
    Add(16, kMsgSwitchboard);
    if (Set(21)) Add(21, kMsgCap);
    if (Set(22)) Add(22, kMsgTress);
    if (Set(23)) Add(23, kMsgClinq);
  }
  if (Set(17)) {
    Add(17, Present(15) ? kMsgCablesPackage : kMsgCables);
    if (Present(15)) Add(25, kMsgCentreFeed);
  }
}

void CLinearPriceTable::AddTapOffs() {
  const int group = m_line.Group;
  if (group < 1 || group > 3 || m_line.Product == kProductQYX) return;
  const bool qyl = group == 3 && Set(125);
  Add(kHeading, group != 3 ? kMsgTapOff : qyl ? kMsgQylBoxes : kMsgLighting);
  for (int s = kLinearFirstBoxSlot; s < kLinearSlotCount; ++s) {
    if (!Set(s) || (qyl && s == 125)) continue;
    Add(s, 0);
  }
}
