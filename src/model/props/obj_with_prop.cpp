#include "model/props/obj_with_prop.h"

#include "platform/archive.h"
#include "model/props/prop_window_notifier.h"

#include <algorithm>
#include <unordered_map>
#include <limits>
#include <stdexcept>

CObjWithProp::CObjWithProp() = default;

CObjWithProp::CObjWithProp(const CObjWithProp& other) : CObjWithProp() { *this = other; }

CObjWithProp& CObjWithProp::operator=(const CObjWithProp& other) {
  if (this == &other) return *this;
  PropList copy;
  copy.reserve(other.Props().size());
  for (const auto& prop : other.Props()) copy.push_back(std::make_unique<CProp>(*prop));
  m_props = copy.empty() ? nullptr : std::make_unique<PropList>(std::move(copy));
  OnPropsEdited();
  return *this;
}

CObjWithProp::~CObjWithProp() {
  // Queued messages that still hold a handle now see a dead object.
  if (m_self) **m_self = nullptr;
}

const CObjWithProp::PropList& CObjWithProp::Props() const {
  static const PropList kNone;
  return m_props ? *m_props : kNone;
}

CObjWithProp::PropList& CObjWithProp::EditProps() {
  OnPropsEdited();
  if (!m_props) m_props = std::make_unique<PropList>();
  return *m_props;
}

CObjHandle CObjWithProp::GetHandle() const {
  if (!m_self) {
    m_self = std::make_unique<std::shared_ptr<CObjWithProp*>>(
        std::make_shared<CObjWithProp*>(const_cast<CObjWithProp*>(this)));
  }
  return CObjHandle(*m_self);
}

void CObjWithProp::Serialize(CArchiveWriter& archive) const {
  const PropList& props = Props();
  if (props.size() > std::numeric_limits<std::uint16_t>::max())
    throw std::length_error("more properties than the stored form can count");
  archive.WriteWord(static_cast<std::uint16_t>(props.size()));
  for (const auto& prop : props) prop->Serialize(archive);
}

void CObjWithProp::Serialize(CArchiveReader& archive) {
  const std::uint16_t count = archive.ReadWord();
  if (count == 0) return;  // most objects store none
  archive.RequireCount(count, kMinStoredPropBytes, "property list");
  // Read every pair before changing anything, so a damaged list changes nothing.
  std::vector<CProp> pairs(count);
  for (auto& pair : pairs) pair.Serialize(archive);
  StorePairs(pairs);
}

// What SetPropValue would make of the pairs one after the other (a name keeps its first
// position and its last value, an empty value removes it), with one hashed look-up per
// pair instead of a search of the list, so that a long list loads in linear time.
void CObjWithProp::StorePairs(std::vector<CProp>& pairs) {
  if (pairs.empty()) return;
  PropList& props = EditProps();
  std::unordered_map<std::string_view, std::size_t> positions;
  positions.reserve(props.size() + pairs.size());
  for (std::size_t i = 0; i < props.size(); ++i) positions.emplace(props[i]->GetName(), i);
  for (CProp& pair : pairs) {
    const auto found = positions.find(pair.GetName());
    if (found != positions.end()) {
      std::unique_ptr<CProp>& slot = props[found->second];
      if (pair.GetValue().empty()) {
        positions.erase(found);
        slot.reset();  // gone; compacted below
      } else {
        slot->SetValue(pair.GetValue());
      }
    } else if (!pair.GetValue().empty()) {
      props.push_back(std::make_unique<CProp>(std::move(pair)));
      positions.emplace(props.back()->GetName(), props.size() - 1);
    }
  }
  std::erase(props, nullptr);
}

CObjWithProp* CObjWithProp::GetNextObject() const { return nullptr; }
CObjWithProp* CObjWithProp::GetPrevObject() const { return nullptr; }
CObjWithProp* CObjWithProp::GetNextSameName() const { return nullptr; }
CObjWithProp* CObjWithProp::GetPrevSameName() const { return nullptr; }

void CObjWithProp::GoToObject(CObjWithProp* target, int /*how*/) {
  if (target) target->NotifyPropDialog(kPropMsgShowObject);
}

std::vector<int> CObjWithProp::GetPages() const { return {}; }

int CObjWithProp::GetPageWord(int page) const {
  (void)page;
  return 0;
}

int CObjWithProp::FindIndex(std::string_view name) const {
  const PropList& props = Props();
  for (std::size_t i = 0; i < props.size(); ++i)
    if (props[i]->GetName() == name) return static_cast<int>(i);
  return -1;
}

const CProp* CObjWithProp::FindProp(std::string_view name) const {
  const int index = FindIndex(name);
  return index < 0 ? nullptr : Props()[static_cast<std::size_t>(index)].get();
}

std::string CObjWithProp::GetPropValue(std::string_view name) const {
  const CProp* prop = FindProp(name);
  return prop ? prop->GetValue() : std::string();
}

bool CObjWithProp::SetPropValue(std::string_view name, std::string_view value) {
  const int index = FindIndex(name);
  if (index >= 0) return SetPropAt(index + 1, value);
  if (value.empty()) return false;
  EditProps().push_back(std::make_unique<CProp>(std::string(name), std::string(value)));
  return true;
}

std::string CObjWithProp::GetPropAt(int index) const {
  if (index < 1 || index > static_cast<int>(Props().size())) return {};
  return Props()[static_cast<std::size_t>(index - 1)]->GetValue();
}

bool CObjWithProp::SetPropAt(int index, std::string_view value) {
  if (index < 1 || index > static_cast<int>(Props().size())) return false;
  PropList& props = EditProps();
  if (value.empty()) {
    props.erase(props.begin() + (index - 1));
    return true;
  }
  CProp& prop = *props[static_cast<std::size_t>(index - 1)];
  if (prop.GetValue() == value) return false;
  prop.SetValue(std::string(value));
  return true;
}

int CObjWithProp::IndexOfProp(const CProp* prop) const {
  const PropList& props = Props();
  for (std::size_t i = 0; i < props.size(); ++i)
    if (props[i].get() == prop) return static_cast<int>(i);
  return -1;
}

int CObjWithProp::AddProp(std::unique_ptr<CProp> prop) {
  if (!prop) return -1;
  if (FindIndex(prop->GetName()) >= 0) {
    SetPropValue(prop->GetName(), prop->GetValue());
    return FindIndex(prop->GetName());
  }
  if (prop->GetValue().empty()) return -1;
  PropList& props = EditProps();
  props.push_back(std::move(prop));
  return static_cast<int>(props.size()) - 1;
}

void CObjWithProp::RemoveHBv2Props() {
  if (!m_props) return;
  OnPropsEdited();
  std::erase_if(*m_props, [](const auto& prop) { return prop->GetName().starts_with("HBv2_"); });
}

int CObjWithProp::NotifyPropDialog(int message) {
  if (!ReachesPropWindow()) return 0;
  CPropWindowNotifier* notifier = GetPropWindowNotifier();
  if (!notifier || !notifier->PropWindowExists()) return 0;
  if (message == kPropMsgRefresh) notifier->PostPropMessage(kPropMsgShowObject, GetHandle());
  else notifier->SendPropMessage(message, this);
  return 1;
}
