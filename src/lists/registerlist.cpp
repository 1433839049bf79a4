#include "registerlist.h"

#include "db/fb/twophase.h"
#include "storage/attachments.h"

#include "core/session.h"
#include "registers/numbering.h"

#include <QDate>

#include <algorithm>

namespace lists {

namespace {

fb::TransactionOptions readOnly()
{
    fb::TransactionOptions o;
    o.readOnly = true;
    return o;
}

QString firstParameter(const QString &sql)
{
    QStringList names;
    fb::Statement::parseNames(sql, &names);
    return names.value(0);
}

} // namespace

QVariant RowView::value(const QString &field) const
{
    return m_list.value(m_row, field);
}

bool RowView::approvalInUse() const
{
    return const_cast<RegisterList &>(m_list).session().general.ONDUR == QLatin1String("E");
}

Session &RowView::session() const
{
    return const_cast<RegisterList &>(m_list).session();
}

RegisterList::RegisterList(Session &session, ListDescription description)
    : m_session(session)
    , m_d(std::move(description))
    , m_read(session.db.IBDATABASE, readOnly())
{
    m_filters.resize(m_d.filters.size());
}

RegisterList::~RegisterList() = default;

bool RegisterList::activate()
{
    if (m_session.printReturn)
        return false;
    COMBODOLDUR();
    for (auto it = presets.cbegin(); it != presets.cend(); ++it) {
        for (int i = 0; i < m_d.filters.size(); ++i) {
            if (m_d.filters[i].name != it.key() || !m_filters[i].enabled)
                continue;
            FilterSlot &slot = m_filters[i];
            slot.state.index = qBound(0, it.value(), int(slot.items.size()) - 1);
            slot.state.text = slot.items.value(slot.state.index);
        }
    }
    presets.clear();
    SORGULA();
    return true;
}

void RegisterList::COMBODOLDUR()
{
    for (int i = 0; i < m_d.filters.size(); ++i) {
        const Filter &f = m_d.filters[i];
        FilterSlot &slot = m_filters[i];
        slot.enabled = true;
        switch (f.kind) {
        case Filter::Lookup: {
            const bool bound = !f.boundItemsSql.isEmpty() && m_session.userDepartment != 0;
            slot.items = QStringList{f.allItem};
            const auto names = bound ? m_read.rows(f.boundItemsSql, {{QStringLiteral("BK"), m_session.userDepartment}})
                                     : m_read.rows(f.itemsSql);
            for (const QVariantList &r : names)
                slot.items << r.value(0).toString();
            if (bound) {
                slot.state = {1, slot.items.value(1), m_session.userDepartment};
                slot.enabled = false;
            } else {
                slot.state = {0, slot.items.first(), -1};
            }
            break;
        }
        case Filter::Fixed:
            slot.items = f.items;
            slot.state = {0, slot.items.first(), -1};
            break;
        case Filter::Year: {
            slot.items = QStringList{f.allItem, m_session.workstation.year};
            // The years that have rows, newest first. Each step asks the date
            // index for the first date from the next year on; MAX() of the
            // date would read the whole register.
            QList<int> years;
            fb::Statement first(m_read, QStringLiteral("SELECT MIN(%1) FROM %2").arg(f.dateField, f.table));
            first.execute();
            QDate date = first.next() ? first.value(0).toDate() : QDate();
            first.close();
            fb::Statement later(m_read, QStringLiteral("SELECT MIN(%1) FROM %2 WHERE %1>=:A").arg(f.dateField, f.table));
            while (date.isValid() && date.year() < 9999) {
                years.prepend(date.year());
                later.bind(QStringLiteral("A"), QDate(date.year() + 1, 1, 1));
                later.execute();
                date = later.next() ? later.value(0).toDate() : QDate();
                later.close();
            }
            if (date.isValid())
                years.prepend(date.year());
            for (int y : years) {
                if (QString::number(y) != m_session.workstation.year)
                    slot.items << QString::number(y);
            }
            slot.state = {1, slot.items.value(1), -1};
            break;
        }
        case Filter::Month:
            slot.items = f.items;
            if (m_firstActivation)
                slot.state.index = m_session.clock().now().date().month();
            slot.state.text = slot.items.value(slot.state.index);
            break;
        }
    }
    m_firstActivation = false;
}

bool RegisterList::lookUp(int filter)
{
    const Filter &f = m_d.filters[filter];
    FilterSlot &slot = m_filters[filter];
    const QVariant code = m_read.value(f.lookupSql, {{firstParameter(f.lookupSql), slot.state.text}});
    if (!code.isNull()) {
        slot.state.code = code.toInt();
        return true;
    }
    m_session.prompt().message(
        QStringLiteral("DİKKAT! \"%1\" artık kayıtlı değil. \"%2\" filtresi TÜMÜ olarak değiştirildi.")
            .arg(slot.state.text.trimmed(), f.heading));
    slot.state = {0, slot.items.value(0), -1};
    return false;
}

bool RegisterList::choose(int filter, int index)
{
    FilterSlot &slot = m_filters[filter];
    slot.state.index = index < 0 ? 0 : index;
    slot.state.text = slot.items.value(slot.state.index);
    bool kept = true;
    if (m_d.filters[filter].kind == Filter::Lookup) {
        if (slot.state.index < 1)
            slot.state.code = -1;
        else
            kept = lookUp(filter);
    }
    SORGULA();
    return kept;
}

void RegisterList::SORGULA()
{
    QStringList conditions;
    m_params.clear();
    int year = 0;
    for (int i = 0; i < m_d.filters.size(); ++i) {
        if (m_d.filters[i].kind == Filter::Year && m_filters[i].state.index != 0)
            year = m_filters[i].state.text.trimmed().toInt();
    }
    for (int i = 0; i < m_d.filters.size(); ++i) {
        const Filter &f = m_d.filters[i];
        FilterSlot &slot = m_filters[i];
        if (slot.state.index == 0)
            continue;
        // A name renamed or deleted elsewhere since it was chosen.
        if (f.kind == Filter::Lookup && slot.enabled && !lookUp(i))
            continue;
        const Condition c = f.conditionIn                           ? f.conditionIn(slot.state, m_session)
                            : year > 0 && f.conditionWithinYear ? f.conditionWithinYear(slot.state, year)
                                                                : f.condition(slot.state);
        conditions << c.sql;
        for (auto it = c.params.begin(); it != c.params.end(); ++it)
            m_params.insert(it.key(), it.value());
    }
    m_conditionLine = conditions.isEmpty() ? QString()
                                           : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
    open();
}

void RegisterList::reopen()
{
    open();
}

QString RegisterList::sql() const
{
    QStringList lines = m_d.queryLines;
    if (!m_conditionLine.isEmpty())
        lines << m_conditionLine;
    lines << m_d.orderBy;
    return lines.join(u'\n');
}

QString RegisterList::plan() const
{
    return m_query ? m_query->plan() : QString();
}

void RegisterList::open()
{
    m_rows.clear();
    m_atEnd = true;
    m_query.reset();
    // A fresh look at what other workstations committed.
    if (m_read.isActive())
        m_read.commit();
    m_query = std::make_unique<fb::Statement>(m_read, sql());
    m_query->bindAll(m_params);
    m_query->execute();
    m_fieldIndex.clear();
    for (int c = 0; c < m_query->columnCount(); ++c) {
        const QString name = m_query->columnName(c);
        if (!m_fieldIndex.contains(name))
            m_fieldIndex.insert(name, c);
    }
    m_atEnd = false;
}

int RegisterList::fetch(int count)
{
    int n = 0;
    while (!m_atEnd && n < count) {
        if (!m_query->next()) {
            m_atEnd = true;
            m_query->close();
            break;
        }
        m_rows << m_query->row();
        ++n;
    }
    return n;
}

void RegisterList::fetchAll()
{
    while (!m_atEnd)
        fetch(1000);
}

QVariant RegisterList::value(int row, const QString &field) const
{
    const int c = columnIndex(field);
    if (c < 0 || row < 0 || row >= m_rows.size())
        return {};
    return m_rows[row].value(c);
}

QVariant RegisterList::display(int row, int column) const
{
    const Column &c = m_d.columns[column];
    if (c.compute)
        return c.compute(RowView(*this, row));
    const QVariant v = value(row, c.field);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    return v;
}

int RegisterList::mark(int row) const
{
    for (const Column &c : m_d.columns) {
        if (c.mark)
            return c.mark(RowView(*this, row));
    }
    return 0;
}

bool RegisterList::bringIn(int kayno, QStringList *locked)
{
    // The year filter says which date the list goes by.
    QString table = m_d.table, dateField = m_d.dateField;
    for (const Filter &f : m_d.filters) {
        if (f.kind == Filter::Year) {
            table = f.table;
            dateField = f.dateField;
        }
    }
    const QList<QVariantList> found = m_read.rows(
        QStringLiteral("SELECT %1 FROM %2 WHERE KAYNO=:K").arg(dateField, table), {{QStringLiteral("K"), kayno}});
    if (found.isEmpty()) {
        stillThere(kayno); // says it is gone
        SORGULA();
        return false;
    }
    const QDate date = found.first().value(0).toDate();
    for (int i = 0; i < m_d.filters.size(); ++i) {
        const Filter &f = m_d.filters[i];
        FilterSlot &slot = m_filters[i];
        if (!slot.enabled) {
            if (locked)
                *locked << f.heading;
            continue;
        }
        int index = 0;
        if (date.isValid() && f.kind == Filter::Year)
            index = std::max<int>(0, slot.items.indexOf(QString::number(date.year())));
        else if (date.isValid() && f.conditionWithinYear)
            index = date.month();
        slot.state = {index, slot.items.value(index), -1};
    }
    SORGULA();
    return true;
}

int RegisterList::locate(int kayno)
{
    for (int r = 0;; ++r) {
        if (r >= m_rows.size() && (m_atEnd || fetch(500) == 0))
            return -1;
        if (this->kayno(r) == kayno)
            return r;
    }
}

int RegisterList::routingToApprove(int row)
{
    const int listed = value(row, QStringLiteral("BKOD")).toInt();
    if (!m_d.approvalNeedsRouting || listed == 0)
        return listed;
    const QList<QVariantList> routing = m_read.rows(
        QStringLiteral("SELECT BKOD, ONAY FROM EVBRM WHERE TUR=:T AND EKAYNO=:K ORDER BY BKOD"),
        {{QStringLiteral("T"), m_d.approvalMode}, {QStringLiteral("K"), kayno(row)}});
    // A user bound to a department sees only its rows on the incoming list.
    const int own = m_session.userDepartment;
    int waiting = 0;
    for (const QVariantList &r : routing) {
        const int bkod = r.value(0).toInt();
        if (own != 0 && bkod == own)
            return bkod;
        if (waiting == 0 && r.value(1).toString() != QLatin1String("E"))
            waiting = bkod;
    }
    if (own != 0)
        return -1;
    if (waiting != 0)
        return waiting;
    return routing.isEmpty() ? 0 : routing.first().value(0).toInt();
}

bool RegisterList::stillThere(int kayno)
{
    const bool there = m_read
                           .value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE KAYNO=:K").arg(m_d.table),
                                  {{QStringLiteral("K"), kayno}})
                           .toInt()
                       > 0;
    if (!there)
        m_session.prompt().message(
            QStringLiteral("DİKKAT! Bu kayıt başka bir kullanıcı tarafından silinmiş. Liste yenilendi."));
    return there;
}

