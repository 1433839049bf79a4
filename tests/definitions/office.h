#pragma once

#include "core/clock.h"
#include "core/session.h"
#include "db/fb/transaction.h"
#include "db/schema.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QSettings>
#include <QTemporaryDir>

/// One workstation on a KELMA database of its own, as it is after start.
/// `charsetless` makes an older database instead: BIRIM and SDP only, their
/// text columns without a character set, opened without lc_ctype.
struct Office
{
    QTemporaryDir home;
    TempDatabase db;
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    Session session{prompt, clock, [this] {
                        return std::make_unique<QSettings>(home.filePath(QStringLiteral("KELMA.ini")),
                                                           QSettings::IniFormat);
                    }};

    explicit Office(bool charsetless = false)
    {
        fb::Attachment a;
        if (charsetless) {
            db.createEmpty(a, QStringLiteral("NONE"));
            fb::Transaction t(a);
            for (const char *name : {"BIRIM", "SDP"})
                t.executeRaw(schema::createTableSql(*schema::findTable(schema::mainTables(), QLatin1String(name)), 15001));
            t.commit();
        } else {
            db.createMain(a);
        }
        a.close();
        session.db.openMain(db.path(), charsetless ? QString() : QStringLiteral("WIN1254"));
        session.workstation.year = QStringLiteral("2021");
    }

    /// What another workstation sees: committed data only.
    QVariant query(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(session.db.IBDATABASE);
        return t.value(sql, params);
    }
    /// Done and committed by another workstation.
    void exec(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(session.db.IBDATABASE);
        t.execute(sql, params);
        t.commit();
    }
    void addBody(int bkod, const QString &name, const QString &tur = QStringLiteral("K"))
    {
        exec(QStringLiteral("INSERT INTO BIRIM (BKOD,BIRIM,TUR) VALUES (:K,:B,:T)"),
             {{"K", bkod}, {"B", name}, {"T", tur}});
    }
};
