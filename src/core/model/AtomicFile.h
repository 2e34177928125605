#pragma once

#include <string>
#include <string_view>

// Replaces `path` with `bytes` so that a crash, a full disk or a failed write
// never leaves a damaged file: the bytes go to a temporary file beside it,
// which is synced and renamed over the target only when every byte is on
// disk. Returns 0 or the errno of the step that failed; the previous file is
// then untouched and the temporary file removed. A symbolic link at `path`
// is kept and the file it points to replaced.
//
// The temporary file is named ".NAME.tavromark-save-PID-XXXXXX" beside the
// target NAME. One left by a save that was killed is removed by the next save
// of the same target, once its process is gone.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same replacement written piece by piece, for files too large to hold
// in memory: Open makes the temporary file, Write appends to it, and Commit
// syncs it and renames it over the target. Each returns 0 or the errno of the
// step that failed; after a failure every later call returns that errno, and
// a writer destroyed or abandoned before Commit removes its temporary file
// and leaves the target untouched.
class CAtomicFileWriter
{
public:
    CAtomicFileWriter() = default;
    CAtomicFileWriter(const CAtomicFileWriter&) = delete;
    CAtomicFileWriter& operator=(const CAtomicFileWriter&) = delete;
    ~CAtomicFileWriter();

    int Open(const std::string& path);
    int Write(std::string_view bytes);
    int Commit();
    void Abandon();
    int Error() const { return m_nError; }

private:
    int Fail(int error);

    std::string m_strPath;
    std::string m_strTemporary;
    int m_fd = -1;
    int m_nError = 0;
};

// ".NAME.tavromark-save-": how the temporary files of a target named NAME
// begin.
std::string SaveTemporaryPrefix(const std::string& name);
