// Subject search on a large incoming register: loading at opening, memory,
// and the latency of each key while three words are typed letter by letter,
// beside the plain query the search replaces (UPPER(KONU) LIKE '%…%' ORDER
// BY the date) measured in the same run.
//
//   bench_subjectsearch [--documents N] [--cache DIR] [--database PATH]
//                       [--server] [--runs R] [--literal-keys K]
//                       [--common TEXT] [--rare TEXT] [--old]
//
// Without --database the register is generated once into DIR (default
// /tmp/kelma-bench-cache) and reused: N subjects (default 500000) of 3 to 12
// words from a Turkish vocabulary in mixed case. --server measures it a
// second time through a Firebird server of the bench's own. --literal-keys
// limits the plain query to the first K keys of each text (it takes seconds
// a key). --common and --rare replace the two texts typed. --old measures
// a second generated register embedded: one made as the oldest databases
// are, text without a character set and no index on the date, where the
// plain query also misses Turkish spellings.

#include "lists/subjectsearch.h"

#include "core/turkish.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "legacydatabase.h"
#include "privateserver.h"
#include "tempdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace subjectsearch;

namespace {

// Words of a registry office's subjects, most frequent first.
const char *const kVocabulary[] = {
    "hakkında", "talebi", "işçi", "başvurusu", "ilişkin", "belediye", "müdürlüğü", "yazı", "ihale",
    "ödeme", "şikâyet", "bilgi", "isteği", "iş", "kira", "sözleşmesi", "ruhsat", "imar", "yol",
    "çalışması", "personel", "izin", "görevlendirme", "toplantı", "daveti", "rapor", "çevre",
    "temizlik", "su", "kanalizasyon", "arıza", "ışıklandırma", "park", "bahçe", "ağaç", "dikimi",
    "öğrenci", "burs", "sağlık", "hizmeti", "eğitim", "kursu", "şehir", "içi", "ulaşım", "otobüs",
    "güzergâhı", "düzenlemesi", "kaldırım", "onarımı", "asfalt", "yapımı", "köprü", "inceleme",
    "denetim", "tutanağı", "vergi", "borcu", "tahsilat", "emlak", "beyanı", "nüfus", "kayıt",
    "örneği", "mahalle", "muhtarlığı", "dilekçe", "cevabı", "yazışma", "itiraz", "kararı",
    "meclis", "encümen", "gündemi", "bütçe", "teklifi", "satın", "alma", "malzeme", "teslimi",
    "hakediş", "raporu", "yangın", "güvenliği", "zabıta", "ceza", "tutanak", "işyeri", "açma",
    "kültür", "sanat", "etkinliği", "spor", "tesisi", "kullanımı", "sosyal", "yardım", "gıda",
    "kömür", "dağıtımı", "engelli", "aracı", "otopark", "ücreti", "çöp", "toplama", "konteyner",
    "sokak", "hayvanları", "barınak", "veteriner", "pazar", "yeri", "tezgâh", "tahsisi", "mezarlık",
    "defin", "işlemleri", "nikâh", "salonu", "tören", "kutlama", "bayram", "programı", "ışık",
    "direği", "elektrik", "kesintisi", "doğalgaz", "bağlantısı", "iskân", "belgesi", "yıkım",
    "kararına", "çığ", "sel", "afet", "hazırlığı", "göç", "idaresi", "yabancı", "uyruklu", "şoför",
    "sürücü", "belgesinin", "yenilenmesi", "ödül", "törenine", "katılım", "ünvan", "değişikliği",
    "kâtip", "atanması", "müfettiş", "soruşturma", "savunma", "istemi", "ihtar", "uyarı",
};

// Planted so that the texts typed in the benchmark are found as phrases:
// the common one in about one subject of fifty, the rare one in about one of 12,500.
const char *const kCommonPhrase = "işçi alımı hakkında";
const char *const kRarePhrase = "çömlekçilik kursu başvurusu";
constexpr int kFirstKey = 1000;

QString casing(const QString &word, int how)
{
    switch (how) {
    case 0: return turkish::upper(word);
    case 1: return turkish::upper(word.left(1)) + word.mid(1);
    default: return word;
    }
}

QString subject(std::mt19937 &random, std::discrete_distribution<int> &pick)
{
    std::uniform_int_distribution<int> length(3, 12), how(0, 3), plant(0, 49999);
    const int words = length(random);
    const int style = how(random); // 0 all capitals, 1 each word capitalised, else as spoken
    QStringList out;
    const int planted = plant(random);
    for (int w = 0; w < words; ++w) {
        if (w == 1 && planted < 1000)
            out << QString::fromUtf8(kCommonPhrase).split(u' ');
        else if (w == 1 && planted < 1004)
            out << QString::fromUtf8(kRarePhrase).split(u' ');
        else
            out << QString::fromUtf8(kVocabulary[pick(random)]);
    }
    for (QString &w : out)
        w = casing(w, style == 1 ? 1 : style == 0 ? 0 : (w.size() % 7 == 0 ? 1 : 2));
    QString text = out.join(u' ');
    if (text.size() > 200)
        text = text.left(text.lastIndexOf(u' ', 200));
    return text;
}

// `old`: a register as the oldest installations keep it, text columns
// without a character set and no index on the date.
QString generateIfMissing(const QString &cache, int documents, bool old)
{
    QDir().mkpath(cache);
    const QString path =
        QDir(cache).filePath(QStringLiteral("subjects-%1%2.fdb").arg(documents).arg(old ? "-nocharset" : ""));
    if (QFile::exists(path)) {
        std::printf("register: %s (cached)\n", qPrintable(path));
        return path;
    }
    const QString building = path + QStringLiteral(".part");
    QFile::remove(building);
    QElapsedTimer clock;
    clock.start();
    {
        TempDatabase scratch;
        fb::Attachment a;
        if (old)
            legacy::create(scratch, a, 14001, QStringLiteral("NONE"));
        else
            scratch.createMain(a);
        a.close();
        QFile::copy(scratch.path(), building);
    }
    fb::Attachment a;
    a.open(TempDatabase::options(building));
    std::mt19937 random(2026);
    std::vector<double> weights;
    for (std::size_t i = 0; i < std::size(kVocabulary); ++i)
        weights.push_back(1.0 / double(i + 1));
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    {
        fb::Transaction t(a);
        for (int b = 111; b <= 160; ++b)
            t.execute(QStringLiteral("INSERT INTO BIRIM (BKOD, TUR, BIRIM) VALUES (:K, 'K', :B)"),
                      {{"K", b}, {"B", QStringLiteral("KURUM %1").arg(b)}});
        fb::Statement insert(t, QStringLiteral("INSERT INTO GELEN (KAYNO, GELNO, GELTAR, KONU, KURKOD) "
                                               "VALUES (:K, :N, :D, :KONU, :B)"));
        const int years = 10, perYear = std::max(1, documents / years);
        for (int i = 0; i < documents; ++i) {
            const int inYear = i % perYear;
            const QDate date = QDate(2012 + std::min(years - 1, i / perYear), 1, 1).addDays(inYear * 360 / perYear);
            // Clear of the keys of the old databases' standard rows.
            insert.bindAll({{"K", kFirstKey + i}, {"N", inYear + 1}, {"D", date}, {"KONU", subject(random, pick)},
                            {"B", 111 + i % 50}});
            insert.execute();
        }
        t.commit();
    }
    a.close();
    QFile::rename(building, path);
    std::printf("register: %s generated, %d subjects in %.1f s\n", qPrintable(path), documents,
                clock.elapsed() / 1000.0);
    return path;
}

double percentile(QList<double> v, double p)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min<qsizetype>(v.size() - 1, qsizetype(p * double(v.size())))];
}

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

