#include "documenttypes.h"

#include "core/session.h"
#include "core/turkish.h"
#include "db/fieldcheck.h"

namespace {

const QString kName = QStringLiteral("EVTUR");
const QString kCode = QStringLiteral("ETKOD");

} // namespace

DocumentTypes::DocumentTypes(Session &session)
    : m_session(session)
    , m_rows(QStringLiteral("EVTUR"), {kCode})
    , m_checked(m_rows)
{
}

void DocumentTypes::read()
{
    m_rows.select(m_session.db.IBTransaction1, QStringLiteral("SELECT ETKOD,EVTUR FROM EVTUR ORDER BY ETKOD"));
    m_checked = m_rows;
    m_storedCodes.clear();
    for (int i = 0; i < m_rows.rowCount(); ++i)
        m_storedCodes.insert(m_rows.value(i, kCode).toInt());
}

int DocumentTypes::append()
{
    return m_rows.append();
}

int DocumentTypes::pendingRow() const
{
    for (int i = 0; i < m_rows.rowCount(); ++i) {
        if (i >= m_checked.rowCount() || m_rows.state(i) != m_checked.state(i)
            || m_rows.value(i, kName) != m_checked.value(i, kName))
            return i;
    }
    return -1;
}

bool DocumentTypes::nameTaken(fb::Transaction &t, int row, const QString &name) const
{
    // The rows in memory hold this screen's renames, the table what others
    // added. "İhale Evrakı" and "İHALE EVRAKI" are one type to a reader.
    const QString folded = turkish::upper(name);
    for (int i = 0; i < m_rows.rowCount(); ++i) {
        if (i != row && turkish::upper(m_rows.value(i, kName).toString().trimmed()) == folded)
            return true;
    }
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT ETKOD,EVTUR FROM EVTUR"))) {
        if (!m_storedCodes.contains(r.value(0).toInt()) && turkish::upper(r.value(1).toString().trimmed()) == folded)
            return true;
    }
    return false;
}

bool DocumentTypes::writePending()
{
    const int row = pendingRow();
    if (row < 0)
        return true;
    const bool isNew = row >= m_checked.rowCount();
    const QString name = m_rows.value(row, kName).toString().trimmed();
    if (name.isEmpty()) {
        if (isNew) {
            m_rows.remove(row);
            return true;
        }
        m_session.prompt().message(QStringLiteral("DİKKAT! Tür Açıklaması Girmelisiniz."));
        return false;
    }
    const QString problem = fieldcheck::problem(QStringLiteral("EVTUR"), kName, name,
                                                QStringLiteral("Tür Açıklaması"));
    if (!problem.isEmpty()) {
        m_session.prompt().message(problem);
        return false;
    }
    m_rows.setValue(row, kName, name);
    if (nameTaken(m_session.db.IBTransaction1, row, name)) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Bu Evrak Türü Kayıtlıdır..."));
        return false;
    }
    if (isNew) {
        // Shown until the close numbers it for good.
        int highest = m_session.db.IBTransaction1.value(QStringLiteral("SELECT MAX(ETKOD) KOD FROM EVTUR")).toInt();
        for (int i = 0; i < m_rows.rowCount(); ++i)
            highest = qMax(highest, m_rows.value(i, kCode).toInt());
        m_rows.setValue(row, kCode, highest + 1);
    }
    m_checked = m_rows;
    return true;
}

void DocumentTypes::cancelPending()
{
    m_rows = m_checked;
}

bool DocumentTypes::remove(int row)
{
    if (!m_session.prompt().question(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?")))
        return false;
    auto forget = [&] {
        const bool checked = row < m_checked.rowCount();
        if (m_rows.state(row) == CachedRecords::State::Inserted) {
            m_rows.remove(row);
        } else {
            m_storedCodes.remove(m_rows.value(row, kCode).toInt());
            m_rows.forget(row);
        }
        if (checked) {
            if (m_checked.state(row) == CachedRecords::State::Inserted)
                m_checked.remove(row);
            else
                m_checked.forget(row);
        }
    };
    if (m_rows.state(row) == CachedRecords::State::Inserted) {
        forget();
        return true;
    }
    const int code = m_rows.value(row, kCode).toInt();
    fb::Transaction work(m_session.db.IBDATABASE);
    for (const char *table : {"GELEN", "GIDEN", "DILEKCE"}) {
        const qint64 used = work.value(QStringLiteral("SELECT COUNT(*) SAY FROM %1 WHERE ETKOD=:EK").arg(QLatin1String(table)),
                                       {{QStringLiteral("EK"), code}})
                                .toLongLong();
        if (used > 0) {
            m_session.prompt().message(
                QStringLiteral("DİKKAT! Bu Evrak Türü  Kayıtlarda Kullanılmıştır. Silemezsiniz."));
            return false;
        }
    }
    work.execute(QStringLiteral("DELETE FROM EVTUR WHERE ETKOD=:EK"), {{QStringLiteral("EK"), code}});
    work.commit();
    // Whatever was typed into the row goes with it.
    forget();
    return true;
}

bool DocumentTypes::close()
{
    if (!writePending())
        return false;
    if (!m_rows.isDirty())
        return true;
    fb::Transaction work(m_session.db.IBDATABASE);
    // Others may have stored a name or taken a code since the rows were checked.
    int highest = work.value(QStringLiteral("SELECT MAX(ETKOD) KOD FROM EVTUR")).toInt();
    for (int i = 0; i < m_rows.rowCount(); ++i) {
        if (m_rows.state(i) == CachedRecords::State::Unchanged)
            continue;
        if (nameTaken(work, i, m_rows.value(i, kName).toString())) {
            m_session.prompt().message(QStringLiteral("DİKKAT! Bu Evrak Türü Kayıtlıdır..."));
            return false;
        }
        if (m_rows.state(i) != CachedRecords::State::Inserted)
            highest = qMax(highest, m_rows.value(i, kCode).toInt());
    }
    QList<int> added;
    for (int i = 0; i < m_rows.rowCount(); ++i) {
        if (m_rows.state(i) != CachedRecords::State::Inserted)
            continue;
        m_rows.setValue(i, kCode, ++highest);
        added << highest;
    }
    m_rows.apply(work);
    work.commit();
    m_rows.accept();
    m_checked = m_rows;
    for (int code : added)
        m_storedCodes.insert(code);
    return true;
}
