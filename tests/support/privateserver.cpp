#include "privateserver.h"


#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

const QString kServer = QStringLiteral("/usr/sbin/firebird");
const QString kRoot = QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0");
const QString kSecurity = QStringLiteral("/var/lib/firebird/3.0/system/security3.fdb");

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

PrivateServer::PrivateServer() = default;

PrivateServer::~PrivateServer()
{
    stop();
}

QString PrivateServer::prepareEnvironment()
{
    if (!QFile::exists(kServer))
        return QStringLiteral("no Firebird server here (package firebird3.0-server)");
    if (!QFile(kSecurity).open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the server's security database (needs root)");
    const QDir root(m_dir.path());
    root.mkpath(QStringLiteral("lock"));
    root.mkpath(QStringLiteral("intl"));
    root.mkpath(QStringLiteral("data"));
    for (const char *link : {"firebird.msg", "plugins", "plugins.conf", "lib", "UDF"})
        QFile::link(kRoot + u'/' + QLatin1String(link), root.filePath(QLatin1String(link)));
    // The engine refuses an intl module that lives outside its root: copy it.
    QFile::copy(kRoot + QStringLiteral("/intl/libfbintl.so"), root.filePath(QStringLiteral("intl/libfbintl.so")));
    QFile::copy(kRoot + QStringLiteral("/intl/fbintl.conf"), root.filePath(QStringLiteral("intl/fbintl.conf")));
    QFile::copy(kSecurity, root.filePath(QStringLiteral("security3.fdb")));
    QFile::setPermissions(root.filePath(QStringLiteral("security3.fdb")),
                          QFile::ReadOwner | QFile::WriteOwner);
    m_port = freePort();
    QFile conf(root.filePath(QStringLiteral("firebird.conf")));
    if (!conf.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write the configuration");
    conf.write(QStringLiteral("RemoteServicePort = %1\nRemoteBindAddress = 127.0.0.1\n"
                              "SecurityDatabase = %2\nServerMode = Super\nAuthServer = Srp\n"
                              "AuthClient = Srp\nUserManager = Srp\n")
                   .arg(m_port).arg(root.filePath(QStringLiteral("security3.fdb"))).toUtf8());
    conf.close();
    qputenv("FIREBIRD", m_dir.path().toLocal8Bit());
    qputenv("FIREBIRD_LOCK", root.filePath(QStringLiteral("lock")).toLocal8Bit());

    // In a process of its own: the engine keeps the security database open
    // for as long as the process that changed a user lives.
    QFile script(root.filePath(QStringLiteral("user.sql")));
    if (!script.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write the user script");
    script.write("CREATE OR ALTER USER SYSDBA PASSWORD 'WEXD' USING PLUGIN Srp;\nCOMMIT;\n");
    script.close();
    QProcess isql;
    isql.setProcessEnvironment(environment());
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-i"),
                                           script.fileName(), root.filePath(QStringLiteral("security3.fdb"))});
    if (!isql.waitForFinished(30000) || isql.exitCode() != 0)
        return QStringLiteral("cannot set the SYSDBA password: ") + QString::fromLocal8Bit(isql.readAll());
    return {};
}

QString PrivateServer::start()
{
    m_server.setProcessEnvironment(environment());
    m_server.setWorkingDirectory(m_dir.path());
    m_server.start(kServer, {});
    if (!m_server.waitForStarted(5000))
        return QStringLiteral("the server did not start");
    for (int i = 0; i < 100; ++i) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (s.waitForConnected(100))
            return {};
        QThread::msleep(50);
    }
    return QStringLiteral("the server does not answer on port %1").arg(m_port);
}

void PrivateServer::stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

QString PrivateServer::databaseName(const QString &fileName) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(m_port).arg(QDir(m_dir.path()).filePath(QStringLiteral("data/") + fileName));
}

QProcessEnvironment PrivateServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), m_dir.path());
    env.insert(QStringLiteral("FIREBIRD_LOCK"), QDir(m_dir.path()).filePath(QStringLiteral("lock")));
    return env;
}

QString PrivateServer::log() const
{
    QFile f(QDir(m_dir.path()).filePath(QStringLiteral("firebird.log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}
