#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace fb {
class Attachment;
class Transaction;
}

/// The tables, columns, keys and generators of the main and yearly databases,
/// kept as data so that a database of any supported version can be described,
/// created and compared with what the engine reports.
namespace schema {

/// Schema versions as numbers: "16.001" is 16001.
constexpr int kCurrentVersion = 16001;
constexpr int kAlways = 0;
constexpr int kForever = 0;

struct Column
{
    const char *name;
    const char *type;     ///< as written in DDL: "VARCHAR(50)", "BLOB SUB_TYPE TEXT"
    bool notNull = false;
    int since = kAlways;  ///< first version that has the column
    int until = kForever; ///< first version that no longer has it (or has it differently)
};

struct Table
{
    const char *name;
    std::vector<Column> columns;
    std::vector<const char *> key; ///< primary key columns; empty: no key
    int since = kAlways;
    int until = kForever;
};

struct Generator
{
    const char *name;
    int since = kAlways;
};

/// Indexes are ours to choose; these keep numbering and the lists quick on a
/// register of many years. Older databases work without them, only slower.
struct Index
{
    const char *name;
    const char *table;
    const char *columns;
    bool descending = false;
};

/// Keys of the reply-deadline indexes: the last date for a reply of a row
/// that asks for one and has none yet, and a petition's registration date
/// when it has no such date; NULL for every other row. A query reaches the
/// index only by writing the same expression.
#define KELMA_OPEN_REPLY_KEY "CASE WHEN CEVDUR='E' AND COALESCE(CEVNO,0)=0 THEN CEVTAR END"
#define KELMA_OPEN_UNDATED_REPLY_KEY \
    "CASE WHEN CEVDUR='E' AND COALESCE(CEVNO,0)=0 AND CEVTAR IS NULL THEN GELTAR END"

inline bool exists(int since, int until, int version)
{
    return version >= since && (until == kForever || version < until);
}

const std::vector<Table> &mainTables();
const std::vector<Table> &yearTables();
const std::vector<Generator> &generators();
const std::vector<Index> &indexes();
QString createIndexSql(const Index &index);
/// Creates the indexes of `indexes()` the database lacks (a database made by
/// an older version has none of them), committing each; returns their names.
QStringList addMissingIndexes(fb::Transaction &t);
/// Drops the indexes an earlier version made that no query uses any more (each
/// costs every save its upkeep); returns the names of those it dropped.
QStringList dropRetiredIndexes(fb::Transaction &t);

const Table *findTable(const std::vector<Table> &tables, const QString &name);

/// The columns of a table as they are at a version.
std::vector<Column> columnsAt(const Table &table, int version);

/// CREATE TABLE for a table as it is at a version.
QString createTableSql(const Table &table, int version);

/// Creates every table and generator of the main database as it is at the given
/// version, in an attached empty database. Makes Turkish the default collation of
/// WIN1254 first, so that UPPER, ordering and searching follow Turkish rules.
void createMain(fb::Attachment &attachment, int version = kCurrentVersion);
void createYear(fb::Attachment &attachment);

/// 16001 → "16.001", as TANIM.VER holds it.
QString versionText(int version);

} // namespace schema
