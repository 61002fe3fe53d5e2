#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` by `bytes` so that the file is, at every moment and after any
// crash, either wholly the old one or wholly the new one: the bytes go to a temporary file in
// the same folder, are flushed and synced to the disk, and the temporary file is renamed over
// the old one. On failure (full disk, file-size limit, a folder that cannot take the file)
// the old file is left untouched, no temporary file stays behind, and `errorText`, when given,
// receives the system's reason.
bool SaveFileAtomically(const QString &path, const QByteArray &bytes, QString *errorText = nullptr);
