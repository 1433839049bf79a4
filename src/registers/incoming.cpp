#include "incoming.h"

#include "numbering.h"
#include "related.h"

#include "core/session.h"
#include "db/fb/twophase.h"
#include "storage/attachments.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fieldcheck.h"

#include <QDate>
#include <QHash>

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

const QStringList &IncomingRecord::columns()
{
    static const QStringList c = {
        "KAYNO", "GELNO", "GELTAR", "EVSAY", "EVTAR", "ECKOD", "KONU", "BIRKOD", "KURKOD",
        "EKSAY", "EK", "ZDUR", "ZNO", "ZTAR", "GIZDER", "TESADI", "TESGOR", "CEVDUR", "CEVNO",
        "ILGNO", "BSIRNO", "GSIRNO", "SDP", "DOSYA", "BIRIM", "GSEKLI", "GACIK", "ETKOD", "USR",
        "CEVTAR", "KRMSURE"};
    return c;
}

QString IncomingRecord::caption(const QString &column)
{
    static const QHash<QString, QString> captions = {
        {"GELNO", "Kayıt No"}, {"GELTAR", "Kayıt Tarihi"}, {"SDP", "Std. Dosya Kodu"},
        {"ZNO", "Zimmet No"}, {"ZTAR", "Zimmet Tarihi"}, {"GSIRNO", "Gizlilik No"},
        {"BSIRNO", "Birim Sıra Numarası"}, {"DOSYA", "Dosya İşlemi"}, {"KRMSURE", "Saklama Süresi"},
        {"BIRIM", "Gönderen Birim"}, {"EVSAY", "Evrak No (Sayı)"}, {"EVTAR", "Evrak Tarihi"},
        {"KONU", "Konusu (Özü)"}, {"GACIK", "Geliş Şekli Açıklaması"}, {"EKSAY", "Ek Sayısı"},
        {"CEVTAR", "Son Cevap Tarihi"}, {"TESADI", "Teslim Alan Adı S."},
        {"TESGOR", "Teslim Alan Görevi"}};
    return captions.value(column, column);
}

IncomingRecord::IncomingRecord(Session &session)
    : m_session(session)
    , m_row(QStringLiteral("GELEN"), {QStringLiteral("KAYNO")})
    , m_routing(session, 1)
{
}

void IncomingRecord::openNew()
{
    fb::Transaction &t = m_session.db.IBTransaction1;
    m_mode = New;
    m_replyChosen = m_replyRemoved = false;
    m_kayno = t.value(QStringLiteral("SELECT GEN_ID(GEN_GELKAYNO,1) YENINO FROM RDB$DATABASE")).toInt();
    const QDate today = m_session.clock().today();
    m_row.setColumns(columns());
    m_row.append({{"KAYNO", m_kayno}, {"GELTAR", today}, {"ZDUR", QStringLiteral("D")},
                  {"GIZDER", QStringLiteral("Ö")}, {"CEVDUR", QStringLiteral("H")}, {"CEVNO", 0},
                  {"ILGNO", 0}, {"GSEKLI", QStringLiteral("P")}, {"ETKOD", 1}, {"ZTAR", today},
                  {"USR", m_session.LUSR}});
    numberGsirno();
    m_routing.open(m_kayno);
}

bool IncomingRecord::openExisting(int kayno)
{
    m_mode = Edit;
    m_kayno = kayno;
    m_replyChosen = m_replyRemoved = false;
    m_row.select(m_session.db.IBTransaction1,
                 QStringLiteral("SELECT %1 FROM GELEN WHERE KAYNO=:KN").arg(columns().join(u',')),
                 {{"KN", kayno}});
    if (m_row.rowCount() == 0) {
        m_session.prompt().message(QStringLiteral(
            "DİKKAT! Bu kayıt bulunamadı; başka bir kullanıcı tarafından silinmiş olabilir."));
        return false;
    }
    m_routing.open(m_kayno);
    return true;
}

QVariant IncomingRecord::value(const QString &column) const
{
    return m_row.value(0, column);
}

void IncomingRecord::setValue(const QString &column, const QVariant &value)
{
    m_row.setValue(0, column, value);
}

void IncomingRecord::numberGsirno()
{
    m_numberedGsirno = numbering::next(m_session.db.IBTransaction1,
                                       QStringLiteral("SELECT MAX(GSIRNO) SAY FROM GELEN WHERE GIZDER=:KN"),
                                       {{"KN", value("GIZDER")}});
    setValue("GSIRNO", m_numberedGsirno);
}

void IncomingRecord::setGIZDER(const QString &code)
{
    if (text(value("GIZDER")) == code)
        return;
    setValue("GIZDER", code);
    if (m_mode == New)
        numberGsirno();
}

namespace {

QString fileCodeText(fb::Transaction &t, const QString &code)
{
    fb::Statement s(t, QStringLiteral("SELECT ACIK,KOD FROM SDP WHERE KOD=:KN"));
    s.bind(QStringLiteral("KN"), code);
    s.execute();
    if (!s.next())
        return QStringLiteral(" : ");
    return s.value(1).toString() + QStringLiteral(" : ") + s.value(0).toString();
}

} // namespace

