#include "model/props/prop.h"

#include "platform/archive.h"

namespace {

constexpr std::string_view kStdCostName = "HBv2_Std_Cost";
constexpr std::string_view kStdCostMark = "%%";

}  // namespace

CProp::CProp(std::string name, std::string value)
    : m_name(std::move(name)), m_value(std::move(value)) {}

void CProp::Serialize(CArchiveWriter& archive) const {
  archive.WriteString(m_name);
  if (m_name == kStdCostName) archive.WriteString(std::string(kStdCostMark) + m_value);
  else archive.WriteString(m_value);
}

void CProp::Serialize(CArchiveReader& archive) {
  std::string name = archive.ReadString();
  std::string value = archive.ReadString();
  if (name == kStdCostName) {
    if (value.starts_with(kStdCostMark)) value.erase(0, kStdCostMark.size());
    else value += "00";
  }
  m_name = std::move(name);
  m_value = std::move(value);
}
