#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace lumetra::platform {

// Reads a whole file of at most maxBytes; a larger one is refused with
// std::errc::file_too_large rather than read into memory.
std::error_code ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes,
                                std::string& contents);

// A file written under a temporary name beside its target and put in the target's place
// by Commit(): readers see the old file or the whole new one, never a part, and a
// failure or a crash before the rename leaves the old file as it was. A link is followed:
// the file it names is replaced and the link stays. A replaced file keeps its permission
// mode; a new one gets 0666 less the umask.
class AtomicFile {
 public:
  // Makes the temporary file; `error` says why it could not be made.
  AtomicFile(const std::filesystem::path& path, std::error_code& error);
  // Without a successful Commit() the temporary file is removed again.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The file Commit() replaces: the path given with its links resolved.
  const std::filesystem::path& Target() const { return target_; }

  std::error_code Write(std::string_view bytes);

  // The temporary file as a stdio stream, for format libraries that write through one.
  // It stays owned here; Commit() flushes and closes it. Null with `error` set when the
  // stream cannot be made.
  std::FILE* Stream(std::error_code& error);

  // Syncs the temporary file, renames it over the target and syncs the folder, so the new
  // contents survive a power cut once this returns. After a failure the target is as it
  // was and the temporary file is gone.
  std::error_code Commit();

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  std::FILE* stream_ = nullptr;
};

// An AtomicFile holding `contents`.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view contents);

// Puts the complete file `from` in the place of `to` as AtomicFile::Commit() does (synced,
// a link followed, a replaced file's mode kept), for files a library or another process
// wrote. Both must be on one file system; after a failure `to` is as it was.
std::error_code ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Whether an existing file may be written to. A file without any write permission bit
// counts as read-only even for root, as the read-only attribute does on Windows.
bool IsWritableFile(const std::filesystem::path& path);

// Renames a damaged file to the first free "<name>.corrupt", "<name>.corrupt.1", ...
// so that a fresh file can take its place without losing it.
std::error_code MoveAside(const std::filesystem::path& path, std::filesystem::path& movedTo);

}  // namespace lumetra::platform
