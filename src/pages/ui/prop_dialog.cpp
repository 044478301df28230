#include "pages/ui/prop_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMoveEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <utility>

#include "app/profile.h"
#include "app/ui/window_translation.h"
#include "model/props/obj_with_prop.h"
#include "model/run/run.h"
#include "pages/page_captions.h"
#include "pages/prop_window_rules.h"
#include "pages/ui/page_factory.h"
#include "pages/ui/prop_page_dialog.h"
#include "platform/text_conversions.h"

namespace {

constexpr int kWidth = 450;
constexpr int kHeight = 190;
constexpr QRect kPinSquare(5, 3, 21, 20);
// A loss of activation this soon after the user moved the window belongs to the move.
constexpr qint64 kDragPauseMs = 500;
// The tab strip starts right of the pin and ends 3 pixels short of the window's edge.
constexpr int kTabStripLeft = 45;
constexpr int kTabStripMargin = 48;
// What a window manager's frame commonly adds, for placing a window not yet framed.
constexpr int kFrameSide = 1;
constexpr int kCaptionHeight = 24;
// The first place keeps this far from the owner's working area's edges.
constexpr int kFirstPlaceMargin = 8;

// Index of the navigation buttons in the bar, their ids and the "how" they pass.
constexpr std::array<int, 4> kNavigationIds = {CPropDialog::kPreviousSameName,
                                               CPropDialog::kPrevious, CPropDialog::kNext,
                                               CPropDialog::kNextSameName};
constexpr std::array<int, 4> kNavigationHow = {CObjWithProp::kGoPreviousSameName,
                                               CObjWithProp::kGoPrevious, CObjWithProp::kGoNext,
                                               CObjWithProp::kGoNextSameName};

QIcon PinIcon() {
  QIcon icon;
  for (bool pinned : {false, true}) {
    QPixmap picture(21, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(200, 30, 30));
    if (pinned) {
      painter.drawLine(10, 10, 10, 18);
      painter.drawEllipse(QPointF(10, 6), 4, 4);
    } else {
      painter.drawLine(3, 10, 11, 10);
      painter.drawEllipse(QPointF(15, 10), 4, 4);
    }
    icon.addPixmap(picture, QIcon::Normal, pinned ? QIcon::On : QIcon::Off);
  }
  return icon;
}

}  // namespace

CPropDialog::CPropDialog(const CPropWindowSetup& setup, QWidget* owner)
    : QWidget(owner, Qt::Tool), m_setup(setup) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("CPropDialog"));
  if (m_setup.factory == nullptr) m_setup.factory = &CPropPageFactory::Instance();
  SetMessageText(this, prop_window::kMsgTitle);
  resize(static_cast<int>(kWidth * m_setup.scaleX), static_cast<int>(kHeight * m_setup.scaleY));
  m_initialSize = size();
  BuildControls();
  PlaceAtSavedPosition();
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &CPropDialog::OnFocusWindowChanged);
  if (m_setup.profile != nullptr) {
    SetPinned(TextToBool(
        m_setup.profile->ReadProfileText(prop_window::kSection, prop_window::kKeyPinned, "FALSE")));
  }
  TranslateWindow(this);
}

CPropDialog::~CPropDialog() = default;

void CPropDialog::BuildControls() {
  BuildPin();
  m_tabs = new QTabBar(this);
  m_tabs->setObjectName(QString::number(kTabStripId));
  m_tabs->setGeometry(kTabStripLeft, 3, width() - kTabStripMargin, 27);
  m_tabs->setExpanding(false);
  // An object with more tabs than the strip holds scrolls them: the window keeps its width
  // while another element's pages come, and its edge stays where the user left it.
  m_tabs->setUsesScrollButtons(true);
  m_tabs->setElideMode(Qt::ElideNone);
  m_tabs->hide();
  connect(m_tabs, &QTabBar::currentChanged, this, &CPropDialog::OnTabChanged);
  BuildNavigationBar();
  m_pageArea = QRect(QPoint(5, 27), QPoint(width() - 3, height() - 35));
  m_initialPageArea = m_pageArea;
}

