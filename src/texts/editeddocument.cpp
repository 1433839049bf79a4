#include "editeddocument.h"

#include "office.h"
#include "wordfile.h"

#include "core/prompt.h"
#include "storage/legacycontent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace texts {

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

EditedDocument::EditedDocument(Office &office, Prompt &prompt)
    : m_office(office)
    , m_prompt(prompt)
{
    const QString base = QDir(QDir::tempPath()).filePath(QStringLiteral("kelma-yazi"));
    QDir().mkpath(base);
    QTemporaryDir dir(QDir(base).filePath(QStringLiteral("XXXXXX")));
    dir.setAutoRemove(false);
    m_folder = dir.path();
}

EditedDocument::~EditedDocument()
{
    // Writer would lose the file it still shows; the system's temporary folder takes it later.
    if (!m_folder.isEmpty() && !isOpenInWriter())
        QDir(m_folder).removeRecursively();
}

bool EditedDocument::write(const QByteArray &bytes)
{
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        m_prompt.message(QStringLiteral("DİKKAT! Belge geçici klasöre yazılamadı:\n%1").arg(QDir::toNativeSeparators(m_path)));
        return false;
    }
    return true;
}

QByteArray EditedDocument::toWordFile(const QByteArray &stored, QString &why)
{
    if (stored.isEmpty())
        return wordfile::blank();
    if (wordfile::isWordFile(stored))
        return stored;
    if (!m_office.available()) {
        why = Office::missingMessage();
        return {};
    }
    const QString work = QDir(m_folder).filePath(QStringLiteral("donusum"));
    QDir().mkpath(work);
    QString source = QDir(work).filePath(stored.trimmed().startsWith("{\\rtf") ? QStringLiteral("eski.rtf")
                                                                              : QStringLiteral("eski.doc"));
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly) || f.write(stored) != stored.size()) {
        why = QStringLiteral("Geçici klasöre yazılamadı.");
        return {};
    }
    f.close();
    if (legacycontent::compoundOffset(source) > 0) {
        // An older workstation's embedded-document stream: the document is inside.
        const legacycontent::Extracted inner = legacycontent::extract(source, work, QStringLiteral("belge"));
        if (inner.path.isEmpty()) {
            why = inner.error;
            return {};
        }
        source = inner.path;
    }
    const QString converted = m_office.convert(source, QStringLiteral("docx"), QDir(work).filePath(QStringLiteral("yeni")));
    const QByteArray bytes = converted.isEmpty() ? QByteArray() : readAll(converted);
    QDir(work).removeRecursively();
    if (!wordfile::isWordFile(bytes)) {
        why = QStringLiteral("LibreOffice belgeyi dönüştüremedi.");
        return {};
    }
    m_converted = true;
    return bytes;
}

bool EditedDocument::prepare(const QString &fileName, const QByteArray &stored)
{
    m_path = QDir(m_folder).filePath(fileName);
    m_converted = false;
    QString why;
    QByteArray document = toWordFile(stored, why);
    if (document.isEmpty()) {
        m_prompt.message(QStringLiteral("DİKKAT! Saklanan belge açılamadı; boş bir belge ile başlanıyor. "
                                        "Saklanan belge, yenisi kaydedilene kadar yerinde kalır.\n%1").arg(why));
        document = wordfile::blank();
    }
    return write(document);
}

bool EditedDocument::useTemplate(const QByteArray &stored, const QList<QPair<QString, QString>> &values)
{
    if (isOpenInWriter()) {
        m_prompt.message(QStringLiteral("DİKKAT! Yazı LibreOffice Writer'da açık. Önce Writer'da kaydedip kapatınız."));
        return false;
    }
    QString why;
    const QByteArray document = toWordFile(stored, why);
    if (document.isEmpty()) {
        m_prompt.message(QStringLiteral("DİKKAT! Şablon açılamadı; yazı değişmedi.\n%1").arg(why));
        return false;
    }
    const wordfile::Replaced filled = wordfile::replace(document, values);
    if (filled.bytes.isEmpty()) {
        m_prompt.message(QStringLiteral("DİKKAT! Şablon okunamadı; yazı değişmedi."));
        return false;
    }
    return write(filled.bytes);
}

bool EditedDocument::openInWriter()
{
    if (!m_office.available()) {
        m_prompt.message(Office::missingMessage());
        return false;
    }
    if (!m_office.edit(m_path)) {
        m_prompt.message(QStringLiteral("DİKKAT! LibreOffice Writer başlatılamadı."));
        return false;
    }
    return true;
}

bool EditedDocument::isOpenInWriter() const
{
    return !m_path.isEmpty() && QFileInfo::exists(Office::lockFileOf(m_path));
}

std::optional<QByteArray> EditedDocument::take()
{
    if (isOpenInWriter()) {
        if (!m_prompt.question(QStringLiteral(
                "DİKKAT! Belge LibreOffice Writer'da hâlâ açık. Lütfen Writer'da kaydedip kapatınız, "
                "sonra F5'e basınız.\n\nWriter kapalı olduğu halde bu uyarı geliyorsa (Writer beklenmedik "
                "biçimde kapandıysa) belge son kaydedildiği haliyle alınsın mı?")))
            return std::nullopt;
        QFile::remove(Office::lockFileOf(m_path));
    }
    const QByteArray bytes = readAll(m_path);
    if (!wordfile::isWordFile(bytes)) {
        m_prompt.message(QStringLiteral("DİKKAT! Belge okunamadı; Writer'da Word (.docx) biçiminde kaydediniz. "
                                        "Saklanan belge değişmedi."));
        return std::nullopt;
    }
    if (wordfile::plainText(bytes).trimmed().isEmpty()) {
        m_prompt.message(QStringLiteral("DİKKAT! Belge boş; kaydedilmedi. Saklanan belge değişmedi."));
        return std::nullopt;
    }
    return bytes;
}

bool EditedDocument::mayLeave()
{
    if (!isOpenInWriter())
        return true;
    return m_prompt.question(QStringLiteral("DİKKAT! Belge LibreOffice Writer'da hâlâ açık; orada yapılan "
                                            "değişiklikler alınmayacaktır. Onaylıyormusunuz.?"));
}

} // namespace texts
