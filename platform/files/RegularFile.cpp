#include "platform/files/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>

#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ombrevale {
namespace {

constexpr const char* kNotAFile = "not a file";
// The most one read asks for: a size every system takes in one call.
constexpr size_t kChunk = size_t{1} << 20;

}  // namespace

#if defined(_WIN32)

RegularFile::RegularFile(const std::string& path) {
  // Any name the system gives a pipe or a device opens at once; a folder opens only when asked
  // for as one, so that it is told apart from a file that cannot be read.
  const std::filesystem::path name(std::u8string(path.begin(), path.end()));
  const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    missing_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    // The same words as on every other system for the commonest failure.
    why_ =
        missing_ ? std::strerror(ENOENT) : std::system_category().message(static_cast<int>(error));
    return;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    why_ = kNotAFile;
    CloseHandle(file);
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(file);
  size_ = uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
}

RegularFile::~RegularFile() {
  if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

int64_t RegularFile::ReadSome(uint8_t* into, size_t n) {
  DWORD got = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), into, static_cast<DWORD>(std::min(n, kChunk)),
                &got, nullptr)) {
    why_ = std::system_category().message(static_cast<int>(GetLastError()));
    return -1;
  }
  return got;
}

#else

RegularFile::RegularFile(const std::string& path) {
  // O_NONBLOCK lets a FIFO's open return at once; it changes nothing for an ordinary file.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    missing_ = errno == ENOENT || errno == ENOTDIR;
    why_ = std::strerror(errno);
    return;
  }
  struct stat status;
  if (fstat(fd, &status) != 0) {
    why_ = std::strerror(errno);
    close(fd);
    return;
  }
  if (!S_ISREG(status.st_mode)) {
    why_ = kNotAFile;
    close(fd);
    return;
  }
  handle_ = fd;
  size_ = static_cast<uint64_t>(status.st_size);
}

RegularFile::~RegularFile() {
  if (IsOpen()) close(static_cast<int>(handle_));
}

int64_t RegularFile::ReadSome(uint8_t* into, size_t n) {
  for (;;) {
    const ssize_t got = read(static_cast<int>(handle_), into, std::min(n, kChunk));
    if (got >= 0) return got;
    if (errno != EINTR) break;
  }
  why_ = std::strerror(errno);
  return -1;
}

#endif

bool RegularFile::IsOpen() const {
  return handle_ != -1;
}

bool RegularFile::Read(uint8_t* into, size_t n) {
  while (n > 0) {
    const int64_t got = ReadSome(into, n);
    if (got < 0) return false;
    if (got == 0) {
      why_ = "it ended before its size";
      return false;
    }
    into += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

bool RegularFile::ReadRest(std::vector<uint8_t>& bytes, uint64_t maxBytes) {
  bytes.clear();
  if (size_ <= maxBytes) {
    // The size it had when opened, as a guess: it may have grown or shrunk since.
    bytes.reserve(static_cast<size_t>(size_));
    for (;;) {
      const size_t at = bytes.size();
      // One byte beyond the most allowed tells a file of that size from a larger one.
      const uint64_t room = maxBytes + 1 - at;
      if (room == 0) break;
      bytes.resize(at + static_cast<size_t>(std::min<uint64_t>(room, kChunk)));
      const int64_t got = ReadSome(bytes.data() + at, bytes.size() - at);
      bytes.resize(at + static_cast<size_t>(std::max<int64_t>(got, 0)));
      if (got < 0) return false;
      if (got == 0) return true;
    }
  }
  why_ = "it is larger than " + std::to_string(maxBytes) + " bytes";
  return false;
}

}  // namespace ombrevale
