#pragma once

#include <string>

namespace zentrava {

// Replaces the file at `path` by `bytes` so that it is, at every moment and after any crash,
// either wholly the old file or wholly the new one: the bytes go to a temporary file beside it,
// are synced to the disk, and the temporary file is renamed over the old one (keeping the old
// file's permissions). Returns an empty text on success, else the system's reason; the old file
// is then untouched and the temporary file removed.
std::string writeFileAtomically(const std::string &path, const std::string &bytes);

} // namespace zentrava
