#include "outgoinglist.h"

#include "deadlines.h"

#include <QDate>

namespace lists {

namespace {

qint64 deleteOutgoing(Session &, fb::Transaction &work, int kayno)
{
    const fb::Params key{{QStringLiteral("KK"), kayno}};
    const QList<QVariantList> row = work.rows(
        QStringLiteral("SELECT GIDTAR, ILGNO, ILGDUR FROM GIDEN WHERE KAYNO=:KK"), key);
    if (row.isEmpty())
        return 0;
    const qint64 deleted = work.execute(QStringLiteral("DELETE FROM GIDEN WHERE KAYNO=:KK"), key);
    // Left behind, routing rows would wait for approval for ever.
    work.execute(QStringLiteral("DELETE FROM EVBRM WHERE TUR=2 AND EKAYNO=:KK"), key);
    // The answered document would name an answer that is gone. ILGDUR says
    // which register it is in (keys overlap); rows without it answer incoming.
    // Only while it still names this letter: it may have been answered anew.
    const int answered = row.first().value(1).toInt();
    if (answered > 0) {
        const QString table = row.first().value(2).toString() == QLatin1String("D") ? QStringLiteral("DILEKCE")
                                                                                     : QStringLiteral("GELEN");
        work.execute(QStringLiteral("UPDATE %1 SET CEVNO=0 WHERE KAYNO=:KN AND CEVNO=:KK").arg(table),
                     {{QStringLiteral("KN"), answered}, {QStringLiteral("KK"), kayno}});
    }
    return deleted;
}

} // namespace

ListDescription outgoingList()
{
    ListDescription d;
    d.caption = QStringLiteral("GİDEN EVRAK  LİSTESİ");
    d.screenCode = 2;
    d.registerSelector = QStringLiteral("2");
    d.approvalMode = 2;
    d.table = QStringLiteral("GIDEN");
    d.dateField = QStringLiteral("GIDTAR");
    d.numberField = QStringLiteral("GIDNO");
    d.numberGenerator = QStringLiteral("GEN_GIDNO");
    d.attachments = storage::Register::Outgoing;
    d.book = reports::Book::Outgoing;
    // Incoming answers name outgoing letters only, so the answer join needs no
    // register test. GIDEN has no document type: no EVTUR join. Attachments
    // are counted here, not per row.
    d.queryLines = {
        QStringLiteral("SELECT G1.KAYNO,G1.GIDNO,G1.GIDTAR,G1.ILGDUR,D.BIRIM DKURUM,G1.EVTAR,G1.EVSAY,G1.KONU,"
                       "B.BIRIM,G1.CEVDUR,G2.GELNO,G1.ILGNO,G1.GIZDER,G1.ZDUR,G1.ZNO,G1.EKSAY,G.ONAY,G.BKOD,"
                       "(SELECT COUNT(*) FROM GIDTEXT T WHERE T.KAYNO=G1.KAYNO) ADET,G1.CEVNO,G1.CEVTAR FROM GIDEN G1"),
        QStringLiteral("LEFT JOIN BIRIM B ON(B.TUR='B' AND B.BKOD=G1.BIRKOD)"),
        QStringLiteral("LEFT JOIN EVBRM G ON(G.TUR=2 AND G.EKAYNO=G1.KAYNO)"),
        QStringLiteral("LEFT JOIN BIRIM D ON(D.BKOD=G.BKOD)"),
        QStringLiteral("LEFT JOIN GELEN G2 ON(G2.ILGNO=G1.KAYNO)"),
    };
    d.orderBy = QStringLiteral("ORDER BY G1.GIDNO");
    d.columns = {
        fieldColumn(QStringLiteral("Kay.No"), QStringLiteral("GIDNO"), 45),
        fieldColumn(QStringLiteral("Kay.Tarihi"), QStringLiteral("GIDTAR"), 80),
        fieldColumn(QStringLiteral("Gönderildiği Yer"), QStringLiteral("DKURUM"), 150),
        tarnoColumn(),
        fieldColumn(QStringLiteral("Konusu"), QStringLiteral("KONU"), 200),
        fieldColumn(QStringLiteral("Gönderen Birim"), QStringLiteral("BIRIM"), 120),
        fieldColumn(QStringLiteral("Cev"), QStringLiteral("CEVDUR"), 30),
        fieldColumn(QStringLiteral("Cev.No"), QStringLiteral("GELNO"), 50),
        fieldColumn(QStringLiteral("G.Der"), QStringLiteral("GIZDER"), 40),
        fieldColumn(QStringLiteral("Zim"), QStringLiteral("ZDUR"), 30),
        fieldColumn(QStringLiteral("Z.No"), QStringLiteral("ZNO"), 40),
        fieldColumn(QStringLiteral("Ad."), QStringLiteral("ADET"), 30),
        approvalColumn(),
        deadlines::column(deadlines::Register::Outgoing),
    };
    d.filters = {
        lookupFilter(QStringLiteral("destinationFilter"), QStringLiteral("Gönderildiği Yer"), QStringLiteral("  TÜMÜ"),
                     QStringLiteral("SELECT BIRIM FROM BIRIM WHERE TUR='K' ORDER BY BIRIM"),
                     QStringLiteral("SELECT BKOD FROM BIRIM WHERE TUR='K' AND BIRIM=:D"),
                     QStringLiteral("G.BKOD=:DK")),
        departmentFilter(QStringLiteral("departmentFilter"), QStringLiteral("Gönderen Birim"),
                         QStringLiteral("G1.BIRKOD=:BK")),
        choiceFilter(QStringLiteral("replyFilter"), QStringLiteral("Cevap Durumu"),
                     {QStringLiteral("Tümü"), QStringLiteral("Cevap Bekleyen"), QStringLiteral("Cevap Verilen")},
                     {QStringLiteral("G1.CEVDUR='E' AND G2.GELNO IS NULL"),
                      QStringLiteral("G1.CEVDUR='E' AND G2.GELNO>0")}),
        confidentialityFilter(QStringLiteral("G1.GIZDER=:GD")),
        yearFilter(QStringLiteral("yearFilter"), QStringLiteral("GIDEN"), QStringLiteral("GIDTAR"),
                   QStringLiteral("G1.GIDTAR")),
        monthFilter(QStringLiteral("monthFilter"), QStringLiteral("G1.GIDTAR")),
        deliveryFilter(QStringLiteral("G1.ZDUR=:ZD")),
        deadlines::filter(deadlines::Register::Outgoing, QStringLiteral("G1.")),
    };
    // An incoming document that answers the letter keeps it.
    d.deleteGuardSql = QStringLiteral("SELECT COUNT(*) SAY FROM GELEN WHERE ILGNO=:ILG");
    d.deleteRecord = deleteOutgoing;
    return d;
}

} // namespace lists
