#pragma once

#include <string>
#include <string_view>

class CArchiveReader;
class CArchiveWriter;

// One named text property of a model object. The name is the key (case-sensitive)
// and is fixed when the property is made.
class CProp {
 public:
  CProp() = default;
  CProp(std::string name, std::string value);

  const std::string& GetName() const { return m_name; }
  const std::string& GetValue() const { return m_value; }
  void SetValue(std::string value) { m_value = std::move(value); }

  // Stored form: the name, then the value, each as an archived text. The property
  // "HBv2_Std_Cost" is stored with "%%" in front of its value; on loading that mark
  // is removed, and a value without it (older files, whole currency units) gets "00"
  // appended to turn it into hundredths. Loading throws CArchiveError on a damaged
  // stream and then leaves the property unchanged.
  void Serialize(CArchiveWriter& archive) const;
  void Serialize(CArchiveReader& archive);

 private:
  std::string m_name;
  std::string m_value;
};
