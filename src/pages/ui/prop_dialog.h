#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/props/obj_handle.h"

class CObjWithProp;
class CProfile;
class CPropPageDialog;
class CPropPageFactory;
class QAction;
class QTabBar;
class QToolBar;
class QToolButton;

// What the property window reads of the program: the settings file (its place and pin),
// the screen scale of the pictures and the page makers.
struct CPropWindowSetup {
  CProfile* profile = nullptr;  // may be null: nothing is read or written
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  CPropPageFactory* factory = nullptr;  // null: the program's factory
};

// The floating property window: a pin, a tab strip (12320) with one tab per page of the
// shown object, the pages below it, and a navigation bar (59392) whose buttons 32834 to
// 32837 go to the previous or next object, or the previous or next with the same name.
// The window knows objects only through CObjWithProp; it holds them by handle, so an
// object destroyed while shown is never touched again.
class CPropDialog : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTabStripId = 12320;
  static constexpr int kNavigationBarId = 59392;
  static constexpr int kPreviousSameName = 32834;
  static constexpr int kPrevious = 32835;
  static constexpr int kNext = 32836;
  static constexpr int kNextSameName = 32837;

  CPropDialog(const CPropWindowSetup& setup, QWidget* owner);
  ~CPropDialog() override;

  // Message 1025: the object's pages, replacing what is shown.
  void ShowObject(CObjWithProp* object);
  // The same with a page list of the caller's choosing (the object's own by default).
  void ShowPages(CObjWithProp* object, const std::vector<int>& pages);
  // Message 1026: the pages go; an unpinned window then closes.
  void ClearObject();
  // 1 when the index is current or becomes current, 0 for a bad index.
  int SelectPage(int index);

  // A close asked for before (a cleared object, a lost activation) is dropped: the window
  // was opened again in the meantime.
  void KeepOpen();

  bool IsPinned() const { return m_pinned; }
  void SetPinned(bool pinned);
  CObjWithProp* ShownObject() const { return m_object.Get(); }
  int PageCount() const { return static_cast<int>(m_pages.size()); }
  int CurrentIndex() const { return m_current; }
  // The window of the current page, or null (none shown, or a page without a window).
  CPropPageDialog* CurrentPage() const;
  QTabBar* TabStrip() const { return m_tabs; }
  QAction* NavigationAction(int id) const;
  const QString& LastCaption() const { return m_lastCaption; }
  QRect PageArea() const { return m_pageArea; }

 signals:
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildControls();
  void BuildPin();
  void BuildNavigationBar();
  void PlaceAtSavedPosition();
  // Where a window opens that has no saved place: at the top left of the owner's working
  // area, below its menus and beside its toolbars, where a layout laid out from the
  // middle of the view toward +x, +z or up leaves room.
  QPoint FirstPlace(const QRect& screenArea) const;
  // The whole window brought onto its screen, where a change of size let it out.
  void KeepOnScreen();
  // The frame the window has, or is likely to get before the window manager framed it.
  QSize FrameSize() const;
  // The shown pages placed on the page area, the window kept on its screen.
  void PlacePages();
  void MoveBy(const QPoint& place);
  // The user is moving the window: it moved a moment ago, or the pointer is on its frame.
  bool IsBeingDragged() const;
  void SavePosition();
  // The pages and tabs gone, the window left open.
  void ClearPages();
  void CreatePages(CObjWithProp& object, const std::vector<int>& pages, bool isRun);
  void AskNavigationTargets(CObjWithProp& object);
  void UpdateNavigation();
  void Navigate(int id);
  bool LeaveCurrentPage(bool quiet);
  void EnterPage(int index);
  void OnTabChanged(int index);
  void ApplyFoldState(bool folded);
  // A folded page's lower part hidden again, the window back to its size.
  void Unfold(CPropPageDialog& page);
  void PostClose();
  void OnFocusWindowChanged(class QWindow* focus);
  void PaintSummary(class QPainter& painter);

  CPropWindowSetup m_setup;
  QToolButton* m_pin = nullptr;
  QTabBar* m_tabs = nullptr;
  QToolBar* m_navigation = nullptr;
  std::array<QAction*, 4> m_navigationActions{};
  std::array<CObjHandle, 4> m_targets{};
  CObjHandle m_object;
  bool m_objectShown = false;
  std::vector<std::unique_ptr<CPropPageDialog>> m_pages;  // null where a page has no window
  int m_current = -1;
  QString m_lastCaption;
  QRect m_pageArea;
  QRect m_initialPageArea;
  QSize m_initialSize;
  int m_foldGrowth = 0;  // what the window grew by to show a folded page's lower part
  bool m_pinned = false;
  bool m_saving = false;
  bool m_closed = false;
  bool m_closePending = false;
  // The activation went to no window of the program (the window manager moving this one
  // by its caption): the window closes once another window of the program takes it.
  bool m_closeOnActivation = false;
  // Where the window placed itself last, and when the user last moved it elsewhere.
  QPoint m_placed;
  QElapsedTimer m_lastDrag;
};
