#include "generaldefinitions.h"

#include "core/attachmentlimit.h"
#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/win1254.h"
#include "db/fieldcheck.h"

#include <QFile>
#include <QRegularExpression>

const Choices &GeneralDefinitions::colours()
{
    static const Choices items = {{QStringLiteral("Yeşil"), QStringLiteral("Y")},
                                  {QStringLiteral("Turuncu"), QStringLiteral("T")},
                                  {QStringLiteral("Mavi"), QStringLiteral("M")},
                                  {QStringLiteral("ZIRVO"), QStringLiteral("O")},
                                  {QStringLiteral("...."), QString()}};
    return items;
}

const Choices &GeneralDefinitions::yesNo()
{
    static const Choices items = {{QStringLiteral("Evet"), QStringLiteral("E")},
                                  {QStringLiteral("Hayır"), QStringLiteral("H")}};
    return items;
}

const Choices &GeneralDefinitions::fileTypes()
{
    static const Choices items = {
        {QStringLiteral("Hepsi"), QStringLiteral("0")},          {QStringLiteral("Jpeg JPG"), QStringLiteral("1")},
        {QStringLiteral("Acrobat (PDF)"), QStringLiteral("2")},  {QStringLiteral("MS WORD (DOC)"), QStringLiteral("3")},
        {QStringLiteral("MS EXCEL (XLS)"), QStringLiteral("4")}, {QStringLiteral("WordPad (RTF)"), QStringLiteral("5")},
        {QStringLiteral("Text (TXT)"), QStringLiteral("6")}};
    return items;
}

const Choices &GeneralDefinitions::numbering()
{
    static const Choices items = {{QStringLiteral("Yok"), QStringLiteral("Y")},
                                  {QStringLiteral("Genel"), QStringLiteral("G")},
                                  {QStringLiteral("Birim"), QStringLiteral("B")}};
    return items;
}

const Choices &GeneralDefinitions::office()
{
    static const Choices items = {{QStringLiteral("XP"), QStringLiteral("1")},
                                  {QStringLiteral("97"), QStringLiteral("2")},
                                  {QStringLiteral("2003"), QStringLiteral("3")},
                                  {QString(), QString()}};
    return items;
}

const Choices &GeneralDefinitions::readModes()
{
    static const Choices items = {{QStringLiteral("Veritabanı"), QStringLiteral("V")},
                                  {QStringLiteral("Server(TCP)"), QStringLiteral("S")},
                                  {QStringLiteral("Yerel (Terminal)"), QStringLiteral("Y")}};
    return items;
}

GeneralDefinitions::GeneralDefinitions(Session &session)
    : m_session(session)
{
}

GeneralDefinitions::Values GeneralDefinitions::open()
{
    Values v;
    fb::Statement s(m_session.db.IBTransaction1, QStringLiteral("SELECT * FROM TANIM"));
    s.execute();
    const bool found = s.next();
    auto column = [&](const char *name) -> QVariant {
        const int i = found ? s.columnIndex(QLatin1String(name)) : -1;
        return i < 0 ? QVariant() : s.value(i);
    };
    auto text = [&](const char *name) { return column(name).toString(); };
    auto choice = [&](const Choices &items, const char *name) {
        return choices::indexOf(items, text(name).left(1));
    };
    v.KURUM = text("KURUM");
    v.SUBE = text("SUBE");
    v.SRVIPNO = text("SRVIPNO");
    v.SRVPORT = text("SRVPORT");
    const QVariant heading = column("BASLIK");
    v.BASLIK = heading.typeId() == QMetaType::QByteArray ? fb::win1254::decode(heading.toByteArray())
                                                         : heading.toString();
    v.ILKOD = text("ILKOD");
    v.ILCEKOD = column("ILCEKOD");
    v.ONIZ = choice(yesNo(), "ONIZ");
    v.SRVSAKLA = choice(yesNo(), "SRVSAKLA");
    v.VTSAKLA = choice(yesNo(), "VTSAKLA");
    v.TRMSAKLA = choice(yesNo(), "TRMSAKLA");
    v.MSVER = choice(office(), "MSVER");
    v.ESDUR = choice(numbering(), "ESDUR");
    const QVariant abt = column("ABT");
    v.ABT = abt.isNull() ? -1 : choices::indexOf(fileTypes(), abt.toString());
    m_logo = column("LOGO").toByteArray();
    m_logoCleared = false;
    m_hasDeadlines = found && s.columnIndex(QStringLiteral("CEVSURE")) >= 0
                     && s.columnIndex(QStringLiteral("CEVYAKIN")) >= 0;
    if (!column("CEVSURE").isNull())
        v.CEVSURE = column("CEVSURE").toInt();
    if (!column("CEVYAKIN").isNull())
        v.CEVYAKIN = column("CEVYAKIN").toInt();

    const WorkstationSettings &w = m_session.workstation;
    v.year = w.year;
    const int colour = choices::indexOf(colours(), w.colour);
    v.colour = colour < 0 ? int(colours().size()) - 1 : colour;
    v.readMode = choices::indexOf(readModes(), w.readMode);
    v.localFolder = w.localFolder;
    v.sizeLimit = QString::number(attachmentlimit::mb(m_session));
    return v;
}

