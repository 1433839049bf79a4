#include "documenttypes.h"

#include "core/guarded.h"

#include "core/session.h"
#include "db/fieldcheck.h"

DocumentTypes::DocumentTypes(Session &session)
    : m_session(session)
    , m_rows(QStringLiteral("EVTUR"), {QStringLiteral("ETKOD")})
{
}

void DocumentTypes::read()
{
    m_rows.select(m_session.db.IBTransaction1, QStringLiteral("SELECT ETKOD,EVTUR FROM EVTUR ORDER BY ETKOD"));
}

int DocumentTypes::append()
{
    return m_rows.append();
}

int DocumentTypes::pendingRow() const
{
    for (int i = 0; i < m_rows.rowCount(); ++i) {
        if (m_rows.state(i) != CachedRecords::State::Unchanged)
            return i;
    }
    return -1;
}

bool DocumentTypes::writePending()
{
    const int row = pendingRow();
    if (row < 0)
        return true;
    const bool isNew = m_rows.state(row) == CachedRecords::State::Inserted;
    const QString name = m_rows.value(row, QStringLiteral("EVTUR")).toString().trimmed();
    if (name.isEmpty()) {
        if (isNew) {
            m_rows.remove(row);
            return true;
        }
        m_session.prompt().message(QStringLiteral("DİKKAT! Tür Açıklaması Girmelisiniz."));
        return false;
    }
    const QString problem = fieldcheck::problem(QStringLiteral("EVTUR"), QStringLiteral("EVTUR"), name,
                                                QStringLiteral("Tür Açıklaması"));
    if (!problem.isEmpty()) {
        m_session.prompt().message(problem);
        return false;
    }
    m_rows.setValue(row, QStringLiteral("EVTUR"), name);

    fb::Transaction &t = m_session.db.IBTransaction1;
    bool written = false;
    guarded(m_session, [&] {
        // The row itself does not count: re-saving a type under its own name is no duplicate.
        const qint64 same = t.value(QStringLiteral("SELECT COUNT(*) SAY FROM EVTUR WHERE EVTUR=:EC AND ETKOD<>:EK"),
                                    {{QStringLiteral("EC"), name},
                                     {QStringLiteral("EK"), isNew ? -1 : m_rows.value(row, QStringLiteral("ETKOD")).toInt()}})
                                .toLongLong();
        if (same > 0) {
            m_session.prompt().message(QStringLiteral("DİKKAT! Bu Evrak Türü Kayıtlıdır..."));
            return;
        }
        if (isNew) {
            const int highest = t.value(QStringLiteral("SELECT MAX(ETKOD) KOD FROM EVTUR")).toInt();
            m_rows.setValue(row, QStringLiteral("ETKOD"), highest + 1);
        }
        m_rows.apply(t);
        m_rows.accept();
        written = true;
    });
    return written;
}

void DocumentTypes::cancelPending()
{
    m_rows.revert();
}

bool DocumentTypes::remove(int row)
{
    if (!m_session.prompt().question(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?")))
        return false;
    if (m_rows.state(row) == CachedRecords::State::Inserted) {
        m_rows.remove(row);
        return true;
    }
    const int code = m_rows.value(row, QStringLiteral("ETKOD")).toInt();
    fb::Transaction &t = m_session.db.IBTransaction1;
    bool deleted = false;
    guarded(m_session, [&] {
        for (const char *table : {"GELEN", "GIDEN", "DILEKCE"}) {
            const qint64 used = t.value(QStringLiteral("SELECT COUNT(*) SAY FROM %1 WHERE ETKOD=:EK").arg(QLatin1String(table)),
                                        {{QStringLiteral("EK"), code}})
                                    .toLongLong();
            if (used > 0) {
                m_session.prompt().message(
                    QStringLiteral("DİKKAT! Bu Evrak Türü  Kayıtlarda Kullanılmıştır. Silemezsiniz."));
                return;
            }
        }
        // Whatever was typed into the row goes with it.
        m_rows.revert();
        m_rows.remove(row);
        try {
            m_rows.apply(t);
        } catch (const fb::Error &) {
            // Not deleted: the row comes back, and later saves do not send it again.
            m_rows.revert();
            throw;
        }
        m_rows.accept();
        deleted = true;
    });
    return deleted;
}

bool DocumentTypes::close()
{
    if (!writePending())
        return false;
    return guarded(m_session, [&] { m_session.db.IBTransaction1.commitRetaining(); });
}
