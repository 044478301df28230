#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Keeps the named environment variables as they were before a test: saves them when it
// is made and puts each back (its old value, or unset) when it goes, however the test
// ended.
class CEnvironmentGuard {
 public:
  explicit CEnvironmentGuard(std::initializer_list<std::string> names);
  ~CEnvironmentGuard();
  CEnvironmentGuard(const CEnvironmentGuard&) = delete;
  CEnvironmentGuard& operator=(const CEnvironmentGuard&) = delete;

  // Sets or removes one of the guarded variables. Throws std::logic_error for one that
  // is not guarded, since its change would outlive the test.
  void Set(const std::string& name, const std::string& value) const;
  void Unset(const std::string& name) const;

 private:
  void CheckGuarded(const std::string& name) const;

  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};