QString IncomingRecord::SACK1() const
{
    return fileCodeText(m_session.db.IBTransaction1, text(value("SDP")).left(3));
}

QString IncomingRecord::SACK2() const
{
    return fileCodeText(m_session.db.IBTransaction1, text(value("SDP")));
}

QStringList IncomingRecord::ILGIGETIR() const
{
    fb::Statement s(m_session.db.IBTransaction1, QStringLiteral(
        "SELECT G.GIDNO,G.GIDTAR,B.BIRIM,G.KONU FROM GIDEN G "
        "LEFT JOIN BIRIM B ON(B.BKOD=G.BIRKOD AND B.TUR='B') WHERE G.KAYNO=:KNO"));
    s.bind(QStringLiteral("KNO"), value("ILGNO"));
    s.execute();
    if (!s.next())
        return {QString(), QString(), QString(), QString()};
    return {text(s.value(0)), s.value(1).toDate().toString(QStringLiteral("dd.MM.yyyy")),
            text(s.value(2)), text(s.value(3))};
}

QStringList IncomingRecord::CEVAPGETIR() const
{
    fb::Statement s(m_session.db.IBTransaction1, QStringLiteral(
        "SELECT G.GIDNO,G.GIDTAR,B.BIRIM FROM GIDEN G "
        "LEFT JOIN BIRIM B ON(B.BKOD=G.KURKOD AND B.TUR='K') WHERE G.KAYNO=:KNO"));
    s.bind(QStringLiteral("KNO"), value("CEVNO"));
    s.execute();
    if (!s.next())
        return {QStringLiteral("Cevap Gönderilmedi...."), QString()};
    return {QStringLiteral("Cevap Gönderildi...."),
            QStringLiteral("No:%1  Tarih:%2  G.Yer:%3")
                .arg(text(s.value(0)), s.value(1).toDate().toString(QStringLiteral("dd.MM.yyyy")),
                     text(s.value(2)))};
}

void IncomingRecord::chooseReply(int gidenKayno)
{
    setValue("ILGNO", gidenKayno);
    m_replyChosen = true;
}

bool IncomingRecord::removeReply()
{
    if (value("ILGNO").toInt() == 0) {
        m_session.prompt().message(QStringLiteral("DİKKAT! İlgili Evrak Kaydı Bulunamadı"));
        return false;
    }
    if (!m_session.prompt().question(QStringLiteral("DİKKAT! Bu Cevap Bilgisi Silinecektir. Onaylıyormusunuz.?")))
        return false;
    m_replyRemoved = true;
    return true;
}

bool IncomingRecord::validate()
{
    Prompt &prompt = m_session.prompt();
    for (const QString &column : columns()) {
        const QString problem = fieldcheck::problem(QStringLiteral("GELEN"), column, value(column), caption(column));
        if (!problem.isEmpty()) {
            prompt.message(problem);
            return false;
        }
    }
    if (const QString problem = m_routing.problem(); !problem.isEmpty()) {
        prompt.message(problem);
        return false;
    }
    fb::Transaction &t = m_session.db.IBTransaction1;
    const QString sdp = text(value("SDP"));
    if (!sdp.isEmpty() && t.value(QStringLiteral("SELECT COUNT(*) FROM SDP WHERE KOD=:K AND TUR='D'"),
                                  {{"K", sdp}}).toInt() == 0) {
        prompt.message(QStringLiteral("DİKKAT! Standart dosya kodu %1 dosya planında yok ya da alt "
                                      "kodları var; listeden bir kod seçiniz.").arg(sdp));
        return false;
    }
    const int body = value("KURKOD").toInt();
    if (body != 0 && t.value(QStringLiteral("SELECT COUNT(*) FROM BIRIM WHERE BKOD=:K AND TUR='K'"),
                             {{"K", body}}).toInt() == 0) {
        prompt.message(QStringLiteral("DİKKAT! Seçilen kurum artık tanımlı değil; geldiği yeri "
                                      "yeniden seçiniz."));
        return false;
    }
    return true;
}