void CPropDialog::BuildPin() {
  m_pin = new QToolButton(this);
  m_pin->setObjectName(QStringLiteral("pin"));
  m_pin->setCheckable(true);
  m_pin->setAutoRaise(true);
  m_pin->setIcon(PinIcon());
  m_pin->setGeometry(kPinSquare);
  connect(m_pin, &QToolButton::toggled, this, [this](bool on) {
    m_pinned = on;
    if (m_setup.profile != nullptr)
      (void)m_setup.profile->WriteProfileText(prop_window::kSection, prop_window::kKeyPinned,
                                              BoolToText(on));
  });
}

// The four buttons, centred at the foot of the window.
void CPropDialog::BuildNavigationBar() {
  m_navigation = new QToolBar(this);
  m_navigation->setObjectName(QString::number(kNavigationBarId));
  const QStyle::StandardPixmap pictures[4] = {QStyle::SP_MediaSkipBackward, QStyle::SP_ArrowLeft,
                                              QStyle::SP_ArrowRight, QStyle::SP_MediaSkipForward};
  for (std::size_t i = 0; i < kNavigationIds.size(); ++i) {
    QAction* action = m_navigation->addAction(style()->standardIcon(pictures[i]), QString());
    action->setObjectName(QString::number(kNavigationIds[i]));
    action->setEnabled(false);
    const int id = kNavigationIds[i];
    connect(action, &QAction::triggered, this, [this, id] { Navigate(id); });
    m_navigationActions[i] = action;
  }
  m_navigation->adjustSize();
  const int barWidth = m_navigation->sizeHint().width();
  m_navigation->setGeometry((width() - barWidth) / 2, height() - 33, barWidth, 30);
}

void CPropDialog::PlaceAtSavedPosition() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
  const bool saved =
      m_setup.profile != nullptr &&
      !m_setup.profile->ReadProfileText(prop_window::kSection, prop_window::kKeyLeft, "").empty();
  QPoint place = FirstPlace(area) - area.topLeft();
  if (saved) {
    place = QPoint(m_setup.profile->ReadProfileInt(prop_window::kSection, prop_window::kKeyLeft, 0),
                   m_setup.profile->ReadProfileInt(prop_window::kSection, prop_window::kKeyTop, 0));
  }
  // A place saved on a larger screen, or near its edge, must not hide the window.
  const QSize frame = FrameSize();
  MoveBy(QPoint(area.left() + prop_window::PlaceOnScreen(place.x(), frame.width(), area.width()),
                area.top() + prop_window::PlaceOnScreen(place.y(), frame.height(), area.height())));
}

QPoint CPropDialog::FirstPlace(const QRect& screenArea) const {
  const auto* owner = qobject_cast<const QMainWindow*>(parentWidget());
  const QWidget* work = owner != nullptr ? owner->centralWidget() : nullptr;
  if (work == nullptr || !work->isVisible()) return screenArea.topLeft();
  const QRect area(work->mapToGlobal(QPoint(0, 0)), work->size());
  return area.topLeft() + QPoint(kFirstPlaceMargin, kFirstPlaceMargin);
}

void CPropDialog::KeepOnScreen() {
  const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (shown == nullptr) return;
  const QRect area = shown->geometry();
  // A window's place is that of its frame, caption and borders included. Until the window
  // manager has framed the window, its place is the one asked for: what it reports then
  // is not yet where it will stand.
  const bool framed = windowHandle() != nullptr && !windowHandle()->frameMargins().isNull();
  const QPoint at = framed || !isVisible() ? pos() : m_placed;
  const QSize size = framed ? frameGeometry().size() : FrameSize();
  const QPoint wanted(
      area.left() + prop_window::PlaceOnScreen(at.x() - area.left(), size.width(), area.width()),
      area.top() + prop_window::PlaceOnScreen(at.y() - area.top(), size.height(), area.height()));
  if (wanted != at) MoveBy(wanted);
}

QSize CPropDialog::FrameSize() const {
  return size() + QSize(2 * kFrameSide, kFrameSide + kCaptionHeight);
}

void CPropDialog::PlacePages() {
  for (const auto& page : m_pages)
    if (page) page->setGeometry(m_pageArea);
  KeepOnScreen();
}

