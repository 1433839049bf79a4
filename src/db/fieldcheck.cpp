#include "fieldcheck.h"

#include "schema.h"

#include <QDate>
#include <QRegularExpression>

namespace fieldcheck {

QString problem(const QString &table, const QString &column, const QVariant &value,
                const QString &caption)
{
    if (value.isNull())
        return {};
    const schema::Table *t = schema::findTable(schema::mainTables(), table);
    if (!t)
        return {};
    const QString name = caption.isEmpty() ? column : caption.trimmed();
    for (const schema::Column &c : schema::columnsAt(*t, schema::kCurrentVersion)) {
        if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) != 0)
            continue;
        const QString type = QLatin1String(c.type);
        static const QRegularExpression varchar(QStringLiteral("^VARCHAR\\((\\d+)\\)$"));
        const auto m = varchar.match(type);
        if (m.hasMatch()) {
            const int width = m.captured(1).toInt();
            const int length = int(value.toString().size());
            if (length > width) {
                return QStringLiteral("DİKKAT! «%1» en fazla %2 karakter olabilir; %3 karakter yazıldı.")
                    .arg(name).arg(width).arg(length);
            }
            return {};
        }
        if (type == QLatin1String("SMALLINT") || type == QLatin1String("INTEGER")) {
            bool ok = false;
            const qlonglong n = value.toString().trimmed().toLongLong(&ok);
            const qlonglong limit = type == QLatin1String("SMALLINT") ? 32767 : 2147483647;
            if (!ok)
                return QStringLiteral("DİKKAT! «%1» bir sayı olmalıdır.").arg(name);
            if (n > limit || n < -limit - 1)
                return QStringLiteral("DİKKAT! «%1» en fazla %2 olabilir.").arg(name).arg(limit);
            return {};
        }
        if (type == QLatin1String("DATE")) {
            if (!value.toDate().isValid())
                return QStringLiteral("DİKKAT! «%1» geçerli bir tarih değil.").arg(name);
        }
        return {};
    }
    return {};
}

} // namespace fieldcheck
