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

// ".NAME.tavromark-save-": how the temporary files of a target named NAME
// begin.
std::string SaveTemporaryPrefix(const std::string& name);