// The strip, the page area and the navigation bar follow the window's size.
void CPropDialog::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_tabs->setGeometry(kTabStripLeft, 3, width() - kTabStripMargin, 27);
  m_pageArea.setRight(width() - 3);
  const int barWidth = m_navigation->sizeHint().width();
  m_navigation->setGeometry((width() - barWidth) / 2, height() - 33, barWidth, 30);
  if (CPropPageDialog* page = CurrentPage()) page->setGeometry(m_pageArea);
}

void CPropDialog::MoveBy(const QPoint& place) {
  m_placed = place;
  // The place is that of the frame. Before the window manager has framed the window, a
  // move places its client area: the owner's frame stands for the one it will get, so
  // that the caption does not land below the place (and climb at every opening).
  if (windowHandle() == nullptr) create();
  QPoint client = place;
  const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  if (windowHandle()->frameMargins().isNull() && owner != nullptr && owner->isVisible())
    client += owner->geometry().topLeft() - owner->frameGeometry().topLeft();
  move(client);
}

void CPropDialog::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (isVisible() && pos() != m_placed) m_lastDrag.start();
}

bool CPropDialog::IsBeingDragged() const {
  if (m_lastDrag.isValid() && m_lastDrag.elapsed() < kDragPauseMs) return true;
  const QPoint pointer = QCursor::pos();
  return frameGeometry().contains(pointer) && !geometry().contains(pointer);
}

void CPropDialog::SavePosition() {
  if (m_setup.profile == nullptr) return;
  const QRect area = screen() != nullptr ? screen()->geometry() : QRect();
  (void)m_setup.profile->WriteProfileInt(prop_window::kSection, prop_window::kKeyLeft,
                                         x() - area.left());
  (void)m_setup.profile->WriteProfileInt(prop_window::kSection, prop_window::kKeyTop,
                                         y() - area.top());
  (void)m_setup.profile->WriteProfileText(prop_window::kSection, prop_window::kKeyPinned,
                                          BoolToText(m_pinned));
}

void CPropDialog::SetPinned(bool pinned) {
  m_pinned = pinned;
  const QSignalBlocker blocker(m_pin);
  m_pin->setChecked(pinned);
}

CPropPageDialog* CPropDialog::CurrentPage() const {
  if (m_current < 0 || m_current >= PageCount()) return nullptr;
  return m_pages[static_cast<std::size_t>(m_current)].get();
}

QAction* CPropDialog::NavigationAction(int id) const {
  for (std::size_t i = 0; i < kNavigationIds.size(); ++i)
    if (kNavigationIds[i] == id) return m_navigationActions[i];
  return nullptr;
}

void CPropDialog::ShowObject(CObjWithProp* object) {
  ShowPages(object, object != nullptr ? object->GetPages() : std::vector<int>());
}

void CPropDialog::ShowPages(CObjWithProp* object, const std::vector<int>& pages) {
  // The focus may sit in a page that the clearing destroys.
  const QPointer<QWidget> focus = QApplication::focusWidget();
  // Another object's pages replace these: the window stays open, pinned or not.
  if (!m_pages.empty()) ClearPages();
  m_object = object != nullptr ? object->GetHandle() : CObjHandle();
  m_objectShown = object != nullptr;
  if (object == nullptr) return;
  AskNavigationTargets(*object);
  const bool isRun = dynamic_cast<CRun*>(object) != nullptr;
  CreatePages(*object, pages, isRun);
  if (m_pages.empty()) {
    update();
    return;
  }
  PlacePages();
  const CRun* run = prop_window::OwnerRun(object);
  const bool known = run == nullptr || run->GetCatalogueKnown() != 0;
  std::vector<std::string> captions;
  for (int i = 0; i < m_tabs->count(); ++i) captions.push_back(m_tabs->tabText(i).toStdString());
  m_current = prop_window::OpeningTab(isRun, captions, m_lastCaption.toStdString());
  m_lastCaption = m_tabs->tabText(m_current);
  m_tabs->setVisible(known);
  if (!known) {
    update();
  } else {
    const QSignalBlocker blocker(m_tabs);
    m_tabs->setCurrentIndex(m_current);
    EnterPage(m_current);
  }
  if (focus != nullptr && focus != this && !isAncestorOf(focus)) focus->setFocus();
}

