#include "core/turkish.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "legacydatabase.h"
#include "lists/subjectsearch.h"
#include "tempdatabase.h"

#include <QSemaphore>
#include <QTest>

using namespace subjectsearch;

namespace {

// Spellings the server's UPPER folds the wrong way, and % and _ that a LIKE
// pattern would take for wildcards.
const QList<std::pair<int, QString>> subjects = {
    {1001, QStringLiteral("İşçi alımı hakkında")},
    {1002, QStringLiteral("IŞÇI ücretleri")},
    {1003, QStringLiteral("mevsimlik işçi sağlığı")},
    {1004, QStringLiteral("Işık direkleri")},
    {1005, QStringLiteral("ışıklandırma ihalesi")},
    {1006, QStringLiteral("isik yazimi")},
    {1007, QStringLiteral("Çağrı merkezi")},
    {1008, QStringLiteral("ÇAĞRI KAYITLARI")},
    {1009, QStringLiteral("%50 indirim")},
    {1010, QStringLiteral("dosya_adı listesi")},
    {1011, QStringLiteral("Üniversite ziyareti")},
    {1012, QStringLiteral("ülke raporu")},
    {1013, QString()},
    {1014, QStringLiteral("50 adet dosyaXadı")},
};

void fill(fb::Transaction &t, const QString &table, const QString &number, const QString &date)
{
    int day = 0;
    for (const auto &[kayno, konu] : subjects)
        t.execute(QStringLiteral("INSERT INTO %1 (KAYNO, %2, %3, KONU) VALUES (:K, :N, :T, :KONU)")
                      .arg(table, number, date),
                  {{"K", kayno}, {"N", kayno - 1000}, {"T", QDate(2021, 1, 1).addDays(day++)},
                   {"KONU", konu.isNull() ? QVariant() : QVariant(konu)}});
}

// What a person means by "contains": both sides upper-cased the Turkish way.
QList<int> plainScan(fb::Transaction &t, const QString &text)
{
    QList<int> out;
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT KAYNO, KONU FROM GELEN ORDER BY GELTAR, KAYNO")))
        if (turkish::upper(r.value(1).toString()).contains(turkish::upper(text)))
            out << r.value(0).toInt();
    return out;
}

QList<int> keys(const SubjectIndex &index, const std::vector<int> &rows)
{
    QList<int> out;
    for (int row : rows)
        out << index.kayno(row);
    return out;
}

QList<int> ours(const QList<int> &all)
{
    QList<int> out;
    for (int k : all)
        if (k > 1000)
            out << k;
    return out;
}

} // namespace

class tst_subjectsearch : public QObject
{
    Q_OBJECT
private slots:
    void findsTurkishSpellings_data();
    void findsTurkishSpellings();
    void narrowingMatchesAFreshSearch();
    void aStoppedSearchLeavesNoTrace();
    void onlyTheLatestRequestIsAnswered();
    void loadingKeepsDateThenKeyOrderAcrossParts();
    void gridRowsStayRightAsTheResultGrows();
    void everyRegisterHasItsTableAndColumns_data();
    void everyRegisterHasItsTableAndColumns();
};

void tst_subjectsearch::findsTurkishSpellings_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("expected");
    const QList<int> all = {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014};
    for (const QString &charset : {QStringLiteral("WIN1254"), QStringLiteral("NONE")}) {
        auto row = [&](const char *name, const QString &text, const QList<int> &expected) {
            QTest::addRow("%s %s", qPrintable(charset), name) << charset << text << expected;
        };
        row("işçi", QStringLiteral("işçi"), {1001, 1003});
        row("İŞÇİ", QStringLiteral("İŞÇİ"), {1001, 1003});
        row("ışık", QStringLiteral("ışık"), {1004, 1005});
        row("IŞIK", QStringLiteral("IŞIK"), {1004, 1005});
        row("çağrı", QStringLiteral("çağrı"), {1007, 1008});
        row("Ü", QStringLiteral("Ü"), {1002, 1011, 1012});
        row("percent", QStringLiteral("%"), {1009});
        row("underscore", QStringLiteral("_"), {1010});
        row("empty", QString(), all);
        row("in no subject", QStringLiteral("yokböyle"), {});
        row("outside the code page", QStringLiteral("işçi€"), {});
    }
}

