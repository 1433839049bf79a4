#include "registerchecks.h"

#include "core/session.h"
#include "db/fb/statement.h"
#include "db/fieldcheck.h"

namespace registerchecks {

int drawKey(Session &session, const QString &generator)
{
    fb::Transaction t(session.db.IBDATABASE);
    const int key = t.value(QStringLiteral("SELECT GEN_ID(%1,1) YENINO FROM RDB$DATABASE").arg(generator)).toInt();
    t.commit();
    return key;
}

QList<RegisterDepartment> departments(Session &session)
{
    QString sql = QStringLiteral("SELECT BIRIM,BKOD,YETKILI,UNVAN FROM BIRIM WHERE TUR='B'");
    fb::Params params;
    if (session.userDepartment != 0) {
        sql += QStringLiteral(" AND BKOD=:BK");
        params.insert(QStringLiteral("BK"), session.userDepartment);
    }
    QList<RegisterDepartment> out;
    for (const QVariantList &r : session.db.IBTransaction1.rows(sql + QStringLiteral(" ORDER BY BIRIM"), params)) {
        out.append({r[1].toInt(), r[0].toString(), r[2].isNull() ? QString() : r[2].toString(),
                    r[3].isNull() ? QString() : r[3].toString()});
    }
    return out;
}

QString fileCodeText(fb::Transaction &t, const QString &code)
{
    fb::Statement s(t, QStringLiteral("SELECT ACIK,KOD FROM SDP WHERE KOD=:KN"));
    s.bind(QStringLiteral("KN"), code);
    s.execute();
    if (!s.next())
        return QStringLiteral(" : ");
    return s.value(1).toString() + QStringLiteral(" : ") + s.value(0).toString();
}

QString columnProblem(const QString &table, const QStringList &columns,
                      const std::function<QVariant(const QString &)> &value,
                      const std::function<QString(const QString &)> &caption)
{
    for (const QString &column : columns) {
        const QString problem = fieldcheck::problem(table, column, value(column), caption(column));
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

QString fileCodeProblem(fb::Transaction &t, const QVariant &sdp)
{
    const QString code = sdp.isNull() ? QString() : sdp.toString();
    if (code.isEmpty()
        || t.value(QStringLiteral("SELECT COUNT(*) FROM SDP WHERE KOD=:K AND TUR='D'"), {{"K", code}}).toInt() > 0)
        return {};
    return QStringLiteral("DİKKAT! Standart dosya kodu %1 dosya planında yok ya da alt kodları var; "
                          "listeden bir kod seçiniz.").arg(code);
}

QString departmentProblem(fb::Transaction &t, const QVariant &bkod)
{
    const int code = bkod.toInt();
    if (code == 0
        || t.value(QStringLiteral("SELECT COUNT(*) FROM BIRIM WHERE BKOD=:K AND TUR='B'"), {{"K", code}}).toInt() > 0)
        return {};
    return QStringLiteral("DİKKAT! Seçilen birim artık tanımlı değil; birimi yeniden seçiniz.");
}

QString typedDateProblem(const Session &session, const QString &typed, QDate *date)
{
    if (typed.mid(6, 4) != session.workstation.year)
        return QStringLiteral("Tarih Çalışma Yılından Farklı Olamaz.");
    *date = QDate::fromString(typed, QStringLiteral("dd/MM/yyyy"));
    if (!date->isValid())
        return QStringLiteral("DİKKAT! Kayıt tarihi geçerli bir tarih değil (gün/ay/yıl).");
    return {};
}

fb::Params yearRange(int year)
{
    return {{QStringLiteral("D1"), QDate(year, 1, 1)}, {QStringLiteral("D2"), QDate(year, 12, 31)}};
}

QString vanishedMessage()
{
    return QStringLiteral("DİKKAT! Bu kayıt bulunamadı; başka bir kullanıcı tarafından silinmiş olabilir.");
}

} // namespace registerchecks
