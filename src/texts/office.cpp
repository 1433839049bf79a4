#include "office.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace texts {

namespace {

QString findProgram()
{
    for (const char *name : {"soffice", "libreoffice"}) {
        const QString p = QStandardPaths::findExecutable(QLatin1String(name));
        if (!p.isEmpty())
            return p;
    }
#ifdef Q_OS_WIN
    for (const char *dir : {"C:/Program Files/LibreOffice/program", "C:/Program Files (x86)/LibreOffice/program"}) {
        const QString p = QDir(QLatin1String(dir)).filePath(QStringLiteral("soffice.exe"));
        if (QFileInfo(p).isExecutable())
            return p;
    }
#endif
    return {};
}

QString profileArgument(const QString &folder)
{
    return QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder).toString();
}

} // namespace

Office::Office()
    : m_program(findProgram())
    , m_profile(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
                    .filePath(QStringLiteral("kelma/writer")))
{
}

Office::~Office() = default;

bool Office::available() const
{
    return !m_program.isEmpty();
}

void Office::prepareProfile(const QString &folder) const
{
    // A fresh profile: Writer keeps .docx without asking about the format
    // each time and opens without its tips.
    const QString settings = QDir(folder).filePath(QStringLiteral("user/registrymodifications.xcu"));
    if (QFileInfo::exists(settings))
        return;
    QDir().mkpath(QFileInfo(settings).path());
    QFile f(settings);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Save/Document"><prop oor:name="WarnAlienFormat" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
)");
}

bool Office::edit(const QString &path)
{
    if (!available())
        return false;
    prepareProfile(m_profile);
    // Detached: a letter open in Writer stays open when KELMA ends.
    return QProcess::startDetached(m_program, {profileArgument(m_profile), QStringLiteral("--nologo"),
                                               QStringLiteral("--norestore"), QStringLiteral("--writer"), path});
}

QString Office::convert(const QString &path, const QString &format, const QString &folder)
{
    if (!available())
        return {};
    // A profile apart from the editing one: a conversion handed to a Writer
    // the person has open would never come back.
    const QString profile = m_profile + QStringLiteral("-donusum");
    prepareProfile(profile);
    const QString target = QDir(folder).filePath(QFileInfo(path).completeBaseName() + u'.' + format);
    QFile::remove(target);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(m_program, {profileArgument(profile), QStringLiteral("--headless"), QStringLiteral("--norestore"),
                        QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), folder, path});
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    const QFileInfo out(target);
    return out.isFile() && out.size() > 0 ? target : QString();
}

QString Office::lockFileOf(const QString &path)
{
    const QFileInfo f(path);
    return f.dir().filePath(QStringLiteral(".~lock.") + f.fileName() + u'#');
}

QString Office::missingMessage()
{
    return QStringLiteral("DİKKAT! LibreOffice Writer bulunamadı. Şablon ve yazılar LibreOffice Writer ile "
                          "düzenlenir; bilgisayara LibreOffice Writer kurulmalıdır.");
}

} // namespace texts
