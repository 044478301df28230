#include "model/document/dorne_doc.h"

#include "app/message_text.h"
#include "model/document/doc_file_bytes.h"
#include "platform/archive.h"
#include "platform/ini_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr int kMsgBadFormat = 8018;
constexpr int kMsgCannotRead = 8021;
constexpr int kMsgCannotWrite = 23230;

// Version errors are shown only for design files, not for models or snapshots.
bool IsDesignFile(std::string_view path) {
  if (path.size() < 4) return false;
  std::string tail(path.substr(path.size() - 4));
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return tail == ".RUN";
}

// While a stream is read: how to read it again from an offset on.
class CReadableAgain {
 public:
  template <class ReadAgain>
  CReadableAgain(
      std::function<bool(std::size_t, const std::function<void(CArchiveReader&)>&)>& slot,
      ReadAgain&& readAgain)
      : m_slot(slot) {
    m_slot = std::forward<ReadAgain>(readAgain);
  }
  ~CReadableAgain() { m_slot = nullptr; }
  CReadableAgain(const CReadableAgain&) = delete;
  CReadableAgain& operator=(const CReadableAgain&) = delete;

 private:
  std::function<bool(std::size_t, const std::function<void(CArchiveReader&)>&)>& m_slot;
};

CDocFileResult Failure(int message, std::string text, bool show = true) {
  return CDocFileResult{false, message, std::move(text), show};
}

}  // namespace

CDocFileResult CDorneDoc::OnOpenDocument(const std::string& path) {
  try {
    // A file being opened is read whole or not at all, and can be read again from any
    // place: its runs may be read on several threads.
    const CReadableAgain again(m_readAgain, [&path](std::size_t offset, const auto& decode) {
      return ReadFileStreamFrom(path, offset, decode);
    });
    if (!ReadFileStream(path, [this](CArchiveReader& archive) { Serialize(archive); }))
      return Failure(kMsgCannotRead, FormatMessageTextS(kMsgCannotRead, path));
  } catch (const CDocVersionError& error) {
    return Failure(error.Message(), error.Text(), IsDesignFile(path));
  } catch (const CArchiveError&) {
    return Failure(kMsgBadFormat, LookupText(kMsgBadFormat));
  } catch (const std::bad_alloc&) {
    return Failure(kMsgBadFormat, LookupText(kMsgBadFormat));
  } catch (const std::length_error&) {
    return Failure(kMsgBadFormat, LookupText(kMsgBadFormat));
  }
  SetModifiedFlag(false);
  return {};
}

void CDorneDoc::ReadFromBytes(const std::vector<std::uint8_t>& bytes,
                              const std::function<void()>& beforePiece) {
  const CReadableAgain again(m_readAgain, [&](std::size_t offset, const auto& decode) {
    return ReadBytesStreamFrom(bytes, offset, decode, beforePiece);
  });
  ReadBytesStream(
      bytes, [this](CArchiveReader& archive) { Serialize(archive); }, beforePiece);
}

CDocFileResult CDorneDoc::OnSaveDocument(const std::string& path) {
  CArchiveWriter archive;
  Serialize(archive);
  const std::vector<std::uint8_t>& bytes = archive.Bytes();
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!tvr::platform::CIniFile::WriteAtomically(path, content)) {
    return Failure(kMsgCannotWrite, FormatMessageTextS(kMsgCannotWrite, path));
  }
  SetModifiedFlag(false);
  return {};
}
