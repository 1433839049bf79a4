#pragma once

#include "db/fb/attachment.h"

#include <QString>
#include <QTemporaryDir>

/// A database file of its own in a temporary folder, removed with the folder.
/// Forced writes are off: nothing here must survive a power cut.
class TempDatabase
{
public:
    explicit TempDatabase(const QString &fileName = QStringLiteral("KELMA.GDB"));

    QString folder() const { return m_dir.path(); }
    QString path() const { return m_path; }

    /// Creates an empty database (WIN1254 default character set) and leaves it attached.
    void createEmpty(fb::Attachment &attachment, const QString &defaultCharset = QStringLiteral("WIN1254"));

    /// Creates a KELMA main database as the administrator's tool makes it
    /// (schema, master data, first user) and leaves it attached. The first one
    /// of a test program is built and kept; later ones are copies of it.
    void createMain(fb::Attachment &attachment);
    /// Creates the attachment database of a year beside it, not attached (a
    /// copy of one built once per test program).
    QString createYear(const QString &year);

    static fb::ConnectOptions options(const QString &path, const QString &charset = QStringLiteral("WIN1254"));

private:
    QTemporaryDir m_dir;
    QString m_path;
};