struct Loaded
{
    std::shared_ptr<const SubjectIndex> index;
    double firstMs = 0, wholeMs = 0;
};

// The loading statement read row by row and nothing more.
double bareRead(const fb::ConnectOptions &options)
{
    QElapsedTimer t;
    t.start();
    fb::Attachment a;
    a.open(options);
    {
        fb::TransactionOptions o;
        o.isolation = fb::TransactionOptions::Isolation::Snapshot;
        o.readOnly = true;
        fb::Transaction tr(a, o);
        fb::Statement s(tr, loadStatement(QStringLiteral("1")));
        s.execute();
        qint64 n = 0;
        while (s.next())
            n += s.value(0).toInt() != 0 && !s.value(1).toString().isNull();
        tr.commit();
    }
    a.close();
    return t.nsecsElapsed() / 1e6;
}

Loaded loadIndex(const fb::ConnectOptions &options)
{
    Loaded out;
    QElapsedTimer t;
    t.start();
    auto whole = load(options, QStringLiteral("1"), nullptr, [&](std::shared_ptr<const SubjectIndex> s) {
        if (out.firstMs == 0 && s->size() > 0)
            out.firstMs = t.nsecsElapsed() / 1e6;
    });
    out.wholeMs = t.nsecsElapsed() / 1e6;
    out.index = whole;
    return out;
}

