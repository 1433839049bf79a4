#pragma once

#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/session.h"
#include "db/fb/transaction.h"
#include "scriptedprompt.h"
#include "tempdatabase.h"

#include <QDate>
#include <QDir>
#include <QSettings>

#include <initializer_list>
#include <tuple>

/// An office on a fresh database, working year 2021, user control off, with a small register:
///  - departments 1 YAZI İŞLERİ, 2 FEN İŞLERİ, 3 ZABITA; bodies 11 ANKARA
///    VALİLİĞİ, 12 İZMİR BELEDİYESİ; document types 1 GENEL EVRAK, 2 DİLEKÇE;
///  - incoming 105 (2018), 101 (2020), and in 2021: 201 routed to three
///    departments and answered by outgoing 501; 202 routed to department 2,
///    waiting for an answer, while outgoing 502 answers a petition whose key
///    is also 202; 203 without routing, answered twice (503, 504); 204
///    answering outgoing 501, routed to department 1;
///  - attachment rows: 201 two, 202 one, 203 one, their contents (BELKAYNO
///    KAYNO×10+SIRNO) in the yearly database TEXT2021 beside the main one.
struct ListOffice
{
    TempDatabase db;
    ScriptedPrompt prompt;
    FixedClock clock{QDateTime(QDate(2021, 8, 26), QTime(9, 30))};
    // The workstation's store beside the database: YOL finds the yearly databases there.
    Session session{prompt, clock, [this] {
        return std::make_unique<QSettings>(QDir(db.folder()).filePath(QStringLiteral("KELMA.ini")),
                                           QSettings::IniFormat);
    }};
    fb::Attachment own;
    /// TEXT2021.GDB: the contents of the attachment rows (TEXTVT 'A', as a fresh database has it).
    fb::Attachment year;

    ListOffice()
    {
        db.createMain(own);
        fb::Transaction t(own);
        for (const auto &[k, tur, name] : std::initializer_list<std::tuple<int, const char *, const char *>>{
                 {1, "B", "YAZI İŞLERİ"}, {2, "B", "FEN İŞLERİ"}, {3, "B", "ZABITA"},
                 {11, "K", "ANKARA VALİLİĞİ"}, {12, "K", "İZMİR BELEDİYESİ"}}) {
            t.execute(QStringLiteral("INSERT INTO BIRIM (BKOD, TUR, BIRIM) VALUES (:K, :T, :B)"),
                      {{"K", k}, {"T", QString::fromUtf8(tur)}, {"B", QString::fromUtf8(name)}});
        }
        incoming(t, 105, 1, QDate(2018, 6, 1), 12, "H", "Ö", "D", 1);
        incoming(t, 101, 1, QDate(2020, 3, 5), 11, "H", "Ö", "D", 1);
        incoming(t, 201, 1, QDate(2021, 1, 10), 11, "E", "G", "İ", 1);
        incoming(t, 202, 2, QDate(2021, 8, 2), 12, "E", "Ç", "D", 2);
        incoming(t, 203, 3, QDate(2021, 8, 20), 0, "H", "K", "D", 1);
        incoming(t, 204, 4, QDate(2021, 12, 30), 12, "E", "Ö", "İ", 2, 501);
        outgoing(t, 501, 1, 201, "G", 204);
        outgoing(t, 502, 2, 202, "D");
        outgoing(t, 503, 3, 203, "G");
        outgoing(t, 504, 4, 203, "G");
        for (const auto &[k, b, onay] : std::initializer_list<std::tuple<int, int, const char *>>{
                 {201, 1, nullptr}, {201, 2, "E"}, {201, 3, "H"}, {202, 2, "E"}, {204, 1, nullptr}}) {
            t.execute(QStringLiteral("INSERT INTO EVBRM (TUR, EKAYNO, BKOD, ONAY) VALUES (1, :K, :B, :O)"),
                      {{"K", k}, {"B", b}, {"O", onay ? QVariant(QString::fromUtf8(onay)) : QVariant()}});
        }
        // An outgoing routing row of the same key must not show in the incoming list.
        t.execute(QStringLiteral("INSERT INTO EVBRM (TUR, EKAYNO, BKOD) VALUES (2, 201, 3)"));
        for (const auto &[k, n] : std::initializer_list<std::pair<int, int>>{{201, 1}, {201, 2}, {202, 1}, {203, 1}}) {
            t.execute(QStringLiteral("INSERT INTO GELTEXT (KAYNO, SIRNO, TUR, BELTUR, BELKAYNO) "
                                     "VALUES (:K, :S, 'A', '1', :B)"),
                      {{"K", k}, {"S", n}, {"B", k * 10 + n}});
        }
        t.commit();
        session.db.openMain(db.path());
        session.workstation.year = QStringLiteral("2021");
        session.LUSR = QStringLiteral("ZIRVO");
        session.general = generalsettings::readRow(session.db.IBTransaction1);
        session.general.UDUR = QStringLiteral("0");
        session.store()->setValue(QStringLiteral("YOL"), db.folder());
        year.open(TempDatabase::options(db.createYear(QStringLiteral("2021")), QString()));
        for (const auto &[k, n] : std::initializer_list<std::pair<int, int>>{{201, 1}, {201, 2}, {202, 1}, {203, 1}})
            addContent(QStringLiteral("GELTEXT"), k * 10 + n);
    }