QList<GeneralDefinitions::Place> GeneralDefinitions::provinces()
{
    QList<Place> out;
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(QStringLiteral("SELECT ILKOD,ILADI FROM IL ORDER BY ILKOD")))
        out.append({r.value(0).toString(), r.value(1).toString()});
    return out;
}

QList<GeneralDefinitions::Place> GeneralDefinitions::districts(const QString &ILKOD)
{
    QList<Place> out;
    if (ILKOD.isEmpty())
        return out;
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(
             QStringLiteral("SELECT ILCEKOD,ILCE FROM ILCE\nWHERE ILKOD=:ILK\nORDER BY ILCE"),
             {{QStringLiteral("ILK"), ILKOD}}))
        out.append({r.value(0).toString(), r.value(1).toString()});
    return out;
}

QString GeneralDefinitions::pictureFormat(const QByteArray &bytes)
{
    if (bytes.startsWith("BM"))
        return QStringLiteral("BMP");
    if (bytes.startsWith(QByteArray("\x00\x00\x01\x00", 4)))
        return QStringLiteral("ICO");
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("PNG");
    if (bytes.startsWith("\xff\xd8\xff"))
        return QStringLiteral("JPEG");
    return {};
}

bool GeneralDefinitions::addLogo(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        m_session.prompt().message(QStringLiteral("DİKKAT! %1 okunamadı.").arg(file));
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (pictureFormat(bytes).isEmpty()) {
        m_session.prompt().message(QStringLiteral(
            "DİKKAT! Seçilen dosya bir resim değil. Bitmap (BMP), simge (ICO), PNG ya da JPEG seçiniz."));
        return false;
    }
    fb::Transaction work(m_session.db.IBDATABASE);
    if (work.execute(QStringLiteral("UPDATE TANIM SET LOGO=:L"), {{QStringLiteral("L"), bytes}}) == 0)
        throw fb::Error(QStringLiteral("Genel tanımlar kaydı bulunamadı (TANIM)."));
    work.commit();
    m_logo = bytes;
    m_logoCleared = false;
    return true;
}

void GeneralDefinitions::clearLogo()
{
    m_logo.clear();
    m_logoCleared = true;
}

