#pragma once

#include "tempdatabase.h"

#include "core/session.h"
#include "db/fb/attachment.h"
#include "db/fb/transaction.h"

#include <QDir>
#include <QFile>
#include <QImage>

/// An office that keeps attachments: contents in the yearly database of 2021
/// (open, as after start-up), files through TEMP in a local document folder
/// beside the main database, and optionally in that folder and on a file server.
struct KeptAttachments
{
    Session &s;
    TempDatabase &db;
    QString local = db.folder() + QStringLiteral("/EVRAKLAR");
    QString chosen = db.folder() + QStringLiteral("/secilen");
    QString yearPath = db.createYear(QStringLiteral("2021"));

    KeptAttachments(Session &session, TempDatabase &database, bool inFolder = false, const QString &serverPort = {})
        : s(session), db(database)
    {
        s.general.VTSAKLA = QStringLiteral("E");
        s.general.TRMSAKLA = inFolder ? QStringLiteral("E") : QStringLiteral("H");
        s.general.SRVSAKLA = serverPort.isEmpty() ? QStringLiteral("H") : QStringLiteral("E");
        s.general.SRVIPNO = QStringLiteral("127.0.0.1");
        s.general.SRVPORT = serverPort;
        s.general.TEXTVT = QStringLiteral("A");
        s.workstation.localFolder = local;
        s.workstation.readMode = QStringLiteral("V");
        s.db.IBTEXTDB.open(TempDatabase::options(yearPath, QString()));
        s.textYear = QStringLiteral("2021");
        s.textOpen = true;
        QDir().mkpath(chosen);
    }

    /// A file the clerk picks in the file dialog.
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir(chosen).filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    /// A small real JPEG picture.
    QString picture(const QString &name)
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = QDir(chosen).filePath(name);
        image.save(path, "JPG");
        return path;
    }
    QStringList folder(const QString &sub) const { return QDir(local + u'/' + sub).entryList(QDir::Files); }
    /// First column of the first row in the yearly database, as committed.
    QVariant yearly(const QString &sql, const fb::Params &params = {})
    {
        fb::Attachment year;
        year.open(TempDatabase::options(yearPath, QString()));
        fb::Transaction t(year);
        return t.value(sql, params);
    }
};
