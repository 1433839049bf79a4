#include "incominglist.h"

#include "deadlines.h"

#include "db/replies.h"

#include <QDate>

namespace lists {

namespace {

qint64 deleteIncoming(Session &, fb::Transaction &work, int kayno)
{
    const fb::Params key{{QStringLiteral("KK"), kayno}};
    const QList<QVariantList> row = work.rows(
        QStringLiteral("SELECT GELTAR, ILGNO FROM GELEN WHERE KAYNO=:KK"), key);
    if (row.isEmpty())
        return 0;
    const qint64 deleted = work.execute(QStringLiteral("DELETE FROM GELEN WHERE KAYNO=:KK"), key);
    // Left behind, routing rows would wait for approval for ever.
    work.execute(QStringLiteral("DELETE FROM EVBRM WHERE TUR=1 AND EKAYNO=:KK"), key);
    // The outgoing document it answered would name an answer that is gone.
    const int answered = row.first().value(1).toInt();
    if (answered > 0)
        work.execute(QStringLiteral("UPDATE GIDEN SET CEVNO=0 WHERE KAYNO=:KN AND CEVNO=:KK"),
                     {{QStringLiteral("KN"), answered}, {QStringLiteral("KK"), kayno}});
    return deleted;
}

} // namespace

ListDescription incomingList()
{
    ListDescription d;
    d.caption = QStringLiteral("GELEN EVRAK  LİSTESİ");
    d.screenCode = 1;
    d.registerSelector = QStringLiteral("1");
    d.approvalMode = 1;
    d.table = QStringLiteral("GELEN");
    d.dateField = QStringLiteral("GELTAR");
    d.numberField = QStringLiteral("GELNO");
    d.numberGenerator = QStringLiteral("GEN_GELNO");
    d.attachments = storage::Register::Incoming;
    d.book = reports::Book::Incoming;
    // Answers are outgoing rows whose ILGNO names an incoming document (ILGDUR
    // 'G'), not a petition of the same key. Attachments are counted here, not per row.
    d.queryLines = {
        QStringLiteral("SELECT G1.KAYNO,G1.GELNO,G1.GELTAR,K.BIRIM DISKUR,G1.EVTAR,G1.EVSAY,G1.KONU,B.BIRIM,"
                       "G1.CEVDUR,G2.GIDNO,G1.ILGNO,G1.GIZDER,G1.ZDUR,G1.ZNO,G1.EKSAY,E.EVTUR,G.ONAY,G.BKOD,"
                       "(SELECT COUNT(*) FROM GELTEXT T WHERE T.KAYNO=G1.KAYNO) ADET,G1.CEVNO,G1.CEVTAR FROM GELEN G1"),
        QStringLiteral("LEFT JOIN BIRIM K ON(K.TUR='K' AND K.BKOD=G1.KURKOD)"),
        QStringLiteral("LEFT JOIN EVBRM G ON(G.TUR=1 AND G.EKAYNO=G1.KAYNO)"),
        QStringLiteral("LEFT JOIN BIRIM B ON(B.TUR='B' AND B.BKOD=G.BKOD)"),
        QStringLiteral("LEFT JOIN EVTUR E ON(E.ETKOD=G1.ETKOD)"),
        QStringLiteral("LEFT JOIN GIDEN G2 ON(G2.ILGNO=G1.KAYNO AND %1)").arg(replies::answersIncoming("G2")),
    };
    d.orderBy = QStringLiteral("ORDER BY G1.GELNO");
    d.columns = {
        fieldColumn(QStringLiteral("Kay.No"), QStringLiteral("GELNO"), 45),
        fieldColumn(QStringLiteral("Kay.Tarihi"), QStringLiteral("GELTAR"), 80),
        fieldColumn(QStringLiteral("Geldiği Yer"), QStringLiteral("DISKUR"), 150),
        tarnoColumn(),
        fieldColumn(QStringLiteral("Verildiği Birim"), QStringLiteral("BIRIM"), 120),
        fieldColumn(QStringLiteral("Konusu"), QStringLiteral("KONU"), 200),
        fieldColumn(QStringLiteral("Cev"), QStringLiteral("CEVDUR"), 30),
        fieldColumn(QStringLiteral("Cev.No"), QStringLiteral("GIDNO"), 50),
        fieldColumn(QStringLiteral("G.der"), QStringLiteral("GIZDER"), 40),
        fieldColumn(QStringLiteral("Zim"), QStringLiteral("ZDUR"), 30),
        fieldColumn(QStringLiteral("Z.No"), QStringLiteral("ZNO"), 40),
        fieldColumn(QStringLiteral("Evrak Türü"), QStringLiteral("EVTUR"), 100),
        fieldColumn(QStringLiteral("Ad."), QStringLiteral("ADET"), 30),
        approvalColumn(),
        deadlines::column(deadlines::Register::Incoming),
    };
    d.filters = {
        lookupFilter(QStringLiteral("senderFilter"), QStringLiteral("Geldiği Yer"), QStringLiteral("   TÜMÜ"),
                     QStringLiteral("SELECT BIRIM FROM BIRIM WHERE TUR='K' ORDER BY BIRIM"),
                     QStringLiteral("SELECT BKOD FROM BIRIM WHERE TUR='K' AND BIRIM=:D"),
                     QStringLiteral("G1.KURKOD=:DK")),
        departmentFilter(QStringLiteral("departmentFilter"), QStringLiteral("Verildiği Birim"),
                         QStringLiteral("G.BKOD=:BK")),
        choiceFilter(QStringLiteral("replyFilter"), QStringLiteral("Cevap Durumu"),
                     {QStringLiteral("Tümü"), QStringLiteral("Cevap Bekleyen"), QStringLiteral("Cevap Verilen")},
                     {QStringLiteral("G1.CEVDUR='E' AND G2.GIDNO IS NULL"),
                      QStringLiteral("G1.CEVDUR='E' AND G2.GIDNO>0")}),
        confidentialityFilter(QStringLiteral("G1.GIZDER=:GD")),
        yearFilter(QStringLiteral("yearFilter"), QStringLiteral("GELEN"), QStringLiteral("GELTAR"),
                   QStringLiteral("G1.GELTAR")),
        monthFilter(QStringLiteral("monthFilter"), QStringLiteral("G1.GELTAR")),
        deliveryFilter(QStringLiteral("G1.ZDUR=:ZD")),
        lookupFilter(QStringLiteral("typeFilter"), QStringLiteral("Evr. Tür"), QStringLiteral("TÜMÜ"),
                     QStringLiteral("SELECT EVTUR FROM EVTUR"),
                     QStringLiteral("SELECT ETKOD FROM EVTUR WHERE EVTUR=:B"), QStringLiteral("G1.ETKOD=:ETK")),
        deadlines::filter(deadlines::Register::Incoming, QStringLiteral("G1.")),
    };
    d.deleteGuardSql = QStringLiteral("SELECT COUNT(*) SAY FROM GIDEN G WHERE G.ILGNO=:ILG AND %1")
                           .arg(replies::answersIncoming("G"));
    d.deleteRecord = deleteIncoming;
    return d;
}

} // namespace lists
