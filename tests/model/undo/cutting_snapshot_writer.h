#pragma once

#include "model/undo/snapshot_writer.h"

#include <cstdint>
#include <string>
#include <vector>

// A disk that fills up half way through every snapshot file.
class CCuttingSnapshotWriter : public CSnapshotWriter {
 public:
  ~CCuttingSnapshotWriter() override { Stop(); }

 protected:
  bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
    CSnapshotWriter::WriteFile(path, {bytes.begin(), bytes.begin() + bytes.size() / 2});
    return false;
  }
};
