#include "singleinstance.h"

#include <QDir>

SingleInstance::SingleInstance(const QString &folder)
    : m_lock(QDir(folder.isEmpty() ? QDir::tempPath() : folder).filePath(QStringLiteral("KELMA.EXE")))
{
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return m_lock.tryLock(0);
}

QString SingleInstance::message()
{
    return QStringLiteral("Dikkat! KELMA Proragramı zaten çalışıyor....\nBirden Fazla Çalıştıramazsınız.");
}