void CPropDialog::AskNavigationTargets(CObjWithProp& object) {
  CObjWithProp* targets[4] = {object.GetPrevSameName(), object.GetPrevObject(),
                              object.GetNextObject(), object.GetNextSameName()};
  for (std::size_t i = 0; i < m_targets.size(); ++i)
    m_targets[i] = targets[i] != nullptr ? targets[i]->GetHandle() : CObjHandle();
  UpdateNavigation();
}

void CPropDialog::UpdateNavigation() {
  for (std::size_t i = 0; i < m_targets.size(); ++i)
    m_navigationActions[i]->setEnabled(m_targets[i].IsAlive());
}

void CPropDialog::CreatePages(CObjWithProp& object, const std::vector<int>& pages, bool isRun) {
  const QSignalBlocker blocker(m_tabs);
  while (m_tabs->count() > 0) m_tabs->removeTab(0);
  for (int page : pages) {
    std::unique_ptr<CPropPageDialog> window = m_setup.factory->Make(page);
    QString caption = ResourceQText(PageCaptionMessage(page));
    if (window) {
      window->setParent(this);
      window->hide();
      window->Rules().SetObject(&object, object.GetPageWord(page));
      window->LoadPage();
      caption = window->Caption();
      connect(window.get(), &CPropPageDialog::FoldChanged, this, &CPropDialog::ApplyFoldState);
    }
    if (m_pages.empty()) {
      const int extra = isRun && window
                            ? std::max(0, window->sizeHint().height() - m_initialPageArea.height())
                            : 0;
      // An open window keeps its size while other pages come: it only grows.
      const int grown = std::max(height(), m_initialSize.height() + extra);
      if (grown != height()) {
        resize(width(), grown);
        KeepOnScreen();
      }
      m_pageArea = m_initialPageArea.adjusted(0, 0, 0, grown - m_initialSize.height());
      m_pageArea.setRight(width() - 3);
    }
    if (window) window->setGeometry(m_pageArea);
    m_tabs->addTab(QLatin1Char(' ') + caption + QLatin1Char(' '));
    m_pages.push_back(std::move(window));
  }
}

void CPropDialog::ClearObject() {
  if (m_pages.empty()) {
    m_objectShown = false;
    update();
    return;
  }
  ClearPages();
  if (!m_pinned) PostClose();
  else update();
}

void CPropDialog::ClearPages() {
  if (CPropPageDialog* page = CurrentPage()) {
    page->hide();
    Unfold(*page);
  }
  m_tabs->hide();
  {
    const QSignalBlocker blocker(m_tabs);
    while (m_tabs->count() > 0) m_tabs->removeTab(m_tabs->count() - 1);
  }
  m_pages.clear();
  m_current = -1;
  m_object = CObjHandle();
  m_objectShown = false;
  m_targets = {};
  UpdateNavigation();
}

int CPropDialog::SelectPage(int index) {
  if (index == m_current) return 1;
  if (index < 0 || index >= m_tabs->count()) return 0;
  m_tabs->setCurrentIndex(index);
  return m_current == index ? 1 : 0;
}

// The page left: what it holds applied while it is shown, and folded back.
bool CPropDialog::LeaveCurrentPage(bool quiet) {
  CPropPageDialog* page = CurrentPage();
  if (!m_tabs->isVisibleTo(this)) return false;
  if (page == nullptr || page->isHidden()) return true;
  if (page->Rules().IsLoaded()) page->ApplyPage(quiet);
  page->hide();
  Unfold(*page);
  return true;
}

void CPropDialog::Unfold(CPropPageDialog& page) {
  if (page.FoldButton() != nullptr && page.FoldButton()->isChecked())
    page.FoldButton()->setChecked(false);
}

void CPropDialog::EnterPage(int index) {
  m_current = index;
  m_lastCaption = m_tabs->tabText(index).left(100);
  if (CPropPageDialog* page = CurrentPage()) {
    page->setGeometry(m_pageArea);
    page->show();
    page->raise();
  }
  update();
}

void CPropDialog::OnTabChanged(int index) {
  if (index < 0) return;
  LeaveCurrentPage(false);
  EnterPage(index);
}

