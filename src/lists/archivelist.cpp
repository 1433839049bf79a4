#include "archivelist.h"

#include "registers/archive.h"

namespace lists {

ListDescription archiveList()
{
    ListDescription d;
    d.caption = QStringLiteral("ARŞİV BELGELERİ  LİSTESİ");
    d.screenCode = 4;
    d.registerSelector = QStringLiteral("4");
    d.table = QStringLiteral("ARSIV");
    d.dateField = QStringLiteral("ARSTAR");
    d.numberField = QStringLiteral("ARSNO");
    d.numberGenerator = QStringLiteral("GEN_ARSNO");
    d.queryLines = {
        QStringLiteral("SELECT G1.KAYNO,G1.ARSNO,E.ECINS,G1.ARSTAR,G1.EVTAR,G1.EVSAY,G1.KONU,B.BIRIM,"
                       "(SELECT COUNT(*) FROM ARSTEXT T WHERE T.KAYNO=G1.KAYNO) ADET FROM ARSIV G1"),
        QStringLiteral("LEFT JOIN BIRIM B ON(B.BKOD=G1.BIRKOD)"),
        QStringLiteral("LEFT JOIN ECINS E ON(E.ECKOD=G1.ECKOD)"),
    };
    d.orderBy = QStringLiteral("ORDER BY G1.ARSNO");
    d.columns = {
        fieldColumn(QStringLiteral("Kay.No"), QStringLiteral("ARSNO"), 45),
        fieldColumn(QStringLiteral("Kay.Tarihi"), QStringLiteral("ARSTAR"), 80),
        fieldColumn(QStringLiteral("İlgili Birimi"), QStringLiteral("BIRIM"), 150),
        fieldColumn(QStringLiteral("Evrak Cinsi"), QStringLiteral("ECINS"), 120),
        tarnoColumn(),
        fieldColumn(QStringLiteral("Konusu"), QStringLiteral("KONU"), 250),
        fieldColumn(QStringLiteral("Ad."), QStringLiteral("ADET"), 30),
    };
    Filter month = monthFilter(QStringLiteral("monthFilter"), QStringLiteral("G1.ARSTAR"));
    month.kind = Filter::Fixed; // reset to "Tümü" at every activation
    d.filters = {
        departmentFilter(QStringLiteral("departmentFilter"), QStringLiteral("İlgili Birim"),
                         QStringLiteral("G1.BIRKOD=:BK")),
        lookupFilter(QStringLiteral("kindFilter"), QStringLiteral("Evrak Cinsi"), QStringLiteral("  TÜMÜ"),
                     QStringLiteral("SELECT ECINS FROM ECINS ORDER BY ECINS"),
                     QStringLiteral("SELECT ECKOD FROM ECINS WHERE ECINS=:B"), QStringLiteral("G1.ECKOD=:EKD")),
        yearFilter(QStringLiteral("yearFilter"), QStringLiteral("ARSIV"), QStringLiteral("ARSTAR"),
                   QStringLiteral("G1.ARSTAR")),
        month,
    };
    d.removeRecord = [](Session &session, int kayno) { return ArchiveRecord::remove(session, kayno); };
    return d;
}

} // namespace lists
