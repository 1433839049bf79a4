#include "listdescription.h"

#include "registerlist.h"

#include "db/fb/statement.h"

#include <QDate>

namespace lists {

namespace {

/// The single :name of a condition.
QString parameterOf(const QString &conditionSql)
{
    QStringList names;
    fb::Statement::parseNames(conditionSql, &names);
    return names.value(0);
}

} // namespace

Filter lookupFilter(const QString &name, const QString &heading, const QString &allItem,
                    const QString &itemsSql, const QString &lookupSql, const QString &conditionSql)
{
    Filter f;
    f.kind = Filter::Lookup;
    f.name = name;
    f.heading = heading;
    f.allItem = allItem;
    f.itemsSql = itemsSql;
    f.lookupSql = lookupSql;
    const QString param = parameterOf(conditionSql);
    f.condition = [conditionSql, param](const FilterState &s) {
        return Condition{conditionSql, {{param, s.code}}};
    };
    return f;
}

Filter departmentFilter(const QString &name, const QString &heading, const QString &conditionSql)
{
    Filter f = lookupFilter(name, heading, QStringLiteral("TÜMÜ"),
                            QStringLiteral("SELECT BIRIM FROM BIRIM WHERE TUR='B' ORDER BY BIRIM"),
                            QStringLiteral("SELECT BKOD FROM BIRIM WHERE TUR='B' AND BIRIM=:B"),
                            conditionSql);
    f.boundItemsSql = QStringLiteral("SELECT BIRIM FROM BIRIM WHERE TUR='B' AND BKOD=:BK");
    return f;
}

Filter choiceFilter(const QString &name, const QString &heading, const QStringList &items,
                    const QStringList &conditions)
{
    Filter f;
    f.name = name;
    f.heading = heading;
    f.items = items;
    f.condition = [conditions](const FilterState &s) { return Condition{conditions.value(s.index - 1), {}}; };
    return f;
}

Filter letterFilter(const QString &name, const QString &heading, const QStringList &items,
                    const QString &conditionSql)
{
    Filter f;
    f.name = name;
    f.heading = heading;
    f.items = items;
    const QString param = parameterOf(conditionSql);
    f.condition = [conditionSql, param](const FilterState &s) {
        return Condition{conditionSql, {{param, s.text.left(1)}}};
    };
    return f;
}

Filter yearFilter(const QString &name, const QString &table, const QString &dateField,
                  const QString &dateColumn)
{
    Filter f;
    f.kind = Filter::Year;
    f.name = name;
    f.heading = QStringLiteral("Yılı");
    f.allItem = QStringLiteral("TÜMÜ");
    f.table = table;
    f.dateField = dateField;
    f.condition = [dateColumn](const FilterState &s) {
        const int year = s.text.trimmed().toInt();
        return Condition{QStringLiteral("%1>=:YL AND %1<:YL2").arg(dateColumn),
                         {{QStringLiteral("YL"), QDate(year, 1, 1)},
                          {QStringLiteral("YL2"), QDate(year + 1, 1, 1)}}};
    };
    return f;
}

Filter monthFilter(const QString &name, const QString &dateColumn)
{
    Filter f;
    f.kind = Filter::Month;
    f.name = name;
    f.heading = QStringLiteral("Ayı");
    f.items = QStringList{QStringLiteral("Tümü"),   QStringLiteral("Ocak"),    QStringLiteral("Şubat"),
                          QStringLiteral("Mart"),   QStringLiteral("Nisan"),   QStringLiteral("Mayıs"),
                          QStringLiteral("Haziran"), QStringLiteral("Tezmmuz"), QStringLiteral("Ağustos"),
                          QStringLiteral("Eylül"),  QStringLiteral("Ekim"),    QStringLiteral("Kasım"),
                          QStringLiteral("Aralık")};
    f.condition = [dateColumn](const FilterState &s) {
        return Condition{QStringLiteral("EXTRACT(MONTH FROM %1)=:AA").arg(dateColumn),
                         {{QStringLiteral("AA"), s.index}}};
    };
    f.conditionWithinYear = [dateColumn](const FilterState &s, int year) {
        const QDate first(year, s.index, 1);
        return Condition{QStringLiteral("%1>=:AA1 AND %1<:AA2").arg(dateColumn),
                         {{QStringLiteral("AA1"), first}, {QStringLiteral("AA2"), first.addMonths(1)}}};
    };
    return f;
}

Filter confidentialityFilter(const QString &conditionSql)
{
    return letterFilter(QStringLiteral("confidentialityFilter"), QStringLiteral("Gizlilik Derecesi"),
                        {QStringLiteral("Tümü"), QStringLiteral("Çok Gizli"), QStringLiteral("Gizli"),
                         QStringLiteral("Kişiye Özel"), QStringLiteral("Özel")},
                        conditionSql);
}

Filter deliveryFilter(const QString &conditionSql)
{
    return letterFilter(QStringLiteral("deliveryFilter"), QStringLiteral("Zimmet"),
                        {QStringLiteral("Tümü"), QStringLiteral("İç"), QStringLiteral("Dış")}, conditionSql);
}

Column fieldColumn(const QString &caption, const QString &field, int width)
{
    return Column{caption, field, width, {}};
}

Column tarnoColumn()
{
    return Column{QStringLiteral("Evrak Tar./No"), QStringLiteral("TARNO"), 140, [](const RowView &r) {
                      const QDate date = r.value(QStringLiteral("EVTAR")).toDate();
                      return QVariant(date.toString(QStringLiteral("dd.MM.yyyy")) + u' '
                                      + r.value(QStringLiteral("EVSAY")).toString());
                  }};
}

Column approvalColumn()
{
    return Column{QStringLiteral("On"), QStringLiteral("ONAY"), 30, [](const RowView &r) {
                      if (!r.approvalInUse())
                          return QVariant(QString());
                      return QVariant(r.value(QStringLiteral("ONAY")).toString() == QLatin1String("E")
                                          ? QString()
                                          : QStringLiteral("X"));
                  }};
}

} // namespace lists