void tst_subjectsearch::findsTurkishSpellings()
{
    QFETCH(QString, charset);
    QFETCH(QString, text);
    QFETCH(QList<int>, expected);

    TempDatabase db;
    fb::Attachment a;
    if (charset == QLatin1String("NONE"))
        legacy::create(db, a, 14001, charset); // columns without a character set
    else
        db.createMain(a);
    {
        fb::Transaction t(a);
        fill(t, QStringLiteral("GELEN"), QStringLiteral("GELNO"), QStringLiteral("GELTAR"));
        t.commit();
    }
    const auto index = load(TempDatabase::options(db.path()), QStringLiteral("1"));
    QVERIFY(index);
    const std::vector<int> found = index->find(fold(text));
    const QList<int> got = keys(*index, found);
    QCOMPARE(ours(got), expected);

    bool encodable = true;
    fold(text, &encodable);
    if (encodable) {
        fb::Transaction t(a);
        QCOMPARE(got, plainScan(t, text));
    }
}

void tst_subjectsearch::narrowingMatchesAFreshSearch()
{
    // Three chunks and a bit, so the last steps run on an index that grew
    // while the searcher kept matches of its first part.
    SubjectIndex whole;
    std::vector<std::shared_ptr<const SubjectIndex>> parts;
    const int rows = 3 * SubjectIndex::chunkRows + 100;
    for (int i = 0; i < rows; ++i) {
        const auto &[kayno, konu] = subjects[i % subjects.size()];
        whole.add(kayno * 100000 + i, i % 3 ? konu : konu.toLower());
        if ((i + 1) % SubjectIndex::chunkRows == 0)
            parts.push_back(whole.snapshot());
    }
    whole.seal();
    parts.push_back(whole.snapshot());
    QCOMPARE(parts.back()->size(), qsizetype(rows));

    // Typed on, then taken back, then a new word: each step as a fresh search finds.
    const QString typed = QStringLiteral("ÇAĞRI KAYIT");
    QStringList steps;
    for (int n = 1; n <= typed.size(); ++n)
        steps << typed.left(n);
    for (int n = typed.size() - 1; n >= 0; --n)
        steps << typed.left(n);
    steps << QStringLiteral("İ") << QStringLiteral("İŞ") << QStringLiteral("İŞÇİ€") << QStringLiteral("Ş");
    Searcher searcher;
    for (int i = 0; i < steps.size(); ++i) {
        const SubjectIndex &index = *parts[std::min<size_t>(size_t(i) / 4, parts.size() - 1)];
        const std::vector<int> *got = searcher.search(steps[i], index);
        QVERIFY(got);
        bool encodable = true;
        const QByteArray needle = fold(steps[i], &encodable);
        QCOMPARE(keys(index, *got), encodable ? keys(index, index.find(needle)) : QList<int>());
    }
    // The whole index once more for the last text: only the new rows are read.
    QCOMPARE(keys(whole, *searcher.search(steps.last(), whole)), keys(whole, whole.find(fold(steps.last()))));
}

void tst_subjectsearch::aStoppedSearchLeavesNoTrace()
{
    SubjectIndex index;
    for (int i = 0; i < 2 * SubjectIndex::chunkRows; ++i)
        index.add(i, subjects[i % subjects.size()].second);
    Searcher searcher;
    QVERIFY(searcher.search(QStringLiteral("Ç"), index));

    // Given up half-way, as when the next key comes: no answer, and what it
    // had found must not pass for the matches of "ÇA" later.
    int looks = 0;
    Progress progress;
    progress.stop = [&looks] { return ++looks > 3; };
    QVERIFY(!searcher.search(QStringLiteral("ÇA"), index, progress));
    QVERIFY(!searcher.search(QStringLiteral("ÇAĞRI"), index, progress));

    const std::vector<int> *got = searcher.search(QStringLiteral("ÇAĞRI"), index);
    QVERIFY(got);
    QCOMPARE(*got, index.find(fold(QStringLiteral("ÇAĞRI"))));
    QCOMPARE(*searcher.search(QStringLiteral("Ç"), index), index.find(fold(QStringLiteral("Ç"))));
}

