#include "programupdate.h"

#include "db/fb/win1254.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpSocket>
#include <QVersionNumber>

namespace update {

ServiceAddress ServiceAddress::parse(const QString &text)
{
    ServiceAddress a;
    const QString t = text.trimmed();
    const int colon = t.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const uint port = colon > 0 ? t.mid(colon + 1).toUInt(&ok) : 0;
    if (ok && port > 0 && port < 65536) {
        a.host = t.left(colon);
        a.port = quint16(port);
    } else {
        a.host = t;
    }
    return a;
}

ServiceAddress serviceAddress(QSettings &store)
{
    return ServiceAddress::parse(store.value(QStringLiteral("VERSRV")).toString());
}

std::optional<Release> parseRelease(const QStringList &lines)
{
    Release r;
    static const QRegularExpression hex(QStringLiteral("^[0-9a-fA-F]{64}$"));
    for (const QString &line : lines) {
        const QString key = line.section(QLatin1Char(' '), 0, 0);
        const QString value = line.section(QLatin1Char(' '), 1).trimmed();
        if (key == QLatin1String("SURUM"))
            r.version = value;
        else if (key == QLatin1String("ADRES"))
            r.url = QUrl(value, QUrl::StrictMode);
        else if (key == QLatin1String("SHA256") && hex.match(value).hasMatch())
            r.sha256 = value.toLower().toLatin1();
    }
    const QString scheme = r.url.scheme();
    if (r.version.isEmpty() || r.sha256.isEmpty() || !r.url.isValid()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    return r;
}

bool newer(const QString &candidate, const QString &running)
{
    qsizetype a = 0, b = 0;
    const QVersionNumber c = QVersionNumber::fromString(candidate, &a);
    const QVersionNumber r = QVersionNumber::fromString(running, &b);
    if (a == candidate.size() && b == running.size() && !c.isNull() && !r.isNull())
        return c > r;
    return candidate > running;
}

// ---------------------------------------------------------------------------

ServiceExchange::ServiceExchange(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        finish(false, QStringLiteral("DİKKAT! Versiyon servisi %1 süre içinde yanıt vermedi.").arg(m_where));
    });
}

ServiceExchange::~ServiceExchange()
{
    if (m_socket)
        m_socket->abort();
}

void ServiceExchange::requestNotes(const ServiceAddress &address, const QString &version)
{
    start(address, QStringLiteral("VER"), version);
}

void ServiceExchange::requestRelease(const ServiceAddress &address, const QString &version)
{
    start(address, QStringLiteral("PKG"), version);
}

void ServiceExchange::start(const ServiceAddress &address, const QString &command, const QString &version)
{
    // Any earlier exchange ends first, as the window does on each activation.
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_lines.clear();
    m_pending.clear();
    m_running = true;
    m_where = QStringLiteral("%1:%2").arg(address.host).arg(address.port);
    m_socket = new QTcpSocket(this);
    const QByteArray request = fb::win1254::encode(
        command + QStringLiteral("\r\n\r\n") + kProduct + QStringLiteral("\r\n") + version + QStringLiteral("\r\n"));
    connect(m_socket, &QTcpSocket::connected, this, [this, request] {
        m_socket->write(request);
        m_timer.start(m_timeoutMs);
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &ServiceExchange::readLines);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        readLines();
        if (!m_running)
            return;
        if (e == QAbstractSocket::RemoteHostClosedError)
            finish(false, QStringLiteral("DİKKAT! Versiyon servisi bağlantıyı yanıt bitmeden kapattı; "
                                         "gelen satırlar gösteriliyor."));
        else
            finish(false, QStringLiteral("DİKKAT! Versiyon servisine bağlanılamadı (%1): %2")
                              .arg(m_where, m_socket->errorString()));
    });
    m_timer.start(m_timeoutMs);
    m_socket->connectToHost(address.host, address.port);
}

void ServiceExchange::readLines()
{
    if (!m_running || !m_socket)
        return;
    m_pending += m_socket->readAll();
    qsizetype end;
    while (m_running && (end = m_pending.indexOf('\n')) >= 0) {
        QByteArray raw = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = fb::win1254::decode(raw);
        if (line == QLatin1String("@")) {
            finish(true, {});
            return;
        }
        m_lines << line;
        emit lineReceived(line);
    }
    if (m_running)
        m_timer.start(m_timeoutMs);
}

