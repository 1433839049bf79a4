#pragma once

#include <QString>

/// Contents stored by the older Windows workstations: an embedded-document
/// stream, that is a small container header followed by an OLE2 compound
/// file whose streams hold the document — a whole word-processor or
/// spreadsheet file, a packaged file in an "\x01Ole10Native" stream, or
/// (newer office suites) a .docx/.xlsx file's own bytes in a "Package" stream.
namespace legacycontent {

/// Where the compound file starts after a container header; -1 when the
/// file is no such stream (a compound file at offset 0 is a file's own bytes).
qint64 compoundOffset(const QString &path);

struct Extracted
{
    QString path;  ///< the document, written into the folder; empty on failure
    QString error; ///< why not, in Turkish
};

/// Writes the document the stream holds into `folder`, named `baseName`
/// plus the extension of what it is (the packaged file's own one).
Extracted extract(const QString &path, const QString &folder, const QString &baseName);

} // namespace legacycontent
