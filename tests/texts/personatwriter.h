#pragma once

#include "texts/office.h"
#include "texts/wordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <functional>

/// Plays the person at LibreOffice Writer: edit() does what the test says
/// to the real file, as Writer would leave it — saved as a Word file, and
/// while "still open" with Writer's lock file beside it.
class PersonAtWriter : public texts::Office
{
public:
    bool installed = true;
    QStringList opened;
    std::function<void(const QString &path)> onEdit;

    bool available() const override { return installed; }
    bool edit(const QString &path) override
    {
        opened << path;
        if (onEdit)
            onEdit(path);
        return true;
    }

    /// Saves the document with these paragraphs.
    static void save(const QString &path, const QStringList &paragraphs)
    {
        QString body;
        for (const QString &p : paragraphs)
            body += QStringLiteral("<w:p><w:r><w:t xml:space=\"preserve\">%1</w:t></w:r></w:p>").arg(p.toHtmlEscaped());
        write(path, wordfile::make(body));
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    /// Writer still shows the document.
    static void keepOpen(const QString &path)
    {
        write(lockFileOf(path), ",memur,is-istasyonu,10.12.2026 14:05,file:///home/memur/.cache/kelma/writer;");
    }
    static void close(const QString &path) { QFile::remove(lockFileOf(path)); }
};
