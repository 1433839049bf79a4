#include "storageplaces.h"

#include "core/attachmentlimit.h"
#include "core/connections.h"
#include "core/prompt.h"
#include "core/session.h"
#include "core/workstation.h"
#include "db/fb/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUuid>

namespace storage {

namespace {

bool flag(const QString &v, bool empty)
{
    return v.trimmed().isEmpty() ? empty : v.trimmed() == u"E";
}

/// The folder exists and a file can be made in it.
bool usable(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QFile probe(QDir(folder).filePath(QStringLiteral(".yazma-") + QUuid::createUuid().toString(QUuid::Id128)));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

} // namespace

StoragePlaces StoragePlaces::of(const Session &s)
{
    StoragePlaces p;
    p.database = flag(s.general.VTSAKLA, true);
    p.local = flag(s.general.TRMSAKLA, false);
    p.server = flag(s.general.SRVSAKLA, false);
    p.yearly = s.general.TEXTVT.trimmed() == u"A";
    const QString mode = s.workstation.readMode.trimmed().toUpper();
    p.readMode = mode == u"S" || mode == u"Y" ? mode.at(0) : QChar(u'V');
    p.localFolder = s.workstation.localFolder;
    p.sizeLimit = qint64(attachmentlimit::mb(s)) * 1024 * 1024;
    return p;
}

// With no folder set every name is empty: a relative "TEMP" would be the
// working directory's, and emptying it would delete someone else's files.
QString Folders::temp() const
{
    return sub(QStringLiteral("TEMP"));
}

QString Folders::tempRead() const
{
    return sub(QStringLiteral("TEMPOKU"));
}

QString Folders::waiting() const
{
    return sub(QStringLiteral("BEKLEYEN"));
}

QString Folders::registerFolder(const QString &name) const
{
    return sub(name);
}

QString Folders::sub(const QString &name) const
{
    return m_root.trimmed().isEmpty() ? QString() : QDir(m_root).filePath(name);
}

QString Folders::check() const
{
    if (m_root.trimmed().isEmpty() || !usable(m_root))
        return QStringLiteral("Belge için Ana klasörü Oluşturulamadı.\n") + m_root;
    if (!usable(temp()))
        return QStringLiteral("Belge için Geçici klasörü Oluşturulamadı.\n") + temp();
    if (!usable(tempRead()))
        return QStringLiteral("Belge için Geçici Okuma klasörü Oluşturulamadı.\n") + tempRead();
    return {};
}

bool openYearFor(Session &s, int year)
{
    if (s.general.TEXTVT.trimmed() != u"A")
        return true;
    const QString y = QString::number(year);
    if (s.textOpen && s.textYear == y && s.db.IBTEXTDB.isOpen())
        return true;
    const QString folder = s.store()->value(QStringLiteral("YOL")).toString();
    const QString name = workstation::textDatabaseName(s.workstation.host, folder, y);
    const fb::ConnectOptions options = Connections::login(name, QString(), s.db.credentials);
    const auto refused = [&](const fb::Error &e) {
        const bool missing = s.workstation.host.isEmpty() && !QFileInfo::exists(name);
        s.prompt().message(textDatabaseProblem(name, missing, e.message()));
    };
    try {
        // The year asked for is tried on its own first: when it cannot be
        // opened the one open now stays open for the records of its year.
        fb::Attachment probe;
        probe.open(options);
        probe.close();
    } catch (const fb::Error &e) {
        refused(e);
        return false;
    }
    try {
        s.db.IBTEXTDB.close(fb::Attachment::EndAction::Rollback);
        s.db.IBTEXTDB.open(options);
        s.db.IBTEXTTrans.start();
        s.textYear = y;
        s.textOpen = true;
    } catch (const fb::Error &e) {
        s.textOpen = false;
        refused(e);
    }
    return s.textOpen && s.textYear == y;
}

QString textDatabaseProblem(const QString &database, bool missing, const QString &error)
{
    QString text = QStringLiteral("DİKKAT! TEXT Veritabanı açılamadı\n%1\n").arg(database);
    text += missing ? QStringLiteral("Bu dosya yok.\n")
                    : QStringLiteral("Veritabanının cevabı: %1\n").arg(error.trimmed());
    // The program never makes databases; the administrator's tool does.
    text += QStringLiteral("Çalışma yılının eki veritabanı yoksa sistem yöneticiniz şu komutla oluşturur:\n"
                           "kelma-admin create-year %1").arg(database);
    return text;
}

} // namespace storage
