#pragma once

#include "db/fb/transaction.h"

#include <QList>
#include <QString>
#include <QStringList>

/// The queries of the three related-document pickers: which documents are
/// offered and how the filters narrow them. Filters are joined in their
/// order, the first after "WHERE ", each further one after " AND ".
namespace pickers {

/// A statement with its parameters, in the order of its conditions.
struct Query
{
    QString sql;
    fb::Params params;
};

/// One offered document: its key and the grid's texts.
struct Row
{
    int KAYNO = 0;
    QStringList cells;
};

/// Names for a look-up filter: "TÜMÜ" is the caller's; 'K' bodies, 'B' departments.
QStringList names(fb::Transaction &t, QChar tur);
/// The code behind a filter's name; -1 for "TÜMÜ" (index 0), 0 when the name is not found.
int lookUp(fb::Transaction &t, QChar tur, int index, const QString &name);

/// Incoming documents that wait for an answer and have none: body (KURKOD)
/// and department (BIRKOD) codes, -1 for all.
Query incoming(int body, int department);
/// The same over outgoing documents.
Query outgoing(int body, int department);

struct PetitionFilter
{
    int department = -1;
    /// Applicant's name as typed; matched in any Turkish case, % and _ literally.
    QString name;
    /// "Tümü", "Evet", "Hayır".
    QString awaited = QStringLiteral("Tümü");
    /// "Tümü", "Hayır", "Evet".
    QString answered = QStringLiteral("Tümü");
};
Query petitions(const PetitionFilter &filter);

/// Headers of each picker's grid, in column order.
QStringList incomingHeaders();
QStringList outgoingHeaders();
QStringList petitionHeaders();

/// Runs a picker query: incoming and outgoing rows give number, date, body,
/// "date/reference", subject, department; petition rows number, date, subject, applicant.
QList<Row> rows(fb::Transaction &t, const Query &query);

/// A typed text as a LIKE pattern that finds it anywhere, upper-cased by
/// Turkish rules, with \ escaping its own %, _ and \.
QString containsPattern(const QString &typed);

} // namespace pickers