// The plain statement, as the dialog used to run it at each key.
struct Literal
{
    double firstMs = 0, wholeMs = 0;
    int rows = 0;
};

Literal literal(fb::Attachment &a, const QString &typed)
{
    Literal out;
    QElapsedTimer t;
    t.start();
    fb::TransactionOptions o;
    o.readOnly = true;
    fb::Transaction tr(a, o);
    fb::Statement s(tr, registerLines(QStringLiteral("1"))
                            + QStringLiteral("\nWHERE UPPER(KONU) LIKE :KON\nORDER BY TARIH"));
    s.bind(QStringLiteral("KON"), QString(u'%' + typed + u'%'));
    s.execute();
    while (s.next()) {
        if (++out.rows == ResultModel::pageSize)
            out.firstMs = t.nsecsElapsed() / 1e6;
    }
    out.wholeMs = t.nsecsElapsed() / 1e6;
    if (out.rows < ResultModel::pageSize)
        out.firstMs = out.wholeMs;
    return out;
}

struct Key
{
    QString text;
    double firstMs = 0; // first screenful found and its rows read for the grid
    double wholeMs = 0; // every match known: the count
    int matches = 0;
};

// Types `words` key by key into the search as the dialog does, waiting for
// each key's answer before the next.
QList<Key> typeKeys(const std::shared_ptr<const SubjectIndex> &index, fb::Attachment &a, const QString &words)
{
    QObject receiver;
    QEventLoop loop;
    Answer last;
    QElapsedTimer t;
    double firstAt = 0;
    quint64 asked = 0;
    BackgroundSearch search(
        &receiver,
        [&](const Answer &answer) {
            if (answer.generation != asked)
                return; // as the dialog does: only the latest key's answer counts
            if (firstAt == 0)
                firstAt = t.nsecsElapsed() / 1e6;
            if (answer.complete) {
                last = answer;
                loop.quit();
            }
        },
        ResultModel::pageSize);
    fb::TransactionOptions o;
    o.readOnly = true;
    fb::Transaction lookups(a, o);
    ResultModel model(lookups);
    search.setIndex(index, true);
    QList<Key> keys;
    QString typed;
    for (const QChar c : words) {
        typed += turkish::BuyukHarf(c);
        firstAt = 0;
        t.start();
        asked = search.search(typed);
        loop.exec();
        Key k;
        k.text = typed;
        k.wholeMs = t.nsecsElapsed() / 1e6;
        // The grid reads the rows it shows by their keys.
        QElapsedTimer page;
        page.start();
        model.setResult(QStringLiteral("1"), last.index, *last.rows);
        for (int r = 0; r < std::min(model.rowCount(), 30); ++r)
            model.index(r, 3).data();
        const double pageMs = page.nsecsElapsed() / 1e6;
        k.firstMs = firstAt + pageMs;
        k.wholeMs += pageMs;
        k.matches = int(last.rows->size());
        keys << k;
    }
    return keys;
}

