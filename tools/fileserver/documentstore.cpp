#include "documentstore.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

Upload::Upload(const QString &folder, const QString &target)
    : m_file(QDir(folder).filePath(QStringLiteral(".upload-XXXXXX"))), m_folder(folder), m_target(target)
{
    if (m_file.open())
        m_file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

bool Upload::commit()
{
    if (!m_file.flush() || ::fdatasync(m_file.handle()) != 0)
        return false;
    // rename(2) replaces the old file atomically; QFile::rename would refuse.
    if (::rename(QFile::encodeName(m_file.fileName()).constData(), QFile::encodeName(m_target).constData()) != 0)
        return false;
    m_file.setAutoRemove(false);
    m_file.close();
    return syncFolder(m_folder);
}

bool DocumentStore::prepare(QString *error) const
{
    const QFileInfo info(m_folder);
    if (!info.isDir()) {
        *error = QStringLiteral("%1 is not a folder").arg(m_folder);
        return false;
    }
    if (!info.isWritable()) {
        *error = QStringLiteral("%1 is not writable").arg(m_folder);
        return false;
    }
    QDir dir(m_folder);
    const QStringList leftovers = dir.entryList({uploadPattern()}, QDir::Files | QDir::Hidden);
    for (const QString &name : leftovers)
        dir.remove(name);
    return true;
}

std::unique_ptr<QFile> DocumentStore::open(const QString &name) const
{
    const QString path = QDir(m_folder).filePath(name);
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    file->open(QIODevice::ReadOnly);
    return file;
}

std::unique_ptr<Upload> DocumentStore::receive(const QString &name) const
{
    auto upload = std::make_unique<Upload>(m_folder, QDir(m_folder).filePath(name));
    if (!upload->isOpen())
        return nullptr;
    return upload;
}
