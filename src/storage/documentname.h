#pragma once

#include <QString>

/// Names of attachment files as the file server keeps them. The server and
/// its client apply the same rule, so that a name read from the database can
/// never reach outside the storage folder or TEMPOKU.
namespace documentname {

/// A name longer than this, in UTF-8 bytes, is refused: the common limit of
/// file systems for one path component.
inline constexpr int maxBytes = 255;

/// Why the name is refused, in a few plain words for the server's log; empty
/// when it is a safe plain file name.
QString problem(const QString &name);

inline bool isSafe(const QString &name) { return problem(name).isEmpty(); }

} // namespace documentname