void tst_subjectsearch::onlyTheLatestRequestIsAnswered()
{
    auto index = std::make_shared<SubjectIndex>();
    for (int i = 0; i < 3 * SubjectIndex::chunkRows; ++i)
        index->add(i, subjects[i % subjects.size()].second);
    index->seal();

    QObject receiver;
    QList<Answer> answers;
    BackgroundSearch search(&receiver, [&answers](const Answer &a) { answers << a; }, 64);
    // The worker is held at the start of the first search until two more keys came.
    QSemaphore firstStarted, keysTyped;
    search.started = [&](quint64 generation) {
        if (generation == 2) {
            firstStarted.release();
            keysTyped.acquire();
        }
    };
    QCOMPARE(search.search(QStringLiteral("İ")), quint64(1)); // waits for an index
    QCOMPARE(search.setIndex(index, true), quint64(2));
    QVERIFY(firstStarted.tryAcquire(1, 10000));
    search.search(QStringLiteral("İŞ"));
    const quint64 last = search.search(QStringLiteral("İŞÇİ"));
    keysTyped.release();

    QTRY_VERIFY(!answers.isEmpty() && answers.last().complete);
    QCOMPARE(search.abandoned(), quint64(1)); // "İ" gave up; "İŞ" never began
    for (const Answer &a : answers)
        QCOMPARE(a.generation, last);
    const std::vector<int> expected = index->find(fold(QStringLiteral("İŞÇİ")));
    QCOMPARE(*answers.last().rows, expected);
    // A first screenful, when one came, is the head of the whole answer.
    if (answers.size() == 2) {
        QVERIFY(!answers.first().complete);
        QCOMPARE(*answers.first().rows, std::vector<int>(expected.begin(), expected.begin() + 64));
    }
    QCOMPARE(answers.size(), expected.size() > 64 ? 2 : 1);
}

void tst_subjectsearch::loadingKeepsDateThenKeyOrderAcrossParts()
{
    // Many documents a day, written in falling key order, over several
    // chunks, and a few without a date: the parts published while loading
    // and the whole index list them as the date-then-key query does.
    TempDatabase db;
    fb::Attachment a;
    db.createMain(a);
    {
        fb::Transaction t(a);
        fb::Statement insert(t, QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, KONU) VALUES (:K, :K, :T, :KONU)"));
        const int rows = 2 * SubjectIndex::chunkRows + 500;
        for (int i = 0; i < rows; ++i) {
            insert.bindAll({{"K", rows - i}, {"T", QDate(2020, 1, 1).addDays(i / 7 % 400)},
                            {"KONU", subjects[i % subjects.size()].second}});
            insert.execute();
        }
        for (int k : {rows + 3, rows + 1, rows + 2}) // no date: they come first
            t.execute(QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, KONU) VALUES (:K, :K, 'tarihsiz')"), {{"K", k}});
        t.commit();
    }
    QList<int> expected;
    {
        fb::Transaction t(a);
        for (const QVariantList &r : t.rows(QStringLiteral("SELECT KAYNO FROM GELEN ORDER BY GELTAR, KAYNO")))
            expected << r.value(0).toInt();
    }
    std::vector<std::shared_ptr<const SubjectIndex>> parts;
    const auto index = load(TempDatabase::options(db.path()), QStringLiteral("1"), nullptr,
                            [&parts](std::shared_ptr<const SubjectIndex> part) { parts.push_back(std::move(part)); });
    QVERIFY(index);
    QCOMPARE(keys(*index, index->find({})), expected);
    QVERIFY(parts.size() >= 2);
    QCOMPARE(parts.front()->size(), qsizetype(SubjectIndex::chunkRows));
    QCOMPARE(parts.back()->size(), expected.size());
    for (const auto &part : parts)
        QCOMPARE(keys(*part, part->find({})), expected.mid(0, part->size()));
}

