#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

class CDorneDoc;
class QEvent;

// Sorts the display list of a turned view on a thread of its own while the windows wait
// for input, so that the full picture need not wait for the sort once the motion ends.
//
// The sort starts only as the thread of the windows goes to sleep for want of events, and
// that thread leaves the document alone meanwhile: before it delivers any event the sort
// is called off (an event that may move the view: a mouse move, a wheel step, a key) or
// waited for (any other), and its thread joined; so it is whenever the thread wakes. The
// document then holds either the sorted list or the unordered one it had. The one
// exception is the release that ends a turn, which the view's handler lets go on to the
// end (FinishLater) or waits for, before it touches the document.
class CSettleAhead : public QObject {
 public:
  CSettleAhead() = default;
  ~CSettleAhead() override;
  CSettleAhead(const CSettleAhead&) = delete;
  CSettleAhead& operator=(const CSettleAhead&) = delete;

  // The document's list is to be sorted the next time the windows wait for input, unless
  // Drop comes first; once sorted, unless called off by then, the thread goes on with the
  // work given (which must leave the windows alone as well, and end soon once the flag it
  // is given is set).
  void Want(CDorneDoc& document, std::function<void(const std::atomic<bool>&)> then = {});
  void Drop();
  // Calls off the sort under way, or waits for it, and gives the document back; a sort
  // called off is wanted again.
  void Finish(bool callOff);
  bool Running() const { return m_thread.joinable(); }
  // Starts the sort wanted at once rather than when the windows next wait; false when
  // none is under way then.
  bool StartNow();
  // The work under way goes on whatever wakes the windows, until it is done (its thread
  // then wakes them) or until an event comes that may read or change the document: that
  // event waits for it. Either way, once the thread is joined, settled is called on the
  // windows' thread before that event is delivered (or at Finish, called off or not).
  void FinishLater(std::function<void()> settled);
  bool FinishingLater() const { return m_later.load(); }
  // Whether the last sort started got done (false after a call-off, or once forgotten
  // because the view moved again).
  bool LastDone() const { return m_done; }
  void ForgetLast() { m_done = false; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StartIfWanted();
  void WakeWhenDone();

  CDorneDoc* m_wanted = nullptr;
  std::function<void(const std::atomic<bool>&)> m_then;  // of the sort wanted or under way
  CDorneDoc* m_sorting = nullptr;
  bool m_watching = false;  // the event dispatcher's sleeps and wakes
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_later{false};     // FinishLater: wakes leave the work alone
  std::atomic<bool> m_finished{false};  // the thread has nothing left to do
  std::function<void()> m_settled;
  bool m_done = false;
  bool m_calledOff = false;
  std::thread m_thread;
};