void measure(const QString &title, const fb::ConnectOptions &options, int runs, int literalKeys,
             const QStringList &texts)
{
    std::printf("\n%s\n", qPrintable(title));
    const long before = residentKiB();
    QList<double> firsts, wholes, bare;
    Loaded loaded;
    for (int r = 0; r < runs; ++r) {
        loaded = {};
        loaded = loadIndex(options);
        firsts << loaded.firstMs;
        wholes << loaded.wholeMs;
        bare << bareRead(options);
    }
    const long after = residentKiB();
    std::printf("  %-46s %9.1f ms\n", "opening: first part searchable (median)", percentile(firsts, 0.5));
    std::printf("  %-46s %9.1f ms   %lld subjects\n", "opening: every subject loaded (median)",
                percentile(wholes, 0.5), static_cast<long long>(loaded.index->size()));
    std::printf("  %-46s %9.1f ms   (loading / bare %.2fx)\n", "bare read of the loading statement",
                percentile(bare, 0.5), percentile(wholes, 0.5) / percentile(bare, 0.5));
    std::printf("  %-46s %9.1f MB   (limit 64 MB); process grew %.1f MB\n", "memory of the index",
                double(loaded.index->bytes()) / 1e6, double(after - before) / 1024.0);

    fb::Attachment a;
    a.open(options);
    for (const QString &words : texts) {
        std::printf("  typing \"%s\" (%lld keys)\n", qPrintable(words), static_cast<long long>(words.size()));
        QList<double> first, whole, litFirst, litWhole;
        QList<Key> keys;
        for (int r = 0; r < runs; ++r) {
            keys = typeKeys(loaded.index, a, words);
            for (const Key &k : keys) {
                first << k.firstMs;
                whole << k.wholeMs;
            }
        }
        QList<Literal> literals;
        for (int i = 0; i < std::min<int>(literalKeys, int(keys.size())); ++i) {
            literals << literal(a, keys[i].text);
            litFirst << literals.last().firstMs;
            litWhole << literals.last().wholeMs;
        }
        std::printf("    %-44s %9s %9s %9s %9s\n", "per key, ms", "median", "p90", "LIKE med", "LIKE p90");
        std::printf("    %-44s %9.2f %9.2f %9.1f %9.1f\n", "first screenful", percentile(first, 0.5),
                    percentile(first, 0.9), percentile(litFirst, 0.5), percentile(litFirst, 0.9));
        std::printf("    %-44s %9.2f %9.2f %9.1f %9.1f\n", "whole count", percentile(whole, 0.5),
                    percentile(whole, 0.9), percentile(litWhole, 0.5), percentile(litWhole, 0.9));
        std::printf("    %-44s %9.1fx\n", "LIKE / ours, first screenful (medians)",
                    percentile(litFirst, 0.5) / std::max(0.001, percentile(first, 0.5)));
        std::printf("    %-44s", "matches after keys 1, 2, … (ours/LIKE)");
        for (int i = 0; i < keys.size(); ++i) {
            if (i < literals.size())
                std::printf(" %d/%d", keys[i].matches, literals[i].rows);
            else
                std::printf(" %d", keys[i].matches);
        }
        std::printf("\n");
    }
    a.close();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    int documents = 500000, runs = 1, literalKeys = 1000;
    QString cache = QStringLiteral("/tmp/kelma-bench-cache"), database;
    QString common = QString::fromUtf8(kCommonPhrase), rare = QString::fromUtf8(kRarePhrase);
    bool server = false, old = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (args[i] == QLatin1String("--server") || args[i] == QLatin1String("--old")) {
            (args[i] == QLatin1String("--server") ? server : old) = true;
            continue;
        }
        if (args[i] == QLatin1String("--documents"))
            documents = std::max(1, next.toInt());
        else if (args[i] == QLatin1String("--cache"))
            cache = next;
        else if (args[i] == QLatin1String("--database"))
            database = next;
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, next.toInt());
        else if (args[i] == QLatin1String("--literal-keys"))
            literalKeys = std::max(0, next.toInt());
        else if (args[i] == QLatin1String("--common"))
            common = next;
        else if (args[i] == QLatin1String("--rare"))
            rare = next;
        ++i;
    }
    // The client library reads its configuration once: a private server's
    // comes before the first database call.
    PrivateServer privateServer;
    if (server) {
        const QString why = privateServer.prepareEnvironment();
        if (!why.isEmpty()) {
            std::fprintf(stderr, "no server: %s\n", qPrintable(why));
            return 1;
        }
    }
    try {
        const QString path = database.isEmpty() ? generateIfMissing(cache, documents, false) : database;
        fb::ConnectOptions options = TempDatabase::options(path);
        options.password = qEnvironmentVariable("KELMA_DB_PASSWORD", QStringLiteral("WEXD"));
        const QStringList texts = {rare, common};
        measure(QStringLiteral("embedded: %1").arg(path), options, runs, literalKeys, texts);
        if (server) {
            const QString failed = privateServer.start();
            if (!failed.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(failed));
                return 1;
            }
            options.database = QStringLiteral("127.0.0.1/%1:%2").arg(privateServer.port()).arg(path);
            measure(QStringLiteral("through a local server: %1").arg(options.database), options, runs, literalKeys,
                    texts);
            privateServer.stop();
        }
        if (old && database.isEmpty()) {
            const QString oldPath = generateIfMissing(cache, documents, true);
            measure(QStringLiteral("embedded, without character set or date index: %1").arg(oldPath),
                    TempDatabase::options(oldPath), runs, literalKeys, texts);
        }
    } catch (const fb::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.details()));
        return 1;
    }
    return 0;
}
