#include "related.h"

#include "core/prompt.h"
#include "db/fb/statement.h"

#include <QDate>

namespace related {

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QString dateText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

QString incomingAnswerJoin()
{
    return QStringLiteral("LEFT JOIN GIDEN G2 ON(G2.ILGNO=G1.KAYNO AND %1)").arg(answersIncoming("G2"));
}

bool incomingIsAnswered(fb::Transaction &t, int gelenKayno)
{
    return t.value(QStringLiteral("SELECT COUNT(*) SAY FROM GIDEN G WHERE G.ILGNO=:ILG AND %1")
                       .arg(answersIncoming("G")),
                   {{"ILG", gelenKayno}}).toInt() > 0;
}

QStringList describeAnswered(fb::Transaction &t, int ilgno, const QString &ilgdur)
{
    QString sql, kind;
    if (replies::namesIncoming(ilgdur)) {
        sql = QStringLiteral("SELECT G.GELNO,G.GELTAR,B.BIRIM,G.KONU FROM GELEN G "
                             "LEFT JOIN BIRIM B ON(B.BKOD=G.BIRKOD) WHERE G.KAYNO=:KNO");
        kind = QStringLiteral("Gelen Evr.");
    } else if (ilgdur == kPetition) {
        sql = QStringLiteral("SELECT D.DILNO,D.DILTAR,B.BIRIM,D.KONU FROM DILEKCE D "
                             "LEFT JOIN BIRIM B ON(B.BKOD=D.BIRKOD) WHERE D.KAYNO=:KNO");
        kind = QStringLiteral("Dilekçe");
    }
    const QStringList none = {QString(), QString(), QString(), QString(), QString()};
    if (sql.isEmpty() || ilgno == 0)
        return none;
    fb::Statement s(t, sql);
    s.bind(QStringLiteral("KNO"), ilgno);
    s.execute();
    if (!s.next())
        return none;
    return {kind, text(s.value(0)), dateText(s.value(1)), text(s.value(2)), text(s.value(3))};
}

QStringList describeIncomingAnswer(fb::Transaction &t, int cevno)
{
    fb::Statement s(t, QStringLiteral("SELECT G.GELNO,G.GELTAR,G.KURKOD,D.BIRIM FROM GELEN G "
                                      "LEFT JOIN BIRIM D ON(D.BKOD=G.KURKOD) WHERE G.KAYNO=:KNO"));
    s.bind(QStringLiteral("KNO"), cevno);
    s.execute();
    if (cevno == 0 || !s.next())
        return {QStringLiteral("Cevap Gelmedi...."), QString()};
    return {QStringLiteral("Cevap Geldi...."),
            QStringLiteral("No:%1 Tarih:%2  G.Yer:%3").arg(text(s.value(0)), dateText(s.value(1)), text(s.value(3)))};
}

QStringList describeOutgoingAnswer(fb::Transaction &t, int cevno)
{
    fb::Statement s(t, QStringLiteral("SELECT G.GIDNO,G.GIDTAR,B.BIRIM FROM GIDEN G "
                                      "LEFT JOIN BIRIM B ON(B.BKOD=G.KURKOD AND B.TUR='K') WHERE G.KAYNO=:KNO"));
    s.bind(QStringLiteral("KNO"), cevno);
    s.execute();
    if (cevno == 0 || !s.next())
        return {QStringLiteral("Cevap Gönderilmedi...."), QString()};
    return {QStringLiteral("Cevap Gönderildi...."),
            QStringLiteral("No:%1  Tarih:%2  G.Yer:%3").arg(text(s.value(0)), dateText(s.value(1)), text(s.value(2)))};
}

void ReplyLink::open(int ilgno, const QString &ilgdur)
{
    m_storedNo = m_ilgno = ilgno;
    m_storedDur = m_ilgdur = ilgdur;
    m_chosen = m_removed = false;
}

void ReplyLink::choose(int kayno, const QString &ilgdur)
{
    if (kayno == 0)
        return;
    m_ilgno = kayno;
    m_ilgdur = m_side == Side::Outgoing ? ilgdur : QString();
    m_chosen = true;
}

bool ReplyLink::remove(Prompt &prompt)
{
    if (m_ilgno == 0) {
        prompt.message(QStringLiteral("DİKKAT! İlgili Evrak Kaydı Bulunamadı"));
        return false;
    }
    if (!prompt.question(QStringLiteral("DİKKAT! Bu Cevap Bilgisi Silinecektir. Onaylıyormusunuz.?")))
        return false;
    m_ilgno = 0;
    m_removed = true;
    return true;
}

QString ReplyLink::tableOf(const QString &ilgdur) const
{
    if (m_side == Side::Incoming)
        return QStringLiteral("GIDEN");
    if (replies::namesIncoming(ilgdur))
        return QStringLiteral("GELEN");
    if (ilgdur == kPetition)
        return QStringLiteral("DILEKCE");
    return {};
}

void ReplyLink::write(fb::Transaction &t, int self) const
{
    const bool same = m_ilgno == m_storedNo && tableOf(m_ilgdur) == tableOf(m_storedDur);
    if (same && !m_chosen)
        return;
    const QString before = tableOf(m_storedDur);
    if (!same && m_storedNo != 0 && !before.isEmpty()) {
        // Only our own claim is released; another document's answer stays.
        t.execute(QStringLiteral("UPDATE %1 SET CEVNO=0 WHERE KAYNO=:KN AND CEVNO=:CN").arg(before),
                  {{"KN", m_storedNo}, {"CN", self}});
    }
    if (m_ilgno == 0)
        return;
    const QString target = tableOf(m_ilgdur);
    if (target.isEmpty())
        throw Refusal(QStringLiteral("DİKKAT! İlgili evrakın türü bilinmiyor; ilgili evrakı yeniden seçiniz."));
    // The update locks the row, so the check holds until the commit.
    const qint64 claimed = t.execute(
        QStringLiteral("UPDATE %1 SET CEVNO=:CN WHERE KAYNO=:KN AND (CEVNO IS NULL OR CEVNO=0 OR CEVNO=:CN)")
            .arg(target),
        {{"CN", self}, {"KN", m_ilgno}});
    if (claimed > 0)
        return;
    const bool exists = t.value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE KAYNO=:KN").arg(target),
                                {{"KN", m_ilgno}}).toInt() > 0;
    throw Refusal(exists
        ? QStringLiteral("DİKKAT! Cevap olarak seçilen evrak bu arada başka bir evrakla cevaplanmış. "
                         "Kaydınız yapılmadı, yazdıklarınız ekranda duruyor; ilgili evrakı yeniden seçiniz.")
        : QStringLiteral("DİKKAT! Cevap olarak seçilen evrak bu arada silinmiş. Kaydınız yapılmadı, "
                         "yazdıklarınız ekranda duruyor; ilgili evrakı yeniden seçiniz."));
}

void ReplyLink::accept()
{
    m_storedNo = m_ilgno;
    m_storedDur = m_ilgdur;
    m_chosen = m_removed = false;
}

} // namespace related