int RegisterList::remove(int row)
{
    while (row >= m_rows.size() && fetch(500) > 0) {
    }
    if (row < 0 || row >= m_rows.size())
        return -1;
    const int k = kayno(row);
    Prompt &prompt = m_session.prompt();
    if (m_d.removeRecord) {
        int previous = -1;
        for (int r = row - 1; r >= 0 && previous < 0; --r) {
            if (kayno(r) != k)
                previous = kayno(r);
        }
        if (!m_d.removeRecord(m_session, k)) {
            if (!stillThere(k)) // deleted elsewhere meanwhile
                SORGULA();
            return -1;
        }
        SORGULA();
        const int at = previous >= 0 ? locate(previous) : -1;
        if (at >= 0)
            return at;
        fetch(1);
        return 0;
    }
    if (!prompt.question(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?")))
        return -1;
    // The row before, skipping the document's own rows of other departments.
    int previous = -1;
    for (int r = row - 1; r >= 0 && previous < 0; --r) {
        if (kayno(r) != k)
            previous = kayno(r);
    }

    // The record's contents in the yearly database go in the same unit as the
    // rows that point at them.
    fb::Attachment *contents = nullptr;
    if (m_d.attachments && !storage::contentDatabaseFor(m_session, *m_d.attachments, k, contents))
        return -1;
    fb::TwoPhaseTransaction unit(m_session.db.IBDATABASE, contents);
    fb::Transaction &work = unit.first();
    if (!m_d.deleteGuardSql.isEmpty()
        && work.value(m_d.deleteGuardSql, {{QStringLiteral("ILG"), k}}).toInt() >= 1) {
        prompt.message(QStringLiteral("DİKKAT! Bu Kayıt Kullanılmıştır. Silemezsiniz..."));
        return -1;
    }
    // The number generator follows the highest number; a save numbering meanwhile would race it.
    numbering::lock(work);
    if (m_d.attachments)
        storage::deleteAllAttachments(unit, *m_d.attachments, k);
    if (m_d.deleteRecord(m_session, work, k) == 0) {
        work.rollback();
        prompt.message(
            QStringLiteral("DİKKAT! Bu kayıt başka bir kullanıcı tarafından silinmiş. Liste yenilendi."));
        SORGULA();
        return -1;
    }
    const qint64 highest =
        work.value(QStringLiteral("SELECT MAX(%1) YNO FROM %2").arg(m_d.numberField, m_d.table)).toLongLong();
    work.executeRaw(QStringLiteral("SET GENERATOR %1 TO %2").arg(m_d.numberGenerator).arg(highest));
    unit.commit();

    SORGULA();
    const int at = previous >= 0 ? locate(previous) : -1;
    if (at >= 0)
        return at;
    fetch(1);
    return 0;
}

bool RegisterList::openYearOf(int row)
{
    if (m_session.general.TEXTVT != QLatin1String("A"))
        return true;
    const QString year = QString::number(value(row, m_d.dateField).toDate().year());
    if (m_session.textOpen && m_session.textYear == year)
        return true;
    // The opener keeps the open year's database when this one cannot be opened.
    if (openYearDatabase)
        return openYearDatabase(year);
    m_session.textYear = year;
    m_session.textOpen = false;
    return false;
}

} // namespace lists
