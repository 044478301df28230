#include "platform/mapped_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>

namespace tvr::platform {
namespace {

// The mapped ranges, read by the signal handler without a lock: a range is published
// end first, begin last, and withdrawn begin first.
struct MappedRange {
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
};

constexpr std::size_t kRangeCount = 256;
std::array<MappedRange, kRangeCount> g_ranges;
std::mutex g_rangesLock;  // between threads that publish and withdraw ranges
struct sigaction g_previousAction {};
std::uintptr_t g_pageSize = 4096;

void PassOnBusError(int signal, siginfo_t* info, void* context) {
  if (g_previousAction.sa_flags & SA_SIGINFO) {
    if (g_previousAction.sa_sigaction != nullptr)
      return g_previousAction.sa_sigaction(signal, info, context);
  } else if (g_previousAction.sa_handler != SIG_DFL && g_previousAction.sa_handler != SIG_IGN) {
    return g_previousAction.sa_handler(signal);
  }
  // The default action: returning repeats the fault, which now ends the program.
  ::signal(SIGBUS, SIG_DFL);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (const MappedRange& range : g_ranges) {
    const std::uintptr_t begin = range.begin.load(std::memory_order_acquire);
    const std::uintptr_t end = range.end.load(std::memory_order_acquire);
    if (begin == 0 || address < begin || address >= end) continue;
    // The file was cut short: zeros from the faulting page to the end of the mapping.
    const std::uintptr_t page = address & ~(g_pageSize - 1);
    void* zeros = ::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros != MAP_FAILED) return;
  }
  PassOnBusError(signal, info, context);
}

void InstallHandlerOnce() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    g_pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previousAction);
  });
}

int PublishRange(const void* address, std::size_t length) {
  const std::lock_guard lock(g_rangesLock);
  for (std::size_t slot = 0; slot < kRangeCount; ++slot) {
    MappedRange& range = g_ranges[slot];
    if (range.begin.load(std::memory_order_relaxed) != 0) continue;
    const auto begin = reinterpret_cast<std::uintptr_t>(address);
    range.end.store(begin + length, std::memory_order_release);
    range.begin.store(begin, std::memory_order_release);
    return static_cast<int>(slot);
  }
  return -1;
}

void WithdrawRange(int slot) {
  const std::lock_guard lock(g_rangesLock);
  g_ranges[static_cast<std::size_t>(slot)].begin.store(0, std::memory_order_release);
  g_ranges[static_cast<std::size_t>(slot)].end.store(0, std::memory_order_release);
}

}  // namespace

CMappedFile::~CMappedFile() { Close(); }

CMappedFile::CMappedFile(CMappedFile&& other) noexcept { *this = std::move(other); }

CMappedFile& CMappedFile::operator=(CMappedFile&& other) noexcept {
  if (this == &other) return *this;
  Close();
  m_address = std::exchange(other.m_address, nullptr);
  m_mappedLength = std::exchange(other.m_mappedLength, 0);
  m_slot = std::exchange(other.m_slot, -1);
  m_fd = std::exchange(other.m_fd, -1);
  const bool copied = m_address == nullptr && !other.m_bytes.empty();
  m_copy = std::move(other.m_copy);
  m_bytes = copied ? std::string_view(m_copy) : other.m_bytes;
  other.m_copy.clear();
  other.m_bytes = {};
  return *this;
}

void CMappedFile::Close() {
  if (m_address != nullptr) {
    WithdrawRange(m_slot);
    ::munmap(m_address, m_mappedLength);
  }
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_address = nullptr;
  m_mappedLength = 0;
  m_slot = -1;
  m_copy.clear();
  m_bytes = {};
}

bool CMappedFile::Open(const std::string& path, std::uint64_t maxSize, std::string& fault) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    fault = std::strerror(errno);
    return false;
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) {
    fault = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    fault = "not a file";
    ok = false;
  } else if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
    fault = "the file is too large";
    ok = false;
  }
  const auto size = ok ? static_cast<std::size_t>(info.st_size) : 0;
  InstallHandlerOnce();
  void* address =
      ok && size > 0 ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
  if (address != MAP_FAILED) {
    const std::size_t length = (size + g_pageSize - 1) & ~(g_pageSize - 1);
    m_slot = PublishRange(address, length);
    if (m_slot >= 0) {
      m_address = address;
      m_mappedLength = length;
      m_bytes = std::string_view(static_cast<const char*>(address), size);
    } else {
      ::munmap(address, size);
    }
  }
  if (ok && m_address == nullptr) ok = ReadInstead(fd, size, fault);
  if (m_address != nullptr) {
    m_fd = fd;
  } else {
    ::close(fd);
  }
  return ok;
}

bool CMappedFile::ReadAt(std::uint64_t offset, char* out, std::size_t size) const {
  if (m_fd < 0) return false;
  for (std::size_t done = 0; done < size;) {
    const ssize_t got = ::pread(m_fd, out + done, size - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool CMappedFile::ReadInstead(int fd, std::size_t size, std::string& fault) {
  m_copy.resize(size);
  for (std::size_t done = 0; done < size;) {
    const ssize_t got = ::pread(fd, m_copy.data() + done, size - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      fault = got < 0 ? std::strerror(errno) : "the file shrank while being read";
      m_copy.clear();
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  m_bytes = m_copy;
  return true;
}

}  // namespace tvr::platform
