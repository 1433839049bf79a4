#pragma once

#include "db/fb/attachment.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class TempDatabase;

namespace fb {
class Transaction;
}

/// Main databases as older versions of the program left them: the schema of
/// that version, and a small set of rows with Turkish text that the upgrade
/// steps must carry over (the rows named below).
namespace legacy {

/// Creates the database of `db` with the schema of `version` and the standard
/// rows, and leaves `attachment` open on it with a WIN1254 connection.
/// `defaultCharset` "NONE" makes every text column one without a character
/// set, as in the oldest installations.
void create(TempDatabase &db, fb::Attachment &attachment, int version,
            const QString &defaultCharset = QStringLiteral("WIN1254"));

/// The standard rows, each written with the columns its table has at `version`:
///  - incoming 10 (department 1), 15 (department 2), 20 (no department);
///    outgoing 7 (body 3), 8 (no body), 9 (body 4); petition 3; archive 4;
///  - incoming attachments (10,1) kind "1", (15,1) kind "2" without content,
///    (15,2) kind "4"; outgoing (7,1) kind "5", (9,1) kind "6"; archive (4,1)
///    kind "3" without content; no petition attachments;
///  - users 1 (codes 1–5, 11–16, 21–27), 2 (codes 1 and 2), 3 (none);
///  - an old staff table row before 16.001;
///  - from 15.001 on, what that step made of them (routing rows, document
///    types, attachment numbers 1–6, the right (1,6)).
void seed(fb::Transaction &t, int version, const QString &versionText);

/// Adds `incoming` incoming documents with `attachments` attachment rows
/// spread over them, for measuring. Columns of every version only.
void seedBulk(fb::Transaction &t, int incoming, int attachments);

/// Inserts a row with those of `values` that the table has at `version`.
void insert(fb::Transaction &t, int version, const char *table, const QVariantMap &values);

/// Text that the standard rows hold, with the statement that reads it back.
struct TextProbe
{
    QString sql;
    QString text;
};
QList<TextProbe> textProbes();

/// The schema as the engine reports it: table → "COLUMN TYPE[ NN]" entries and
/// "PRIMARY KEY(…)"; the generators under "(generators)".
QMap<QString, QStringList> describe(fb::Transaction &t);

/// Every row of the tables a database of `version` has, with the columns that
/// both `version` and the current version have, ordered by key; TANIM.VER and
/// the old staff table left out. Equal before and after an upgrade when the
/// upgrade lost and changed nothing.
QMap<QString, QStringList> contents(fb::Transaction &t, int version);

} // namespace legacy
