#include "fileserverclient.h"

#include "core/prompt.h"
#include "db/fb/win1254.h"
#include "documentname.h"
#include "fileserverprotocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTcpSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace {

constexpr qint64 kChunk = 256 * 1024;
// Unsent bytes allowed to queue in the socket before we wait for it.
constexpr qint64 kWriteBacklog = 1024 * 1024;

const QString kActive = QStringLiteral("Dosya Sunucusu Aktif.");
const QString kInactive = QStringLiteral("??? Dosya Sunucusu Aktif Değil ???");
const QString kUpdate = QStringLiteral("Lütfen KELMA Servis programını güncelleyiniz.");
const QString kNoConnection = QStringLiteral("DİKKAT! Dosya sunucusuna bağlantı sağlanamadı..");
const QString kCheckSettings = QStringLiteral("Lütfen Sunucu Ayarlarınızı Kontrol Ediniz..");
const QString kNotFound = QStringLiteral("DİKKAT: Dosya Sunucuda Bulunamadı..");
const QString kFetchFailed = QStringLiteral("DİKKAT! Dosya Sunucudan Alınamadı.");
const QString kSendFailed = QStringLiteral("DİKKAT! Dosya Sunucuya Gönderilemedi.");

/// One connection to the server, every wait bounded.
class Link
{
public:
    explicit Link(int replyTimeoutMs) : m_timeout(replyTimeoutMs)
    {
        m_socket.setReadBufferSize(4 * kChunk);
    }
    ~Link() { m_socket.abort(); }

    bool open(const QString &host, quint16 port)
    {
        if (port == 0)
            return false;
        m_socket.connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
        return m_socket.waitForConnected(FileServerClient::connectTimeoutMs);
    }

    bool send(const QByteArray &bytes)
    {
        if (m_socket.write(bytes) != bytes.size())
            return false;
        while (m_socket.bytesToWrite() > kWriteBacklog) {
            if (!m_socket.waitForBytesWritten(m_timeout))
                return false;
        }
        return true;
    }

    bool flush()
    {
        while (m_socket.bytesToWrite() > 0) {
            if (!m_socket.waitForBytesWritten(m_timeout))
                return false;
        }
        return m_socket.state() == QAbstractSocket::ConnectedState;
    }

    /// Ends our side after the last byte and waits for the server's word: it
    /// says "TAMAM" once the file is in place, "HATA" when it could not store
    /// it. A close without the word (a reset, a server turning us away) is a
    /// failure, so that the file stays in TEMP.
    bool finishSending()
    {
        if (!flush())
            return false;
#ifdef Q_OS_WIN
        ::shutdown(m_socket.socketDescriptor(), SD_SEND);
#else
        ::shutdown(int(m_socket.socketDescriptor()), SHUT_WR);
#endif
        QString word;
        if (!readLine(word))
            return false;
        return word == QLatin1String(fileserver::TAMAM);
    }

    bool readLine(QString &line)
    {
        while (!m_socket.canReadLine()) {
            if (m_socket.bytesAvailable() > fileserver::maxLineBytes)
                return false;
            if (!m_socket.waitForReadyRead(m_timeout))
                return false;
        }
        const QByteArray bytes = m_socket.readLine(fileserver::maxLineBytes + 2);
        if (!bytes.endsWith('\n'))
            return false; // longer than any line of ours
        line = fileserver::text(bytes);
        return true;
    }

    enum class Piece { Data, End, Failed };

    /// The next piece of content; End once the server has closed and
    /// everything it sent has been read.
    Piece read(QByteArray &piece)
    {
        for (;;) {
            if (m_socket.bytesAvailable() > 0) {
                piece = m_socket.read(kChunk);
                return Piece::Data;
            }
            if (m_socket.state() != QAbstractSocket::ConnectedState)
                return closedNormally() ? Piece::End : Piece::Failed;
            if (!m_socket.waitForReadyRead(m_timeout) && m_socket.state() == QAbstractSocket::ConnectedState)
                return Piece::Failed; // the server went quiet
        }
    }

    void close()
    {
        m_socket.disconnectFromHost();
        if (m_socket.state() != QAbstractSocket::UnconnectedState)
            m_socket.waitForDisconnected(m_timeout);
    }

private:
    bool closedNormally() const
    {
        const auto error = m_socket.error();
        return error == QAbstractSocket::RemoteHostClosedError || error == QAbstractSocket::UnknownSocketError;
    }

    QTcpSocket m_socket;
    int m_timeout;
};

// The server keeps the name it decodes: one the code page cannot carry would
// arrive as another name.
bool travelsIntact(const QString &name)
{
    return fb::win1254::decode(fb::win1254::encode(name)) == name;
}

bool isSendable(const QString &name)
{
    return documentname::isSafe(name) && travelsIntact(name);
}

} // namespace

