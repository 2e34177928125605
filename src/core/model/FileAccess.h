#pragma once

#include <cstddef>
#include <string>

// Looking at a file before reading it. Opening a FIFO to read waits for a
// writer that may never come, and a device may never end, so every file the
// program reads is first found to be a regular file, without blocking.

// The error for a path that names neither a regular file nor a directory (a
// FIFO, a device, a socket); beyond the errno range.
constexpr int kErrNotRegularFile = 0x10000;

// The reason for an errno or kErrNotRegularFile, in English, for standard
// error.
std::string FileErrorText(int nError);

// 0 when `path` is a regular file this process may read; EISDIR for a
// directory, kErrNotRegularFile, or the errno of opening it.
int CheckFileForReading(const std::string& path);

// Reads the whole of a regular file of at most nMaxBytes into `bytes`.
// Returns 0, the errors of CheckFileForReading, EFBIG for a larger file, or
// the errno of a failed read; `bytes` is then left empty.
int ReadWholeFile(const std::string& path, std::size_t nMaxBytes, std::string& bytes);

// Whether the mode bits keep this user from writing to the file: the owner's
// bits for its owner, the group's for a member, the others' bits otherwise.
// The superuser, whom no bit stops, is held to a file's having a write bit at
// all, so that a file made read-only (0444) stays so for everyone. False for
// a missing file.
bool IsReadOnlyFile(const std::string& path);
