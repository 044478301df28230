#pragma once

#include <functional>
#include <map>
#include <memory>

class CPropPageDialog;

// Makes the page windows that the property window shows, by page identifier
// (model/page_kinds.h, ranges/range_pages.h). Each page registers its maker once; the
// property window asks for every page its object lists. A page without a maker gets no
// window: its tab shows its caption over an empty area.
class CPropPageFactory {
 public:
  using Maker = std::function<std::unique_ptr<CPropPageDialog>()>;

  // The program's factory, with the common element pages registered.
  static CPropPageFactory& Instance();

  // Replaces the maker of the page.
  void Register(int page, Maker maker);
  bool Knows(int page) const { return m_makers.contains(page); }
  // A new window of the page; null when the page has no maker.
  std::unique_ptr<CPropPageDialog> Make(int page) const;

 private:
  std::map<int, Maker> m_makers;
};

// Registers the length, position and phase-order pages, and the run pages.
void RegisterCommonPages(CPropPageFactory& factory);
// Registers the six run pages: comment, rating, protection, thermal, lengths, supports.
void RegisterRunPages(CPropPageFactory& factory);
