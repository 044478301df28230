#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CRun;
class CRunDocument;
class CRunRangeRules;

// Makes the run of a catalogue code. The model knows only the generic CRun; each product
// range (src/ranges) registers a maker for its range key here, and callers that read or
// create runs by code (document loading, the rating page) go through CreateRunForCode.
//
// The factory also keeps each range's rules (run_range_rules.h), which generic code
// asks by the run's code; a code whose range has none gets the generic rules.
//
// How ranges register: the program calls RegisterRangeRuns() (ranges/range_registry.h)
// once at start-up, before the first document is made; tests that need range runs call
// it in their set-up and CRunFactory::Instance().Reset() in their tear-down. A code
// whose range has no maker stays a generic CRun.
class CRunFactory {
 public:
  // variant: the code without its range key ("A", "T", "a"; "F" for "QJF"), never empty.
  using Maker =
      std::function<std::unique_ptr<CRun>(std::string_view variant, CRunDocument* document)>;

  static CRunFactory& Instance();

  // No makers and no rules: every code gives a generic run and the generic rules.
  void Reset() {
    m_makers.clear();
    m_rules.clear();
  }
  // rangeKey: two upper-case letters ("QD", "QJ", "QP", ...); a second registration of
  // a key replaces the first.
  void Register(std::string rangeKey, Maker maker);
  bool IsRegistered(std::string_view rangeKey) const;
  // rules: not owned, alive until Reset or the end of the program; null takes the key's
  // rules away. A key of other than two characters is never asked for and is ignored.
  void SetRules(std::string_view rangeKey, const CRunRangeRules* rules);
  // The rules of the code's range; the generic rules when it has none.
  const CRunRangeRules& RulesForCode(std::string_view code) const;

  // The range key of a code: its first two characters in upper case ("Qpa" gives "QP");
  // empty for a code of fewer than three characters.
  static std::string RangeKeyOfCode(std::string_view code);

  // The run of that code for the document (may be null): the range's run class when its
  // key is registered, else a generic CRun. A maker's exception passes on.
  std::unique_ptr<CRun> Create(std::string_view code, CRunDocument* document) const;

  // The run of an in-memory catalogue code as a layout document holds it: the codes of
  // the document's run-class table go to their range, any other code gives a generic
  // run. "Catalog" is the code in either case, so that a range no longer offered keeps
  // its code when the document is saved again.
  std::unique_ptr<CRun> CreateForCatalog(std::string_view catalog, CRunDocument* document) const;

  // In memory "QPC" is the current variant of its range and "Qpc" the older one; in a
  // file the current one is "QPCnew" and the older one "QPC", as files of earlier
  // versions hold it. Every other code is the same in both.
  static std::string FileCodeOf(std::string_view catalog);
  static std::string CatalogOfFileCode(std::string_view fileCode);

 private:
  std::map<std::string, Maker, std::less<>> m_makers;
  // Every bill line shown asks for its range's rules and there are a handful of ranges:
  // a short list of keys, their two characters read as one number, is searched faster
  // than a tree of texts.
  struct CRulesEntry {
    std::uint16_t key;
    const CRunRangeRules* rules;
  };
  std::vector<CRulesEntry> m_rules;
};

// CRunFactory::Instance().Create(code, document).
std::unique_ptr<CRun> CreateRunForCode(std::string_view code, CRunDocument* document);
