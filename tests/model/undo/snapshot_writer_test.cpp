#include "model/undo/snapshot_writer.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return bytes;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  const std::string text = ReadWholeFile(path);
  return {text.begin(), text.end()};
}

// A disk that fills up half way through every file.
class CCuttingWriter : public CSnapshotWriter {
 public:
  ~CCuttingWriter() override { Stop(); }

 protected:
  bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
    const std::vector<std::uint8_t> half(bytes.begin(), bytes.begin() + bytes.size() / 2);
    CSnapshotWriter::WriteFile(path, half);
    return false;
  }
};

// A disk slower than the edits, counting the files it has written.
class CSlowWriter : public CSnapshotWriter {
 public:
  explicit CSlowWriter(std::size_t mostPending) : CSnapshotWriter(mostPending) {}
  ~CSlowWriter() override { Stop(); }
  std::atomic<std::size_t> written = 0;

 protected:
  bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    const bool whole = CSnapshotWriter::WriteFile(path, bytes);
    ++written;
    return whole;
  }
};

TEST(SnapshotWriterTest, FilesGivenFasterThanTheDiskWaitForTheOldest) {
  const struct {
    const char* guards;
    std::size_t mostPending;
  } rows[] = {
      {"snapshots piled up unwritten, each as large as the document's file", 1},
      {"a second file may wait behind the one being written", 2},
  };
  for (const auto& row : rows) {
    const CTempFolder folder("writer");
    std::vector<std::vector<std::uint8_t>> given;
    {
      CSlowWriter writer(row.mostPending);
      for (std::size_t i = 0; i < 6; ++i) {
        given.push_back(Pattern(1 << 16, static_cast<std::uint8_t>(i)));
        ASSERT_TRUE(writer.Start(folder.File(std::to_string(i)), given.back())) << row.guards;
        EXPECT_LE(given.size() - writer.written, row.mostPending) << row.guards << " " << i;
      }
    }
    for (std::size_t i = 0; i < given.size(); ++i)
      EXPECT_EQ(FileBytes(folder.File(std::to_string(i))), given[i]) << row.guards << " " << i;
  }
}

TEST(SnapshotWriterTest, AWrittenFileLetsGoOfItsBytes) {
  const CTempFolder folder("writer");
  CSnapshotWriter writer;
  const auto bytes = std::make_shared<const std::vector<std::uint8_t>>(Pattern(1 << 16, 9));
  ASSERT_TRUE(writer.Start(folder.File("slot"), bytes));
  writer.WaitFor(folder.File("slot"));
  // The history's buffers are written again only once nobody else holds them.
  EXPECT_EQ(bytes.use_count(), 1);
}

TEST(SnapshotWriterTest, EndingFinishesEveryFileGiven) {
  const struct {
    const char* guards;
    std::vector<std::size_t> sizes;
  } rows[] = {
      {"an empty snapshot", {0}},
      {"one large snapshot", {3 << 20}},
      {"several queued behind one another", {1 << 20, 17, 2 << 20, 1}},
  };
  for (const auto& row : rows) {
    const CTempFolder folder("writer");
    std::vector<std::vector<std::uint8_t>> given;
    {
      CSnapshotWriter writer;
      for (std::size_t i = 0; i < row.sizes.size(); ++i) {
        given.push_back(Pattern(row.sizes[i], static_cast<std::uint8_t>(i)));
        ASSERT_TRUE(writer.Start(folder.File(std::to_string(i)), given.back())) << row.guards;
      }
    }  // gone at once: nothing waited for
    for (std::size_t i = 0; i < given.size(); ++i)
      EXPECT_EQ(FileBytes(folder.File(std::to_string(i))), given[i]) << row.guards << " " << i;
  }
}

TEST(SnapshotWriterTest, AFileIsWholeOnceWaitedFor) {
  const CTempFolder folder("writer");
  CSnapshotWriter writer;
  const std::string path = folder.File("slot");
  for (std::uint8_t round = 0; round < 3; ++round) {
    // The same file given again, shorter each time: no byte of the older one remains.
    const std::vector<std::uint8_t> bytes = Pattern((3u - round) << 19, round);
    ASSERT_TRUE(writer.Start(path, bytes));
    writer.WaitFor(path);
    EXPECT_EQ(FileBytes(path), bytes) << static_cast<int>(round);
  }
}

TEST(SnapshotWriterTest, AFolderThatCannotTakeTheFileIsToldAtOnce) {
  const CTempFolder folder("writer");
  CSnapshotWriter writer;
  const std::string path = folder.File("missing/slot");
  EXPECT_FALSE(writer.Start(path, Pattern(100, 1)));
  writer.WaitFor(path);
  EXPECT_FALSE(fs::exists(path));
}

TEST(SnapshotWriterTest, ACutWriteLeavesNoFile) {
  const CTempFolder folder("writer");
  const std::string path = folder.File("slot");
  {
    CCuttingWriter writer;
    ASSERT_TRUE(writer.Start(path, Pattern(1 << 20, 3)));  // failing comes later
    writer.WaitFor(path);
    EXPECT_FALSE(fs::exists(path));
    ASSERT_TRUE(writer.Start(path, Pattern(1 << 20, 4)));
  }  // nor when the writer ends with the cut file still being written
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
