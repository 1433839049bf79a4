#pragma once

#include "db/fb/transaction.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class Session;

/// A department a record can be given to or belong to.
struct RegisterDepartment
{
    int BKOD = 0;
    QString BIRIM;
    QString YETKILI;
    QString UNVAN;
};

/// What the petition and archive records share: drawing a key, the file-plan
/// texts, and the checks that refuse a save before anything is written.
namespace registerchecks {

/// A new record key from a generator, in a transaction of its own so that the
/// key stays spent whatever happens to the record.
int drawKey(Session &session, const QString &generator);

/// The departments offered: all, or only the user's own when bound to one.
QList<RegisterDepartment> departments(Session &session);

/// "KOD : ACIK" of a file-plan code; " : " when there is none.
QString fileCodeText(fb::Transaction &t, const QString &code);

/// The first column whose value does not fit the schema, as a message; empty when all fit.
QString columnProblem(const QString &table, const QStringList &columns,
                      const std::function<QVariant(const QString &)> &value,
                      const std::function<QString(const QString &)> &caption);

/// A file-plan code that is not (or no longer) a leaf of the plan; empty when fine or none.
QString fileCodeProblem(fb::Transaction &t, const QVariant &sdp);
/// A department deleted since it was chosen; empty when fine or none.
QString departmentProblem(fb::Transaction &t, const QVariant &bkod);

/// The registration date typed as dd/mm/yyyy: its year must be the working
/// year and it must be a date. Empty and `date` set when it is fine.
QString typedDateProblem(const Session &session, const QString &typed, QDate *date);

/// :D1 and :D2, the first and last day of a year (so a date index serves it).
fb::Params yearRange(int year);

/// Shown when a record asked for is no longer there.
QString vanishedMessage();

} // namespace registerchecks
