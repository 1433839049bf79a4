#pragma once

#include "layout.h"
#include "registerbooks.h"

#include "db/fb/statement.h"
#include "db/fb/transaction.h"

#include <memory>

namespace fb {
class Attachment;
}

namespace reports {

/// The period and department a register book is printed for; 0 / -1 is "all".
struct BookFilter
{
    int year = 0;
    int month = 0;       ///< 1 to 12
    int department = -1; ///< BKOD: routed-to (incoming), sending (outgoing), given-to (petition)
};

/// The rows of a register's list query, in list order, read in a read-only
/// snapshot of its own so both passes of the layout see the same rows.
class BookQuery : public RowSource
{
public:
    BookQuery(fb::Attachment &database, Book book, const BookFilter &filter);
    ~BookQuery() override;

    /// The statement as it runs, and its parameters.
    QString sql() const { return m_sql; }
    fb::Params params() const { return m_params; }
    /// The engine's plan of the statement.
    QString plan() const { return m_statement->plan(); }

    QStringList columns() const override;
    void rewind() override;
    bool next(QStringList &row) override;
    int count() override;

private:
    fb::Transaction m_transaction;
    std::unique_ptr<fb::Statement> m_statement;
    QString m_sql;
    fb::Params m_params;
    QStringList m_columns;
    bool m_open = false;
};

} // namespace reports
