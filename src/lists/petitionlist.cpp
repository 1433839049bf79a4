#include "petitionlist.h"

#include "deadlines.h"

#include "registers/petition.h"

namespace lists {

namespace {

/// Reset to "Tümü" at every activation, unlike the incoming list's.
Filter monthOf(const QString &dateColumn)
{
    Filter f = monthFilter(QStringLiteral("monthFilter"), dateColumn);
    f.kind = Filter::Fixed;
    return f;
}

} // namespace

ListDescription petitionList()
{
    ListDescription d;
    d.caption = QStringLiteral("DİLEKÇE  LİSTESİ");
    d.screenCode = 3;
    d.registerSelector = QStringLiteral("3");
    d.approvalMode = 3;
    d.approvalNeedsRouting = true;
    d.table = QStringLiteral("DILEKCE");
    // Numbers, filters and the attachment database's year go by the registration date.
    d.dateField = QStringLiteral("GELTAR");
    d.numberField = QStringLiteral("DILNO");
    d.numberGenerator = QStringLiteral("GEN_DILNO");
    d.book = reports::Book::Petition;
    // BKOD: whether the petition is routed at all; "Onayla" picks the routing
    // row (RegisterList::routingToApprove), one line per petition kept.
    d.queryLines = {
        QStringLiteral("SELECT D.KAYNO,D.DILNO,D.GELTAR,D.ADI||' '||D.SOYADI ADSOY,D.DILTAR ,D.KONU,B.BIRIM,"
                       "D.EKSAY,(SELECT COUNT(*) FROM DILTEXT T WHERE T.KAYNO=D.KAYNO) ADET,"
                       "(SELECT MIN(V.BKOD) FROM EVBRM V WHERE V.TUR=3 AND V.EKAYNO=D.KAYNO) BKOD,D.CEVDUR,D.CEVNO,D.CEVTAR FROM DILEKCE D"),
        QStringLiteral("LEFT JOIN BIRIM B ON(B.BKOD=D.BIRKOD)"),
    };
    d.orderBy = QStringLiteral("ORDER BY D.DILNO");
    d.columns = {
        fieldColumn(QStringLiteral("Kay.No"), QStringLiteral("DILNO"), 45),
        fieldColumn(QStringLiteral("Kay.Tarihi"), QStringLiteral("GELTAR"), 80),
        fieldColumn(QStringLiteral("Adı ve Soyadı"), QStringLiteral("ADSOY"), 180),
        fieldColumn(QStringLiteral("Dilekçe Tar."), QStringLiteral("DILTAR"), 80),
        fieldColumn(QStringLiteral("Konusu"), QStringLiteral("KONU"), 250),
        fieldColumn(QStringLiteral("Verildiği Birim"), QStringLiteral("BIRIM"), 150),
        fieldColumn(QStringLiteral("Ad."), QStringLiteral("ADET"), 30),
        deadlines::column(deadlines::Register::Petition),
    };
    // The numbering goes by the registration date, so the year and month do too.
    d.filters = {
        departmentFilter(QStringLiteral("departmentFilter"), QStringLiteral("Verildiği Birim"),
                         QStringLiteral("D.BIRKOD=:BK")),
        yearFilter(QStringLiteral("yearFilter"), QStringLiteral("DILEKCE"), QStringLiteral("GELTAR"),
                   QStringLiteral("D.GELTAR")),
        monthOf(QStringLiteral("D.GELTAR")),
        deadlines::filter(deadlines::Register::Petition, QStringLiteral("D.")),
    };
    d.removeRecord = [](Session &session, int kayno) { return PetitionRecord::remove(session, kayno); };
    return d;
}

} // namespace lists
