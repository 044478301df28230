#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class CRun;
class CRunDocument;

// Which run class a catalogue code stands for, and the codes as files hold them.
//
// In memory "QPC" is the current variant of its range and "Qpc" the older one; in a
// file the current one is "QPCnew" and the older one "QPC", as files of earlier versions
// hold it. Every other code is the same in both.
class CRunFactory {
 public:
  // Makes a run of a range class for a document with a variant letter (empty for none).
  using Creator = std::function<std::unique_ptr<CRun>(CRunDocument* document, std::string_view variant)>;

  static CRunFactory& Instance();

  // The range classes register themselves by class name ("CRunQP", ...); tests reset.
  void Register(std::string className, Creator creator);
  void Reset() { m_creators.clear(); }

  // A run for an in-memory catalogue code: the range class of the code table with its
  // variant, or a generic run for an unknown code or a class not registered. "Catalog"
  // is the code in either case.
  std::unique_ptr<CRun> CreateForCatalog(std::string_view catalog, CRunDocument* document) const;

  static std::string FileCodeOf(std::string_view catalog);
  static std::string CatalogOfFileCode(std::string_view fileCode);

 private:
  std::map<std::string, Creator, std::less<>> m_creators;
};