FileServerClient::FileServerClient(const QString &host, const QString &port, Prompt &prompt, Progress progress)
    : m_host(host.trimmed().isEmpty() ? QStringLiteral("127.0.0.1") : host.trimmed()),
      m_portText(port.trimmed().isEmpty() ? QString::number(fileserver::defaultPort) : port.trimmed()),
      m_prompt(prompt),
      m_progress(std::move(progress))
{
    bool ok = false;
    const uint number = m_portText.toUInt(&ok);
    if (ok && number > 0 && number <= 65535)
        m_port = static_cast<quint16>(number);
}

QString FileServerClient::address() const
{
    return m_host + QLatin1Char(':') + m_portText;
}

void FileServerClient::report(qint64 done, qint64 total) const
{
    if (m_progress)
        m_progress(done, total);
}

FileServerCheck FileServerClient::SRVKONTROL(const QString &shownVersion)
{
    FileServerCheck check;
    check.LSVER = shownVersion;

    Link link(m_replyTimeoutMs);
    QString reply;
    if (!link.open(m_host, m_port) || !link.send(fileserver::line(QString::fromLatin1(fileserver::TEST)))
        || !link.flush() || !link.readLine(reply) || reply != QLatin1String(fileserver::TAMAM)) {
        check.LSRV = kInactive;
        m_prompt.message(kNoConnection + QLatin1Char('\n') + kCheckSettings + QLatin1Char('\n') + address());
        return check;
    }
    check.active = true;
    check.LSRV = kActive;

    QString version;
    if (link.readLine(version))
        check.LSVER = version;
    link.close();

    if (check.LSVER != QLatin1String(fileserver::VERSION)) {
        check.updateNeeded = true;
        m_prompt.message(kUpdate);
    }
    return check;
}

FileServerSend FileServerClient::SERVEREGONDER(const QString &tempFolder)
{
    QStringList paths;
    for (const QFileInfo &file :
         QDir(tempFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        paths << file.filePath();
    return send(paths);
}

FileServerSend FileServerClient::send(const QStringList &paths)
{
    FileServerSend result;
    qint64 total = 0;
    for (const QString &path : paths)
        total += QFileInfo(path).size();

    qint64 done = 0;
    for (const QString &path : paths) {
        const QFileInfo file(path);
        const qint64 end = done + file.size();
        if (sendFile(file.filePath(), file.fileName(), done, total))
            result.sent << file.fileName();
        else
            result.failed << file.fileName();
        done = end;
    }
    report(done, total);

    // Said at once: the clerk decides whether to try again.
    if (!result.failed.isEmpty())
        m_prompt.message(kSendFailed + QLatin1Char('\n') + result.failed.join(QLatin1Char('\n')));
    return result;
}

bool FileServerClient::sendFile(const QString &path, const QString &name, qint64 &done, qint64 total)
{
    if (!isSendable(name))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Link link(m_replyTimeoutMs);
    if (!link.open(m_host, m_port)
        || !link.send(fileserver::line(QString::fromLatin1(fileserver::SEND)) + fileserver::line(name)))
        return false;
    report(done, total);
    while (!file.atEnd()) {
        const QByteArray piece = file.read(kChunk);
        if (piece.isEmpty() || !link.send(piece))
            return false;
        done += piece.size();
        report(done, total);
    }
    return link.finishSending();
}

bool FileServerClient::SERVERDENAL(const QString &name, const QString &targetFolder,
                                   const std::function<bool()> &ensureFolders)
{
    if (ensureFolders && !ensureFolders())
        return false;
    switch (fetch(name, targetFolder)) {
    case Fetch::Done:
        return true;
    case Fetch::NotFound:
        m_prompt.message(kNotFound);
        return false;
    case Fetch::Failed:
        break;
    }
    m_prompt.message(kFetchFailed);
    return false;
}

FileServerClient::Fetch FileServerClient::fetch(const QString &name, const QString &targetFolder)
{
    // The name comes from the database and becomes a local path.
    if (!isSendable(name) || !QDir().mkpath(targetFolder))
        return Fetch::Failed;

    Link link(m_replyTimeoutMs);
    QString reply;
    if (!link.open(m_host, m_port)
        || !link.send(fileserver::line(QString::fromLatin1(fileserver::RECEIVE)) + fileserver::line(name))
        || !link.flush() || !link.readLine(reply))
        return Fetch::Failed;
    if (reply == QLatin1String(fileserver::NOT_FOUND))
        return Fetch::NotFound;

    const qint64 size = fileserver::announcedSize(reply);
    QSaveFile out(QDir(targetFolder).filePath(name));
    if (!out.open(QIODevice::WriteOnly))
        return Fetch::Failed;
    qint64 done = 0;
    report(done, size);
    QByteArray piece;
    for (;;) {
        const Link::Piece got = link.read(piece);
        if (got == Link::Piece::Failed)
            return Fetch::Failed;
        if (got == Link::Piece::End)
            break;
        if (out.write(piece) != piece.size())
            return Fetch::Failed;
        done += piece.size();
        report(done, size);
    }
    // Without a size a cut transfer looks complete; with one it does not.
    if (size >= 0 && done != size)
        return Fetch::Failed;
    return out.commit() ? Fetch::Done : Fetch::Failed;
}