    void addContent(const QString &table, int belkayno)
    {
        fb::Transaction t(year);
        t.execute(QStringLiteral("INSERT INTO %1 (BELKAYNO, METIN) VALUES (:B, :M)").arg(table),
                  {{"B", belkayno}, {"M", QByteArray("icerik")}});
        t.commit();
    }
    /// BELKAYNO of the contents committed in TEXT2021's `table`, in order.
    QList<int> contents(const QString &table)
    {
        fb::Transaction t(year);
        QList<int> out;
        for (const QVariantList &r : t.rows(QStringLiteral("SELECT BELKAYNO FROM %1 ORDER BY BELKAYNO").arg(table)))
            out << r.value(0).toInt();
        return out;
    }

    static void incoming(fb::Transaction &t, int kayno, int gelno, const QDate &date, int body, const char *cevdur,
                         const char *gizder, const char *zdur, int etkod, int ilgno = 0)
    {
        t.execute(QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, EVTAR, EVSAY, KONU, KURKOD, CEVDUR, "
                                 "GIZDER, ZDUR, ZNO, ETKOD, ILGNO) VALUES (:K, :N, :D, :D, :S, :KONU, :B, :C, "
                                 ":G, :Z, :ZN, :E, :I)"),
                  {{"K", kayno}, {"N", gelno}, {"D", date}, {"S", QStringLiteral("E-%1").arg(kayno)},
                   {"KONU", QStringLiteral("Konu %1").arg(kayno)}, {"B", body ? QVariant(body) : QVariant()},
                   {"C", QString::fromUtf8(cevdur)}, {"G", QString::fromUtf8(gizder)},
                   {"Z", QString::fromUtf8(zdur)}, {"ZN", QString::number(gelno)}, {"E", etkod}, {"I", ilgno}});
    }

    static void outgoing(fb::Transaction &t, int kayno, int gidno, int ilgno, const char *ilgdur, int cevno = 0)
    {
        t.execute(QStringLiteral("INSERT INTO GIDEN (KAYNO, GIDNO, GIDTAR, ILGNO, ILGDUR, CEVNO) "
                                 "VALUES (:K, :N, :D, :I, :R, :C)"),
                  {{"K", kayno}, {"N", gidno}, {"D", QDate(2021, 9, 1)}, {"I", ilgno},
                   {"R", QString::fromUtf8(ilgdur)}, {"C", cevno}});
    }

    void exec(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(own);
        t.execute(sql, params);
        t.commit();
    }
    QVariant value(const QString &sql, const fb::Params &params = {})
    {
        fb::Transaction t(own);
        return t.value(sql, params);
    }
};
