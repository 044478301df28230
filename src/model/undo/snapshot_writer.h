#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Writes the undo history's snapshot files on a thread of its own, one after the other,
// so that an edit does not wait for the disk. A file counts only once it is whole: one
// that could not be written completely is deleted, and a restore from it then fails as
// from any file that cannot be read.
// The writer finishes every file it was given before it goes. It holds the bytes of only
// a few files at once: a file given beyond them waits for the oldest to be written, so
// that edits faster than the disk do not pile up snapshots as large as the document's
// file. Two by default: an edit right after another does not wait for the disk, while
// the file of the one before is still being written.
class CSnapshotWriter {
 public:
  // mostPending: how many files the writer holds unwritten at most (at least one).
  explicit CSnapshotWriter(std::size_t mostPending = 2);
  virtual ~CSnapshotWriter();
  CSnapshotWriter(const CSnapshotWriter&) = delete;
  CSnapshotWriter& operator=(const CSnapshotWriter&) = delete;

  // Creates the file empty now, so that a folder that cannot take it is known at once,
  // and writes the bytes into it later; false (nothing queued) when it cannot be made.
  // Waits first until fewer than mostPending files are unwritten.
  bool Start(const std::string& path, std::vector<std::uint8_t> bytes);
  // The same with bytes that others keep too (they are not changed).
  bool Start(const std::string& path, std::shared_ptr<const std::vector<std::uint8_t>> bytes);
  // Returns once no file of that path is waiting or being written.
  void WaitFor(const std::string& path);

 protected:
  // The whole of the bytes into the file; false when any of it could not be written.
  virtual bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
  // Subclasses that override WriteFile stop the thread in their own destructor first.
  void Stop();

 private:
  struct CJob {
    std::string path;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
  };
  void Work();
  bool Pending(const std::string& path) const;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<CJob> m_jobs;  // the front one is being written
  std::size_t m_mostPending;
  bool m_stopping = false;
  std::thread m_thread;  // started with the first file
};