void CPropDialog::Navigate(int id) {
  std::size_t slot = 0;
  while (slot < kNavigationIds.size() && kNavigationIds[slot] != id) ++slot;
  CObjWithProp* object = m_object.Get();
  CObjWithProp* target = slot < m_targets.size() ? m_targets[slot].Get() : nullptr;
  if (object == nullptr || target == nullptr || m_current < 0) return;
  const bool pinned = m_pinned;
  // The clearing that the target's showing starts with must not close the window.
  m_pinned = true;
  if (m_tabs->isVisibleTo(this)) {
    if (CPropPageDialog* page = CurrentPage(); page != nullptr && page->Rules().IsLoaded())
      page->ApplyPage();
  }
  if (m_object.Get() != nullptr) object->GoToObject(target, kNavigationHow[slot]);
  m_pinned = pinned;
}

// The page's lower part shown (folded) or hidden: the navigation bar gives its room to
// the page, and the window grows by what the lower part needs beyond that; unfolded, the
// window shrinks back by as much and the bar returns.
void CPropDialog::ApplyFoldState(bool folded) {
  const int bar = m_navigation->height();
  CPropPageDialog* page = CurrentPage();
  int growth = 0;
  if (folded) {
    m_pageArea.setBottom(m_pageArea.bottom() + bar);
    if (page != nullptr) growth = std::max(0, page->sizeHint().height() - m_pageArea.height());
    m_foldGrowth = growth;
  } else {
    growth = -std::exchange(m_foldGrowth, 0);
    m_pageArea.setBottom(m_pageArea.bottom() - bar);
  }
  m_pageArea.setBottom(m_pageArea.bottom() + growth);
  if (growth != 0) resize(width(), height() + growth);
  if (page != nullptr) page->setGeometry(m_pageArea);
  m_navigation->setVisible(!folded);
  if (growth > 0) KeepOnScreen();
  update();
}

void CPropDialog::PostClose() {
  m_closePending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (std::exchange(m_closePending, false)) close();
      },
      Qt::QueuedConnection);
}

void CPropDialog::KeepOpen() {
  m_closePending = false;
  m_closeOnActivation = false;
}

void CPropDialog::OnFocusWindowChanged(QWindow* focus) {
  if (!m_closeOnActivation || focus == nullptr) return;
  m_closeOnActivation = false;
  if (focus != windowHandle() && !m_pinned && !m_closed) PostClose();
}

void CPropDialog::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || isActiveWindow() || m_closed) return;
  CPropPageDialog* page = CurrentPage();
  if (m_pages.empty() || (page != nullptr && page->ModalMarker() == CPropPageDialog::kModalMarker))
    return;
  m_saving = true;
  if (m_tabs->isVisibleTo(this) && page != nullptr && page->Rules().IsLoaded())
    page->ApplyPage(true);
  m_saving = false;
  // Moving the window by its caption may take the activation from it for a while.
  if (m_pinned || IsBeingDragged()) return;
  if (QApplication::activeWindow() == nullptr) m_closeOnActivation = true;
  else PostClose();
}

void CPropDialog::closeEvent(QCloseEvent* event) {
  if (m_closed) {
    event->accept();
    return;
  }
  if (m_tabs->isVisibleTo(this)) {
    if (CPropPageDialog* page = CurrentPage(); page != nullptr && page->Rules().IsLoaded())
      page->ApplyPage(true);
  }
  SavePosition();
  m_closed = true;
  event->accept();
  emit Closed();
}

void CPropDialog::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  const QRect frame = m_pageArea.adjusted(-1, -1, 1, 1);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(frame.topLeft(), frame.topRight());
  painter.drawLine(frame.topLeft(), frame.bottomLeft());
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawLine(frame.topRight(), frame.bottomRight());
  painter.drawLine(frame.bottomLeft(), frame.bottomRight());
  if (m_objectShown && !m_tabs->isVisibleTo(this)) PaintSummary(painter);
}

// An object shown without tabs (its catalogue is not known, or it has no pages): the
// notice and the summary of its run.
void CPropDialog::PaintSummary(QPainter& painter) {
  const CRun* run = prop_window::OwnerRun(m_object.Get());
  const int band = m_pageArea.height() / 4;
  QRect notice(m_pageArea.left(), m_pageArea.top(), m_pageArea.width(), band);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(notice, Qt::AlignCenter, StringQText(prop_window::kMsgUnknownCatalogue));
  if (run != nullptr) {
    painter.drawText(notice.translated(0, band), Qt::AlignCenter,
                     QString::fromStdString(prop_window::RunSummary(*run)));
  }
}
