// POSIX file work for the files subsystem: raw file handles, case-insensitive path
// lookup, safe temporary and replacement files, directories and their listings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qrv::platform {

// --- Paths ---------------------------------------------------------------------------

// The path as it exists on disk: the path itself when it exists as written, otherwise
// the first spelling found by comparing each component without regard to ASCII case.
// Empty when no spelling exists.
std::string FindPathIgnoringCase(const std::string& path);
// Where a new file of this name belongs: an existing spelling of the whole path, else
// the existing spelling of its folder followed by the name as written.
std::string PathForNewFile(const std::string& path);

// --- Handles (-1 is no handle) -------------------------------------------------------

// Opens an existing regular file for reading; -1 when it is missing or not a regular file.
int OpenForReading(const std::string& path);
// Deletes any file of that name, then creates a new empty one for reading and writing
// (a planted link is never followed).
int CreateNewFile(const std::string& path);
// Opens for writing, creating the file when missing, with the write point at its end.
int OpenForAppending(const std::string& path);
// False when the handle could not be closed cleanly.
bool CloseHandle(int handle);
// Size of the open file, -1 on failure.
int64_t HandleSize(int handle);
// Reads up to count bytes (retrying interrupted and partial reads); bytes read, -1 on error.
int64_t ReadHandle(int handle, void* destination, size_t count);
// Reads up to count bytes at an offset without moving the file pointer.
int64_t ReadHandleAt(int handle, void* destination, size_t count, int64_t offset);
// True when all bytes were written.
bool WriteHandle(int handle, const void* bytes, size_t count);
// origin: 0 start, 1 current, 2 end. The new offset, -1 on failure.
int64_t SeekHandle(int handle, int64_t offset, int origin);

// --- Whole files ---------------------------------------------------------------------

// Identity of a file's current content: changes when the file is replaced or rewritten.
struct FileIdentity {
  uint64_t device = 0, inode = 0;
  int64_t size = -1, modifiedNs = 0;
  bool operator==(const FileIdentity&) const = default;
};
bool IdentifyFile(const std::string& path, FileIdentity& identity);

// Replaces the file with the bytes through a fresh file in the same folder that is
// renamed over it, so a failure midway leaves the old content whole.
bool ReplaceFileContent(const std::string& path, const void* bytes, size_t count);
// Writes the bytes to the temporary folder under the given plain name (no '/'), made
// privately and renamed into place: a link planted under that name is replaced, never
// followed. The full path, or empty on failure.
std::string WriteTemporaryFile(const std::string& name, const void* bytes, size_t count);

// --- Folders -------------------------------------------------------------------------

bool MakeDirectory(const std::string& path);
bool IsDirectory(const std::string& path);

struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;
};
// Every entry of the folder, "." and ".." included. False when it cannot be listed.
bool ListDirectoryEntries(const std::string& path, std::vector<DirectoryEntry>& entries);

}  // namespace qrv::platform
