#include "approval.h"

#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"

Approval::Approval(Session &session, int register_, int kayno, int bkod)
    : m_session(session)
    , m_register(register_)
    , m_kayno(kayno)
    , m_bkod(bkod)
{
}

bool Approval::load()
{
    fb::Statement s(m_session.db.IBTransaction1, QStringLiteral(
        "SELECT ONAY,ONTAR,ONACIK,ONUSR FROM EVBRM WHERE TUR=:Y1 AND EKAYNO=:Y2 AND BKOD=:Y3"));
    s.bindAll({{"Y1", m_register}, {"Y2", m_kayno}, {"Y3", m_bkod}});
    s.execute();
    if (!s.next())
        return false;
    m_approved = s.value(0).toString() == QLatin1String("E");
    if (m_approved) {
        m_time = s.value(1).toDateTime();
        m_note = s.value(2).toString();
        m_user = s.value(3).toString();
    } else {
        m_time = m_session.clock().now();
        // Petitions come in, as incoming documents do.
        m_note = m_register != 2 ? QStringLiteral("Evrak Görüldü") : QStringLiteral("Evrak Gönderildi");
        m_user = m_session.LUSR;
    }
    return true;
}

QString Approval::caption() const
{
    return m_register != 2 ? QStringLiteral("Gelen Evrak Onayı") : QStringLiteral("Giden Evrak Onayı");
}

QString Approval::timeText() const
{
    return m_time.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QString Approval::note() const
{
    return m_note;
}

QString Approval::user() const
{
    return m_user;
}

bool Approval::save(bool yes, const QString &note)
{
    try {
        fb::Transaction work(m_session.db.IBDATABASE);
        const qint64 changed = work.execute(
            QStringLiteral("UPDATE EVBRM SET ONAY=:X1,ONTAR=:X2,ONACIK=:X3,ONUSR=:X4 "
                           "WHERE TUR=:Y1 AND EKAYNO=:Y2 AND BKOD=:Y3"),
            {{"X1", yes ? QStringLiteral("E") : QStringLiteral("H")},
             {"X2", m_session.clock().now()}, {"X3", note}, {"X4", m_session.LUSR},
             {"Y1", m_register}, {"Y2", m_kayno}, {"Y3", m_bkod}});
        if (changed != 1)
            throw fb::Error(QStringLiteral("Bu havale kaydı bulunamadı; başka bir kullanıcı silmiş olabilir."));
        work.commit();
    } catch (const fb::Error &e) {
        m_session.prompt().error(QStringLiteral("DİKKAT! Onay kaydedilemedi."), e.details());
        return false;
    }
    return true;
}
