#pragma once

#include <QObject>

#include <atomic>
#include <thread>

class CDorneDoc;
class QEvent;

// Sorts the display list of a turned view on a thread of its own while the mouse rests,
// so that the full picture need not wait for the sort once the motion ends.
//
// Meanwhile the thread of the windows leaves the document alone: before it delivers any
// event the sort is called off (an event that may move the view: a mouse move, a wheel
// step, a key) or waited for (any other), and its thread joined. The document then holds
// either the sorted list or the unordered one it had.
class CSettleAhead : public QObject {
 public:
  CSettleAhead() = default;
  ~CSettleAhead() override;
  CSettleAhead(const CSettleAhead&) = delete;
  CSettleAhead& operator=(const CSettleAhead&) = delete;

  // Starts the sort of the document's list, unless a sort is under way already.
  void Start(CDorneDoc& document);
  // Calls off the sort under way, or waits for it, and gives the document back.
  void Finish(bool callOff);
  bool Running() const { return m_thread.joinable(); }
  // Whether the last sort started got done (false after a call-off, or once forgotten
  // because the view moved again).
  bool LastDone() const { return m_done; }
  void ForgetLast() { m_done = false; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::atomic<bool> m_stop{false};
  bool m_done = false;
  std::thread m_thread;
};