bool GeneralDefinitions::save(const Values &v)
{
    static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
    const QString year = v.year.trimmed();
    if (!fourDigits.match(year).hasMatch()) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Çalışma Yılı dört rakamlı bir yıl olmalıdır."));
        return false;
    }
    // Documents are registered into the working year: one far from today is a typing mistake.
    const int latest = m_session.clock().today().year() + 1;
    if (year.toInt() < kFirstWorkingYear || year.toInt() > latest) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Çalışma Yılı %1 ile %2 arasında olmalıdır.")
                                       .arg(kFirstWorkingYear).arg(latest));
        return false;
    }
    // Empty takes the default again; anything else must be a size a clerk can mean.
    const QString limit = v.sizeLimit.trimmed().isEmpty() ? QString::number(attachmentlimit::defaultMb)
                                                          : v.sizeLimit.trimmed();
    bool isNumber = false;
    const int mb = limit.toInt(&isNumber);
    if (!isNumber || mb < 1 || mb > 10000) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Belge Boyut Sınırı 1 ile 10000 arasında bir sayı (MB) olmalıdır."));
        return false;
    }
    const QList<std::pair<QString, QString>> texts = {{QStringLiteral("KURUM"), v.KURUM},
                                                      {QStringLiteral("SUBE"), v.SUBE},
                                                      {QStringLiteral("SRVIPNO"), v.SRVIPNO},
                                                      {QStringLiteral("SRVPORT"), v.SRVPORT}};
    const QStringList captions = {QStringLiteral("Kurum Adı"), QStringLiteral("Birim Adı"),
                                  QStringLiteral("Dosya Sunucu"), QStringLiteral("Sunucu Portu")};
    QStringList sets;
    fb::Params params;
    for (int i = 0; i < texts.size(); ++i) {
        const QString problem = fieldcheck::problem(QStringLiteral("TANIM"), texts[i].first, texts[i].second, captions[i]);
        if (!problem.isEmpty()) {
            m_session.prompt().message(problem);
            return false;
        }
        sets << QStringLiteral("%1=:%1").arg(texts[i].first);
        params.insert(texts[i].first, texts[i].second);
    }
    auto set = [&](const QString &column, const QVariant &value) {
        sets << QStringLiteral("%1=:%1").arg(column);
        params.insert(column, value);
    };
    set(QStringLiteral("ILKOD"), v.ILKOD.isEmpty() ? QVariant() : QVariant(v.ILKOD));
    set(QStringLiteral("ILCEKOD"), v.ILCEKOD.isNull() ? QVariant() : QVariant(v.ILCEKOD.toInt()));
    set(QStringLiteral("BASLIK"), v.BASLIK.isEmpty() ? QVariant() : QVariant(fb::win1254::encode(v.BASLIK)));
    auto choice = [&](const QString &column, const Choices &items, int index) {
        if (index >= 0 && index < items.size() && !items[index].code.isEmpty())
            set(column, items[index].code);
    };
    choice(QStringLiteral("ONIZ"), yesNo(), v.ONIZ);
    choice(QStringLiteral("SRVSAKLA"), yesNo(), v.SRVSAKLA);
    choice(QStringLiteral("VTSAKLA"), yesNo(), v.VTSAKLA);
    choice(QStringLiteral("TRMSAKLA"), yesNo(), v.TRMSAKLA);
    choice(QStringLiteral("MSVER"), office(), v.MSVER);
    choice(QStringLiteral("ESDUR"), numbering(), v.ESDUR);
    if (v.ABT >= 0 && v.ABT < fileTypes().size())
        set(QStringLiteral("ABT"), v.ABT);
    if (m_logoCleared)
        set(QStringLiteral("LOGO"), QVariant());
    if (m_hasDeadlines) {
        if (v.CEVSURE < 1 || v.CEVSURE > 365 || v.CEVYAKIN < 0 || v.CEVYAKIN > 60) {
            m_session.prompt().message(QStringLiteral(
                "DİKKAT! Cevap süresi 1 ile 365, yaklaşan uyarısı 0 ile 60 gün arasında olmalıdır."));
            return false;
        }
        set(QStringLiteral("CEVSURE"), v.CEVSURE);
        set(QStringLiteral("CEVYAKIN"), v.CEVYAKIN);
    }

    fb::Transaction work(m_session.db.IBDATABASE);
    if (work.execute(QStringLiteral("UPDATE TANIM SET ") + sets.join(u','), params) == 0)
        throw fb::Error(QStringLiteral("Genel tanımlar kaydı bulunamadı (TANIM)."));
    work.commit();
    m_logoCleared = false;

    // The workstation keeps these in its settings store when the program closes.
    WorkstationSettings &w = m_session.workstation;
    w.year = year;
    if (v.colour >= 0 && v.colour < colours().size() && w.colour != colours()[v.colour].code) {
        w.colour = colours()[v.colour].code;
        // Open screens were painted at the start; saying so beats a half-painted program.
        m_session.prompt().message(QStringLiteral("Yeni form rengi programın bir sonraki açılışında geçerli olacaktır."));
    }
    if (v.readMode >= 0 && v.readMode < readModes().size())
        w.readMode = readModes()[v.readMode].code;
    w.localFolder = v.localFolder;
    // Not part of what the program writes back at close: stored now.
    attachmentlimit::setMb(m_session, mb);
    return true;
}