bool IncomingRecord::save(const QString &typedDate)
{
    Prompt &prompt = m_session.prompt();
    if (typedDate.mid(6, 4) != m_session.workstation.year) {
        prompt.message(QStringLiteral("Tarih Çalışma Yılından Farklı Olamaz."));
        return false;
    }
    const QDate date = QDate::fromString(typedDate, QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid()) {
        prompt.message(QStringLiteral("DİKKAT! Kayıt tarihi geçerli bir tarih değil (gün/ay/yıl)."));
        return false;
    }
    setValue("GELTAR", date);
    if (!validate())
        return false;

    const QVariant typedGelno = value("GELNO");
    const QVariant typedZno = value("ZNO");
    const QVariant shownGsirno = value("GSIRNO");
    const QVariant related = value("ILGNO");
    try {
        // Its own transaction: a failure rolls back this save and nothing else.
        // Main and yearly database as one when attachments changed: rows never point at
        // contents that were not written, nor the other way round.
        fb::TwoPhaseTransaction unit(m_session.db.IBDATABASE,
                                     m_attachments && m_attachments->isDirty() ? m_attachments->yearDatabase() : nullptr);
        fb::Transaction &t = unit.first();
        // Contents first: a long blob write must not hold the numbering lock.
        if (m_attachments)
            m_attachments->apply(unit);
        if (m_mode == New) {
            numbering::lock(t);
            // The year as a date range, so that the date index serves it.
            const int y = m_session.workingYear();
            const fb::Params year{{"D1", QDate(y, 1, 1)}, {"D2", QDate(y, 12, 31)}};
            if (typedGelno.toInt() == 0) {
                setValue("GELNO", numbering::next(t, QStringLiteral(
                    "SELECT FIRST 1 GELNO SAY FROM GELEN WHERE GELTAR BETWEEN :D1 AND :D2 "
                    "AND GELNO IS NOT NULL ORDER BY GELNO DESC"), year));
            }
            if (text(typedZno).trimmed().isEmpty()) {
                // Only whole numbers count; anything else typed there is left out.
                fb::Params p = year;
                p.insert(QStringLiteral("KN"), value("ZDUR"));
                setValue("ZNO", QString::number(numbering::next(t, QStringLiteral(
                    "SELECT FIRST 1 CAST(ZNO AS BIGINT) SAY FROM GELEN "
                    "WHERE GELTAR BETWEEN :D1 AND :D2 AND ZDUR=:KN AND ZNO IS NOT NULL "
                    "AND ZNO SIMILAR TO '[0-9]{1,15}' ORDER BY LPAD(ZNO, 15, '0') DESC"), p)));
            }
            if (shownGsirno == m_numberedGsirno) {
                setValue("GSIRNO", numbering::next(t, QStringLiteral(
                    "SELECT FIRST 1 GSIRNO SAY FROM GELEN WHERE GIZDER=:KN AND GSIRNO IS NOT NULL "
                    "ORDER BY GSIRNO DESC"), {{"KN", value("GIZDER")}}));
            }
        }
        if (m_replyChosen) {
            t.execute(QStringLiteral("UPDATE GIDEN SET CEVNO=:CN WHERE KAYNO=:KN"),
                      {{"CN", m_kayno}, {"KN", value("ILGNO")}});
        }
        if (m_replyRemoved) {
            t.execute(QStringLiteral("UPDATE GIDEN SET CEVNO=0 WHERE KAYNO=:KN"), {{"KN", value("ILGNO")}});
            setValue("ILGNO", 0);
        }
        m_row.apply(t);
        m_routing.apply(t);
        unit.commit();
    } catch (const fb::Error &e) {
        // A lost connection is re-made in place for the next F5.
        m_session.db.watch.notice(e);
        // What the save computed goes; what the user typed stays.
        setValue("GELNO", typedGelno);
        setValue("ZNO", typedZno);
        setValue("GSIRNO", shownGsirno);
        setValue("ILGNO", related);
        if (e.isLockConflict())
            prompt.error(numbering::busyMessage(), e.details());
        else
            prompt.error(QStringLiteral("DİKKAT! Kayıt yapılamadı; yazdıklarınız ekranda duruyor."), e.details());
        return false;
    }
    m_row.accept();
    m_routing.accept();
    m_mode = Edit;
    m_replyChosen = m_replyRemoved = false;
    return true;
}

void IncomingRecord::cancel()
{
    m_row.revert();
    m_routing.revert();
    m_replyChosen = m_replyRemoved = false;
}

bool IncomingRecord::remove(Session &s, int kayno)
{
    Prompt &prompt = s.prompt();
    if (!prompt.question(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?")))
        return false;
    try {
        // The contents in the yearly database go in the same unit as their rows.
        fb::Attachment *contents = nullptr;
        if (!storage::contentDatabaseFor(s, storage::Register::Incoming, kayno, contents))
            return false;
        fb::TwoPhaseTransaction unit(s.db.IBDATABASE, contents);
        fb::Transaction &t = unit.first();
        if (related::incomingIsAnswered(t, kayno)) {
            prompt.message(QStringLiteral("DİKKAT! Bu Kayıt Kullanılmıştır. Silemezsiniz..."));
            return false;
        }
        t.execute(QStringLiteral("DELETE FROM GELEN WHERE KAYNO=:KK"), {{"KK", kayno}});
        storage::deleteAllAttachments(unit, storage::Register::Incoming, kayno);
        // Routing rows of a deleted document would wait for approval for ever.
        t.execute(QStringLiteral("DELETE FROM EVBRM WHERE TUR=1 AND EKAYNO=:KK"), {{"KK", kayno}});
        const qint64 highest = t.value(QStringLiteral("SELECT MAX(GELNO) YNO FROM GELEN")).toLongLong();
        t.executeRaw(QStringLiteral("SET GENERATOR GEN_GELNO TO %1").arg(highest));
        unit.commit();
    } catch (const fb::Error &e) {
        prompt.error(QStringLiteral("DİKKAT! Kayıt silinemedi."), e.details());
        return false;
    }
    return true;
}
