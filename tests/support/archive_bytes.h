#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/archive.h"

// The bytes an object writes to an archive.
template <typename T>
std::vector<std::uint8_t> WrittenBytes(const T& object) {
  CArchiveWriter writer;
  object.Serialize(writer);
  return writer.TakeBytes();
}

// Reads the object from the bytes, which it must use up; throws what reading throws.
template <typename T>
T& ReadBytes(T& object, const std::vector<std::uint8_t>& bytes) {
  CArchiveReader reader(bytes);
  object.Serialize(reader);
  EXPECT_TRUE(reader.AtEnd());
  return object;
}
