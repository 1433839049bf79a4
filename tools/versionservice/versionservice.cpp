#include "versionservice.h"

#include "db/fb/win1254.h"
#include "shell/programupdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    // A line of its own "@" would end the exchange early.
    for (QString &l : lines)
        if (l.trimmed() == QLatin1String("@"))
            l = QStringLiteral(" @");
    return lines;
}

} // namespace

VersionService::VersionService(const QString &folder, QObject *parent) : QTcpServer(parent), m_folder(folder)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *s = nextPendingConnection()) {
            // A client that never finishes its request is let go.
            QTimer::singleShot(10000, s, [s] { s->abort(); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QObject::destroyed, this, [this, s] { m_received.remove(s); });
            connect(s, &QTcpSocket::readyRead, this, [this, s] {
                QByteArray &got = m_received[s];
                got += s->readAll();
                if (got.size() > 4096) {
                    s->abort();
                    return;
                }
                if (got.count('\n') < 4)
                    return;
                QStringList request;
                for (QByteArray line : got.split('\n').mid(0, 4)) {
                    if (line.endsWith('\r'))
                        line.chop(1);
                    request << fb::win1254::decode(line);
                }
                QByteArray out;
                for (const QString &line : answer(request))
                    out += fb::win1254::encode(line) + "\r\n";
                out += "@\r\n";
                s->write(out);
                s->disconnectFromHost();
            });
        }
    });
}

QStringList VersionService::answer(const QStringList &request) const
{
    if (request.size() < 4 || request.at(2) != update::kProduct)
        return {};
    const QString command = request.at(0);
    const QString clientVersion = request.at(3).trimmed();
    if (command == QLatin1String("PKG"))
        return readLines(QDir(m_folder).filePath(QStringLiteral("SURUM")));
    if (command != QLatin1String("VER"))
        return {};
    QStringList versions;
    for (const QString &name : QDir(QDir(m_folder).filePath(QStringLiteral("NOTLAR")))
                                   .entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        const QString v = name.chopped(4);
        if (update::newer(v, clientVersion))
            versions << v;
    }
    std::sort(versions.begin(), versions.end(), [](const QString &a, const QString &b) { return update::newer(b, a); });
    QStringList out;
    for (const QString &v : versions) {
        out << QStringLiteral("Versiyon %1").arg(v);
        out << readLines(QDir(m_folder).filePath(QStringLiteral("NOTLAR/%1.txt").arg(v)));
        out << QString();
    }
    if (out.isEmpty())
        out << QStringLiteral("Programınız güncel.");
    return out;
}

QString VersionService::publish(const QString &folder, const QString &version, const QString &package,
                                const QString &url)
{
    QFile in(package);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("paket okunamadı: %1").arg(package);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&in))
        return QStringLiteral("paket okunamadı: %1").arg(package);
    QSaveFile out(QDir(folder).filePath(QStringLiteral("SURUM")));
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("yazılamadı: %1").arg(out.fileName());
    out.write(QStringLiteral("SURUM %1\nADRES %2\nSHA256 %3\n")
                  .arg(version, url, QString::fromLatin1(hash.result().toHex()))
                  .toUtf8());
    if (!out.commit())
        return QStringLiteral("yazılamadı: %1").arg(out.fileName());
    return {};
}