void tst_subjectsearch::everyRegisterHasItsTableAndColumns_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("bodyColumn");
    QTest::addColumn<QString>("bodyKind");
    QTest::newRow("incoming") << "1" << "GELEN" << "GELNO" << "GELTAR" << "KURKOD" << "K";
    QTest::newRow("outgoing") << "2" << "GIDEN" << "GIDNO" << "GIDTAR" << "KURKOD" << "K";
    QTest::newRow("petition") << "3" << "DILEKCE" << "DILNO" << "DILTAR" << "BIRKOD" << "B";
    QTest::newRow("archive") << "4" << "ARSIV" << "ARSNO" << "ARSTAR" << "BIRKOD" << "B";
}

void tst_subjectsearch::everyRegisterHasItsTableAndColumns()
{
    QFETCH(QString, selector);
    QFETCH(QString, table);
    QFETCH(QString, number);
    QFETCH(QString, date);
    QFETCH(QString, bodyColumn);
    QFETCH(QString, bodyKind);

    TempDatabase db;
    fb::Attachment a;
    db.createMain(a);
    {
        fb::Transaction t(a);
        t.execute(QStringLiteral("INSERT INTO BIRIM (BKOD, BIRIM, TUR) VALUES (901, 'Bir Yer', :T)"), {{"T", bodyKind}});
        t.execute(QStringLiteral("INSERT INTO %1 (KAYNO, %2, %3, %4, KONU) VALUES (7, 42, :T, 901, 'yeni işçi')")
                      .arg(table, number, date, bodyColumn),
                  {{"T", QDate(2021, 3, 4)}});
        t.execute(QStringLiteral("INSERT INTO %1 (KAYNO, %2, %3, KONU) VALUES (8, 43, :T, 'başka konu')")
                      .arg(table, number, date),
                  {{"T", QDate(2021, 3, 5)}});
        t.commit();
    }
    const auto index = load(TempDatabase::options(db.path()), selector);
    fb::Transaction lookups(a);
    ResultModel model(lookups);
    model.setResult(selector, index, index->find(fold(QStringLiteral("İŞÇİ"))));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.kaynoAt(0), 7);
    QCOMPARE(model.index(0, 0).data().toInt(), 42);
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("04.03.2021"));
    QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("Bir Yer"));
    QCOMPARE(model.index(0, 3).data().toString(), QStringLiteral("yeni işçi"));
    QCOMPARE(model.kaynoAt(1), 0);

    // The first part comes before the whole register is read: no sort, the date index.
    fb::Statement loading(lookups, loadStatement(selector));
    const QString plan = loading.plan();
    QVERIFY2(plan.contains(QStringLiteral("ORDER %1_%2").arg(table, date)), qPrintable(plan));
    QVERIFY2(!plan.contains(QStringLiteral("SORT")), qPrintable(plan));
}

void tst_subjectsearch::gridRowsStayRightAsTheResultGrows()
{
    // The grid read a short last page while the register was still loading;
    // the rows added after it must show their own subjects.
    TempDatabase db;
    fb::Attachment a;
    db.createMain(a);
    auto index = std::make_shared<SubjectIndex>();
    {
        fb::Transaction t(a);
        fb::Statement insert(t, QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, KONU) VALUES (:K, :K, '2021-01-01', :KONU)"));
        for (int k = 1; k <= 150; ++k) {
            insert.bindAll({{"K", k}, {"KONU", QStringLiteral("konu %1").arg(k)}});
            insert.execute();
            index->add(k, QStringLiteral("konu %1").arg(k));
        }
        t.commit();
    }
    std::vector<int> all = index->find({});
    fb::Transaction lookups(a);
    ResultModel model(lookups);
    model.setResult(QStringLiteral("1"), index, std::vector<int>(all.begin(), all.begin() + 70));
    QCOMPARE(model.index(69, 3).data().toString(), QStringLiteral("konu 70"));
    QVERIFY(!model.update(index, all)); // grown, not replaced
    QCOMPARE(model.rowCount(), 150);
    for (int row : {70, 100, 127, 128, 149})
        QCOMPARE(model.index(row, 3).data().toString(), QStringLiteral("konu %1").arg(row + 1));
    QVERIFY(model.update(index, index->find(fold(QStringLiteral("konu 14")))));
    QCOMPARE(model.rowCount(), 11);
    QCOMPARE(model.index(10, 3).data().toString(), QStringLiteral("konu 149"));
}

QTEST_GUILESS_MAIN(tst_subjectsearch)
#include "tst_subjectsearch.moc"
