#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTcpServer>

/// The office's own version service: answers the workstations' line protocol
/// from a folder. `NOTLAR/<version>.txt` hold the release notes of each
/// version (UTF-8); `SURUM` holds the newest release as "SURUM v",
/// "ADRES url", "SHA256 hex" lines (written by `publish`).
class VersionService : public QTcpServer
{
    Q_OBJECT

public:
    explicit VersionService(const QString &folder, QObject *parent = nullptr);

    /// The reply to one request: its four lines, without line ends.
    QStringList answer(const QStringList &request) const;

    /// Writes SURUM for a package: its version, where the workstations fetch
    /// it, and its SHA-256. Returns an error text, empty on success.
    static QString publish(const QString &folder, const QString &version, const QString &package,
                           const QString &url);

private:
    QString m_folder;
    QHash<QObject *, QByteArray> m_received;
};
