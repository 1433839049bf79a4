#pragma once

#include <QLockFile>
#include <QString>

/// One running KELMA per machine: a lock file named KELMA.EXE in the temporary
/// folder. A lock left by a crashed run is taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &folder = {});
    /// False when another run holds the lock.
    bool acquire();
    static QString message();

private:
    QLockFile m_lock;
};
