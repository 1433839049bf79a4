#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <memory>

/// A file being received. It is written aside (unnamed where the file system
/// allows, else under a dot name no client can ask for) and takes the real
/// name only when complete; dropped without commit(), it vanishes and the
/// stored file stays as it was.
class Upload
{
public:
    Upload(const QString &folder, const QString &target);

    bool isOpen() const { return m_file.isOpen(); }
    bool write(const char *data, qint64 size) { return m_file.write(data, size) == size; }
    /// Puts the file on disk and in place of the stored one, in one step.
    bool commit();

private:
    QTemporaryFile m_file;
    QString m_folder;
    QString m_target;
};

/// The storage folder: one plain file per name. Names given here have passed
/// the name check.
class DocumentStore
{
public:
    explicit DocumentStore(QString folder) : m_folder(std::move(folder)) {}

    const QString &folder() const { return m_folder; }

    /// Checks that the folder is usable and removes transfers that a crash
    /// left unfinished.
    bool prepare(QString *error) const;

    /// The stored file for reading: null when the store does not hold the
    /// name, not open when it cannot be read.
    std::unique_ptr<QFile> open(const QString &name) const;
    /// A new file for the name; null when the folder cannot take one.
    std::unique_ptr<Upload> receive(const QString &name) const;

    /// Name pattern of transfers a crash may leave behind.
    static QString uploadPattern() { return QStringLiteral(".upload-*"); }

private:
    QString m_folder;
};
