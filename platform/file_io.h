#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace lumetra::platform {

// Reads a whole file of at most maxBytes; a larger one is refused with
// std::errc::file_too_large rather than read into memory.
std::error_code ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes, std::string& contents);

// Replaces the file's contents so that a reader sees either the old or the new
// file, never a mix: write a temporary file in the same directory, fsync it,
// rename it over the target. A link is followed, so the file it names is replaced.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view contents);

// Whether an existing file may be written to. A file without any write permission bit
// counts as read-only even for root, as the read-only attribute does on Windows.
bool IsWritableFile(const std::filesystem::path& path);

// Renames a damaged file to the first free "<name>.corrupt", "<name>.corrupt.1", ...
// so that a fresh file can take its place without losing it.
std::error_code MoveAside(const std::filesystem::path& path, std::filesystem::path& movedTo);

}  // namespace lumetra::platform
