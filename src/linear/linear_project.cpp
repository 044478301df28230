#include "linear/linear_project.h"

std::string CProjectFields::Property(std::string_view name) const {
  for (int i = 0; i < kLinearPropertyCount; ++i)
    if (kLinearPropertyNames[i] == name) return properties[i];
  return {};
}

bool CProjectFields::SetProperty(std::string_view name, std::string_view value) {
  for (int i = 0; i < kLinearPropertyCount; ++i)
    if (kLinearPropertyNames[i] == name) {
      properties[i] = LimitLinearText(value);
      return true;
    }
  return false;
}