void ServiceExchange::cancel()
{
    if (m_running)
        finish(false, QStringLiteral("Vazgeçildi."));
}

void ServiceExchange::finish(bool complete, const QString &error)
{
    if (!m_running)
        return;
    m_running = false;
    m_timer.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    emit finished(complete, error);
}

// ---------------------------------------------------------------------------

Download::Download(const Release &release, const QString &tempFolder, QObject *parent)
    : QObject(parent), m_release(release), m_tempFolder(tempFolder)
{
}

Download::~Download()
{
    if (m_reply)
        m_reply->abort();
    if (!m_ok && !m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

void Download::start()
{
    // A folder only this user can enter, so nobody swaps the file between
    // the check and the installation.
    const QString base = m_tempFolder.isEmpty() ? QDir::tempPath() : m_tempFolder;
    const QString name = QStringLiteral("kelma-guncelleme-%1").arg(QString::number(quintptr(this), 16));
    QDir dir(base);
    if (!dir.mkpath(name)) {
        fail(QStringLiteral("DİKKAT! Güncelleme için geçici klasör oluşturulamadı: %1").arg(dir.filePath(name)));
        return;
    }
    m_folder = dir.filePath(name);
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString fileName = QFileInfo(m_release.url.path()).fileName();
    if (fileName.isEmpty() || fileName.startsWith(QLatin1Char('.')))
        fileName = QStringLiteral("kelma.deb");
    m_path = QDir(m_folder).filePath(fileName);
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(QStringLiteral("DİKKAT! Güncelleme dosyası yazılamadı: %1").arg(m_path));
        return;
    }
    m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(m_release.url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(30000);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        const QByteArray chunk = m_reply->readAll();
        m_received += chunk.size();
        m_hash.addData(chunk);
        if (m_file.write(chunk) != chunk.size())
            fail(QStringLiteral("DİKKAT! Güncelleme dosyası yazılamadı: %1").arg(m_path));
    });
    connect(m_reply, &QNetworkReply::downloadProgress, this, &Download::progress);
    connect(m_reply, &QNetworkReply::finished, this, [this] {
        if (m_done)
            return;
        if (m_reply->error() != QNetworkReply::NoError) {
            fail(QStringLiteral("DİKKAT! Güncelleme indirilemedi: %1").arg(m_reply->errorString()));
            return;
        }
        const QByteArray rest = m_reply->readAll();
        m_received += rest.size();
        m_hash.addData(rest);
        m_file.write(rest);
        // A connection that closes early is not always reported as an error.
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() != m_received) {
            fail(QStringLiteral("DİKKAT! Güncelleme indirilemedi: bağlantı dosya bitmeden kesildi."));
            return;
        }
        if (!m_file.flush()) {
            fail(QStringLiteral("DİKKAT! Güncelleme dosyası yazılamadı: %1").arg(m_path));
            return;
        }
        m_file.close();
        if (m_hash.result().toHex() != m_release.sha256) {
            fail(QStringLiteral("DİKKAT! İndirilen güncelleme doğrulanamadı (SHA-256 tutmuyor); "
                                "dosya silindi, hiçbir şey kurulmadı."));
            return;
        }
        m_ok = m_done = true;
        emit finished(true, {});
    });
}

void Download::cancel()
{
    if (!m_done)
        fail(QStringLiteral("Güncelleme indirmesinden vazgeçildi."));
}

void Download::fail(const QString &error)
{
    if (m_done)
        return;
    m_done = true;
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    m_file.close();
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
    m_ok = false;
    emit finished(false, error);
}

// ---------------------------------------------------------------------------

QStringList Installer::argumentsFor(const QString &file) const
{
    QStringList out;
    for (const QString &a : arguments)
        out << (a == QLatin1String("{}") ? file : a);
    return out;
}

Installer installer(QSettings &store)
{
    const QStringList parts = store.value(QStringLiteral("KURULUM")).toString().split(
        QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {QStringLiteral("pkexec"), {QStringLiteral("apt-get"), QStringLiteral("install"),
                                           QStringLiteral("-y"), QStringLiteral("{}")}};
    return {parts.first(), parts.mid(1)};
}

} // namespace update
