#include "rowsread.h"

#include "db/fb/transaction.h"

qint64 rowsRead(fb::Attachment &attachment, const QString &table)
{
    // The monitoring tables are a snapshot per transaction: a new one each time.
    fb::Transaction t(attachment);
    return t.value(QStringLiteral(
                       "SELECT R.MON$RECORD_SEQ_READS + R.MON$RECORD_IDX_READS FROM MON$ATTACHMENTS A "
                       "JOIN MON$TABLE_STATS T ON T.MON$STAT_ID = A.MON$STAT_ID "
                       "JOIN MON$RECORD_STATS R ON R.MON$STAT_ID = T.MON$RECORD_STAT_ID "
                       "WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION AND T.MON$TABLE_NAME = :T"),
                   {{"T", table}})
        .toLongLong();
}
