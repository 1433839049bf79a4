#include "archivekinds.h"

#include "core/session.h"
#include "db/fieldcheck.h"

#include <QSet>

namespace archivekinds {

const Choices &fieldTypes()
{
    static const Choices items = {{QStringLiteral("Karakter"), QStringLiteral("K")},
                                  {QStringLiteral("Sayısal"), QStringLiteral("S")},
                                  {QStringLiteral("Tarih"), QStringLiteral("T")}};
    return items;
}

QList<Kind> kinds(fb::Transaction &t)
{
    QList<Kind> out;
    for (const QVariantList &r : t.rows(QStringLiteral(
             "SELECT ECKOD,ECINS,B.ETURADI FROM ECINS E LEFT JOIN ECTUR B ON (E.ECTUR=B.ECTUR) "
             "ORDER BY E.ECTUR,E.ECKOD")))
        out.append({r.value(0).toInt(), r.value(1).toString(), r.value(2).toString()});
    return out;
}

QList<Field> fields(fb::Transaction &t, int eckod)
{
    QList<Field> out;
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT TUR,ECTAN FROM ECTAN WHERE ECKOD=:EK ORDER BY SIRNO"),
                                        {{QStringLiteral("EK"), eckod}}))
        out.append({r.value(0).toString(), r.value(1).toString()});
    return out;
}

} // namespace archivekinds

ArchiveKindRecord::ArchiveKindRecord(Session &session)
    : m_session(session)
    , m_kind(QStringLiteral("ECINS"), {QStringLiteral("ECKOD")})
    , m_fields(QStringLiteral("ECTAN"), {QStringLiteral("ECKOD"), QStringLiteral("SIRNO")})
{
}

void ArchiveKindRecord::readSections(fb::Transaction &t)
{
    m_sections.clear();
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT ECTUR,ETURADI FROM ECTUR ORDER BY ECTUR")))
        m_sections.append({r.value(0).toInt(), r.value(1).toString()});
}

void ArchiveKindRecord::readKind(fb::Transaction &t, int eckod)
{
    const fb::Params key{{QStringLiteral("EK"), eckod}};
    m_kind.select(t, QStringLiteral("SELECT * FROM ECINS WHERE ECKOD=:EK"), key);
    m_fields.select(t, QStringLiteral("SELECT ECKOD,SIRNO,TUR,ECTAN FROM ECTAN WHERE ECKOD=:EK ORDER BY SIRNO"), key);
}

void ArchiveKindRecord::openNew()
{
    fb::Transaction &t = m_session.db.IBTransaction1;
    m_mode = New;
    m_focus.clear();
    readSections(t);
    const int code = t.value(QStringLiteral("SELECT MAX(ECKOD) YENINO FROM ECINS")).toInt() + 1;
    readKind(t, code);
    if (m_kind.rowCount() == 0)
        m_kind.append({{QStringLiteral("ECKOD"), code}});
}

bool ArchiveKindRecord::openExisting(int eckod)
{
    fb::Transaction &t = m_session.db.IBTransaction1;
    m_mode = Edit;
    m_focus.clear();
    readSections(t);
    readKind(t, eckod);
    if (m_kind.rowCount() == 0) {
        m_session.prompt().message(QStringLiteral("Dikkat bir hata oluşru..."));
        return false;
    }
    return true;
}

int ArchiveKindRecord::ECKOD() const
{
    return m_kind.rowCount() ? m_kind.value(0, QStringLiteral("ECKOD")).toInt() : 0;
}

int ArchiveKindRecord::appendField()
{
    int last = 0;
    for (int i = 0; i < m_fields.rowCount(); ++i)
        last = qMax(last, m_fields.value(i, QStringLiteral("SIRNO")).toInt());
    return m_fields.append({{QStringLiteral("ECKOD"), ECKOD()},
                            {QStringLiteral("SIRNO"), last + 1},
                            {QStringLiteral("TUR"), QStringLiteral("K")}});
}

bool ArchiveKindRecord::refuse(const QString &message, const QString &focus)
{
    m_session.prompt().message(message);
    m_focus = focus;
    return false;
}

bool ArchiveKindRecord::checkFields()
{
    QSet<int> positions;
    for (int i = 0; i < m_fields.rowCount(); ++i) {
        const QVariant sirno = m_fields.value(i, QStringLiteral("SIRNO"));
        const QString name = m_fields.value(i, QStringLiteral("ECTAN")).toString().trimmed();
        const QString type = m_fields.value(i, QStringLiteral("TUR")).toString();
        if (sirno.toString().trimmed().isEmpty() || name.isEmpty())
            return refuse(QStringLiteral("DİKKAT! Her alanın Sıra No ve Alan Adı girilmelidir."),
                          QStringLiteral("FIELDS"));
        QString problem = fieldcheck::problem(QStringLiteral("ECTAN"), QStringLiteral("SIRNO"), sirno,
                                              QStringLiteral("Sıra No"));
        if (problem.isEmpty())
            problem = fieldcheck::problem(QStringLiteral("ECTAN"), QStringLiteral("ECTAN"), name,
                                          QStringLiteral("Alan Adı"));
        if (!problem.isEmpty())
            return refuse(problem, QStringLiteral("FIELDS"));
        if (choices::indexOf(archivekinds::fieldTypes(), type) < 0)
            return refuse(QStringLiteral("DİKKAT! Alanın Türü Karakter, Sayısal ya da Tarih olmalıdır."),
                          QStringLiteral("FIELDS"));
        const int position = sirno.toString().trimmed().toInt();
        if (positions.contains(position))
            return refuse(QStringLiteral("DİKKAT! %1 Sıra No birden fazla alanda kullanılmış.").arg(position),
                          QStringLiteral("FIELDS"));
        positions.insert(position);
        m_fields.setValue(i, QStringLiteral("SIRNO"), position);
        m_fields.setValue(i, QStringLiteral("ECTAN"), name);
    }
    return true;
}

bool ArchiveKindRecord::save()
{
    m_focus.clear();
    const QString name = m_kind.value(0, QStringLiteral("ECINS")).toString().trimmed();
    if (name.isEmpty())
        return refuse(QStringLiteral("DİKKAT! Açıklama Girmelisiniz."), QStringLiteral("ECINS"));
    const QString problem = fieldcheck::problem(QStringLiteral("ECINS"), QStringLiteral("ECINS"), name,
                                                QStringLiteral(" Açıklama"));
    if (!problem.isEmpty())
        return refuse(problem, QStringLiteral("ECINS"));
    if (!checkFields())
        return false;
    m_kind.setValue(0, QStringLiteral("ECINS"), name);

    // The kind and its fields go in together or not at all.
    fb::Transaction work(m_session.db.IBDATABASE);
    m_fields.apply(work);
    m_kind.apply(work);
    work.commit();
    m_fields.accept();
    m_kind.accept();
    return true;
}

void ArchiveKindRecord::cancel()
{
    m_fields.revert();
    m_kind.revert();
}
