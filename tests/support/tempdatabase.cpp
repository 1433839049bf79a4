#include "tempdatabase.h"

#include "db/newdatabase.h"

#include <QFile>
#include <QTest>

TempDatabase::TempDatabase(const QString &fileName)
    : m_path(m_dir.filePath(fileName))
{
}

fb::ConnectOptions TempDatabase::options(const QString &path, const QString &charset)
{
    fb::ConnectOptions o;
    o.database = path;
    o.password = QStringLiteral("WEXD");
    o.charset = charset;
    return o;
}

void TempDatabase::createEmpty(fb::Attachment &attachment, const QString &defaultCharset)
{
    fb::CreateOptions c;
    c.forcedWrites = false;
    c.defaultCharset = defaultCharset;
    attachment.create(options(m_path), c);
}

void TempDatabase::createMain(fb::Attachment &attachment)
{
    static QTemporaryDir templateDir;
    static const QString templatePath = [] {
        const QString path = templateDir.filePath(QStringLiteral("TEMPLATE.GDB"));
        fb::CreateOptions c;
        c.forcedWrites = false;
        newdb::createMain(options(path), c);
        return path;
    }();
    if (!QFile::copy(templatePath, m_path))
        QFAIL("could not copy the template database");
    attachment.open(options(m_path));
}

QString TempDatabase::createYear(const QString &year)
{
    // Yearly databases do not name their year inside: one is built, the rest are copies.
    static QTemporaryDir templateDir;
    static const QString templatePath = [] {
        const QString path = templateDir.filePath(QStringLiteral("TEXTTEMPLATE.GDB"));
        fb::CreateOptions c;
        c.forcedWrites = false;
        newdb::createYear(options(path, QString()), c);
        return path;
    }();
    const QString path = m_dir.filePath(QStringLiteral("TEXT%1.GDB").arg(year));
    // A fixture and a helper beside it may both ask for the year: one database.
    if (QFile::exists(path))
        return path;
    if (!QFile::copy(templatePath, path))
        qFatal("could not copy the template yearly database to %s", qPrintable(path));
    return path;
}
