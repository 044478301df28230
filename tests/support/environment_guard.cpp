#include "environment_guard.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

CEnvironmentGuard::CEnvironmentGuard(std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    const char* value = std::getenv(name.c_str());
    m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
}

CEnvironmentGuard::~CEnvironmentGuard() {
  for (const auto& [name, value] : m_saved) {
    if (value) ::setenv(name.c_str(), value->c_str(), 1);
    else ::unsetenv(name.c_str());
  }
}

void CEnvironmentGuard::Set(const std::string& name, const std::string& value) const {
  CheckGuarded(name);
  ::setenv(name.c_str(), value.c_str(), 1);
}

void CEnvironmentGuard::Unset(const std::string& name) const {
  CheckGuarded(name);
  ::unsetenv(name.c_str());
}

void CEnvironmentGuard::CheckGuarded(const std::string& name) const {
  const bool guarded = std::any_of(m_saved.begin(), m_saved.end(),
                                   [&name](const auto& saved) { return saved.first == name; });
  if (!guarded) throw std::logic_error("environment variable " + name + " is not guarded");
}
