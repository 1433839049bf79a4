#include "outgoing.h"

#include "numbering.h"

#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/twophase.h"
#include "storage/attachments.h"
#include "db/fb/statement.h"
#include "db/fieldcheck.h"

#include <QDate>

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QVariant orNull(const QString &t)
{
    return t.isEmpty() ? QVariant() : QVariant(t);
}

QString fileCodeText(fb::Transaction &t, const QString &code)
{
    fb::Statement s(t, QStringLiteral("SELECT ACIK,KOD FROM SDP WHERE KOD=:KN"));
    s.bind(QStringLiteral("KN"), code);
    s.execute();
    if (!s.next())
        return QStringLiteral(" : ");
    return s.value(1).toString() + QStringLiteral(" : ") + s.value(0).toString();
}

} // namespace

const QStringList &OutgoingRecord::columns()
{
    static const QStringList c = {
        "KAYNO", "GIDNO", "GIDTAR", "SDP", "BIRKOD", "BSIRNO", "GIZDER", "GSIRNO", "ZDUR", "ZNO",
        "ZTAR", "TESADI", "TESGOR", "DOSYA", "KRMSURE", "BIRIM", "EVSAY", "EVTAR", "KONU", "GSEKLI",
        "GACIK", "EKSAY", "EK", "CEVDUR", "CEVTAR", "CEVNO", "ILGNO", "ILGDUR", "USR", "KURKOD",
        "ECKOD", "ETKOD"};
    return c;
}

QString OutgoingRecord::caption(const QString &column)
{
    static const QHash<QString, QString> captions = {
        {"GIDNO", "Kayıt No"}, {"GIDTAR", "Kayıt Tarihi"}, {"SDP", "Std. Dosya Kodu"},
        {"BSIRNO", "Birim Sıra Numarası"}, {"GSIRNO", "Gizlilik No"}, {"ZNO", "Zimmet No"},
        {"ZTAR", "Zimmet Tarihi"}, {"TESADI", "Gönderen Adı Soyadı"}, {"TESGOR", "Gönderen Görevi"},
        {"DOSYA", "Dosya İşlemi"}, {"KRMSURE", "Saklama Süresi"}, {"BIRIM", "Gönderildiği Birim"},
        {"EVSAY", "Evrak No(Sayı)"}, {"EVTAR", "Evrak Tarihi"}, {"KONU", "Konusu (Özü)"},
        {"GACIK", "Gönderiliş Şekli Açıklaması"}, {"EKSAY", "Eki"}, {"CEVTAR", "Son Cevap Tar"}};
    return captions.value(column, column);
}

OutgoingRecord::OutgoingRecord(Session &session)
    : m_session(session)
    , m_row(QStringLiteral("GIDEN"), {QStringLiteral("KAYNO")})
    , m_routing(session, 2)
{
}

void OutgoingRecord::readDepartments()
{
    fb::Transaction &t = m_session.db.IBTransaction1;
    QString sql = QStringLiteral("SELECT BIRIM,BKOD,YETKILI,UNVAN,ONEK FROM BIRIM WHERE TUR='B'");
    fb::Params p;
    if (m_session.userDepartment != 0) {
        sql += QStringLiteral(" AND BKOD=:BK");
        p.insert(QStringLiteral("BK"), m_session.userDepartment);
    }
    m_departments.clear();
    for (const QVariantList &r : t.rows(sql + QStringLiteral(" ORDER BY BIRIM"), p))
        m_departments.append({r[1].toInt(), text(r[0]), text(r[2]), text(r[3]), text(r[4])});
}

void OutgoingRecord::readNames()
{
    m_places.clear();
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(QStringLiteral("SELECT BKOD,BIRIM,TUR FROM BIRIM")))
        m_places.insert(r[0].toInt(), {text(r[1]), text(r[2])});
}

void OutgoingRecord::openNew()
{
    m_mode = New;
    {
        // The key is spent even when the letter is cancelled.
        fb::Transaction t(m_session.db.IBDATABASE);
        m_kayno = t.value(QStringLiteral("SELECT GEN_ID(GEN_GIDKAYNO,1) YENINO FROM RDB$DATABASE")).toInt();
        t.commit();
    }
    readDepartments();
    readNames();
    const QDate today = m_session.clock().today();
    m_row.setColumns(columns());
    m_row.append({{"KAYNO", m_kayno}, {"GIDTAR", today}, {"ZTAR", today}, {"ZDUR", QStringLiteral("D")},
                  {"GIZDER", QStringLiteral("Ö")}, {"CEVDUR", QStringLiteral("H")}, {"CEVNO", 0},
                  {"ILGNO", 0}, {"GSEKLI", QStringLiteral("P")}, {"USR", orNull(m_session.LUSR)}});
    m_renumberBsirno = false;
    m_numberedBsirno = m_numberedEvsay = QVariant();
    numberGsirno();
    m_reply.open(0, QString());
    m_routing.open(m_kayno);
    if (m_session.userDepartment != 0)
        setDepartment(m_session.userDepartment);
}

bool OutgoingRecord::openExisting(int kayno)
{
    m_mode = Edit;
    m_kayno = kayno;
    m_row.select(m_session.db.IBTransaction1,
                 QStringLiteral("SELECT %1 FROM GIDEN WHERE KAYNO=:KN").arg(columns().join(u',')),
                 {{"KN", kayno}});
    if (m_row.rowCount() == 0) {
        m_session.prompt().message(QStringLiteral(
            "DİKKAT! Bu kayıt bulunamadı; başka bir kullanıcı tarafından silinmiş olabilir."));
        return false;
    }
    readDepartments();
    readNames();
    m_renumberBsirno = m_renumberGsirno = false;
    m_numberedBsirno = m_numberedEvsay = m_numberedGsirno = QVariant();
    m_storedGizder = text(value("GIZDER"));
    m_storedGsirno = value("GSIRNO");
    m_storedDepartment = {value("BIRKOD").toInt(), value("BSIRNO"), value("EVSAY")};
    m_reply.open(value("ILGNO").toInt(), text(value("ILGDUR")));
    m_routing.open(m_kayno);
    return true;
}

QVariant OutgoingRecord::value(const QString &column) const
{
    return m_row.value(0, column);
}

void OutgoingRecord::setValue(const QString &column, const QVariant &value)
{
    m_row.setValue(0, column, value);
}

const SendingDepartment *OutgoingRecord::department(int bkod) const
{
    for (const SendingDepartment &d : m_departments) {
        if (d.BKOD == bkod)
            return &d;
    }
    return nullptr;
}

QString OutgoingRecord::prefixed(const SendingDepartment &d, const QVariant &bsirno) const
{
    if (m_session.general.ESDUR == QLatin1String("B") && !bsirno.isNull())
        return d.ONEK + QString::number(bsirno.toLongLong());
    return d.ONEK;
}

qint64 OutgoingRecord::provisionalBsirno(int bkod) const
{
    fb::Transaction &t = m_session.db.IBTransaction1;
    const int y = m_session.workingYear();
    return numbering::next(t, QStringLiteral("SELECT MAX(BSIRNO) SAY FROM GIDEN WHERE GIDTAR BETWEEN :D1 AND :D2 "
                                             "AND BIRKOD=:KN"),
                           {{"D1", QDate(y, 1, 1)}, {"D2", QDate(y, 12, 31)}, {"KN", bkod}});
}

bool OutgoingRecord::setDepartment(int bkod)
{
    setValue("BIRKOD", bkod > 0 ? QVariant(bkod) : QVariant());
    const SendingDepartment *d = department(bkod);
    if (!d)
        return true;
    if (m_mode == Edit
        && !m_session.prompt().question(QStringLiteral(
               "DİKKAT! Evrak Sayısı ve Gönderen Bilgileri Değişecektir. Onaylıyormusunuz.?")))
        return false;
    if (m_mode == Edit && bkod == m_storedDepartment.bkod) {
        // Back at its own department: the letter keeps the number it has there.
        setValue("BSIRNO", m_storedDepartment.bsirno);
        setValue("EVSAY", m_storedDepartment.evsay);
        m_renumberBsirno = false;
        recopySigner();
        return true;
    }
    // Edit mode too: the letter takes the next number of the year's series of
    // its new department, as a new letter would.
    m_numberedBsirno = provisionalBsirno(bkod);
    m_renumberBsirno = true;
    setValue("BSIRNO", m_numberedBsirno);
    setValue("TESADI", orNull(d->YETKILI.left(20)));
    setValue("TESGOR", orNull(d->UNVAN.left(20)));
    m_numberedEvsay = orNull(prefixed(*d, m_numberedBsirno));
    setValue("EVSAY", m_numberedEvsay);
    return true;
}

void OutgoingRecord::recopySigner()
{
    if (const SendingDepartment *d = department(value("BIRKOD").toInt())) {
        setValue("TESADI", orNull(d->YETKILI.left(20)));
        setValue("TESGOR", orNull(d->UNVAN.left(20)));
    }
}

void OutgoingRecord::numberGsirno()
{
    m_numberedGsirno = numbering::next(m_session.db.IBTransaction1,
                                       QStringLiteral("SELECT MAX(GSIRNO) SAY FROM GIDEN WHERE GIZDER=:KN"),
                                       {{"KN", value("GIZDER")}});
    setValue("GSIRNO", m_numberedGsirno);
    m_renumberGsirno = true;
}

void OutgoingRecord::setGIZDER(const QString &code)
{
    if (text(value("GIZDER")) == code)
        return;
    setValue("GIZDER", code);
    if (m_mode == Edit && code == m_storedGizder) {
        // Back at its own level: the letter keeps the number it has there.
        setValue("GSIRNO", m_storedGsirno);
        m_renumberGsirno = false;
        return;
    }
    // Edit mode too: a number kept from the old level may repeat one of the new.
    numberGsirno();
}

void OutgoingRecord::setZDUR(const QString &code)
{
    setValue("ZDUR", code);
}

bool OutgoingRecord::setCEVDUR(const QString &code)
{
    if (text(value("CEVDUR")) == code)
        return true;
    if (m_mode == Edit && answered()) {
        m_session.prompt().message(QStringLiteral(
            "Cevap verilmiş belgeyiyi değiştiremezsiniz\nÖnce Cevap durumunu kaldırınız."));
        return false;
    }
    setValue("CEVDUR", code);
    return true;
}

QString OutgoingRecord::SACK1() const
{
    return fileCodeText(m_session.db.IBTransaction1, text(value("SDP")).left(3));
}

QString OutgoingRecord::SACK2() const
{
    return fileCodeText(m_session.db.IBTransaction1, text(value("SDP")));
}

QString OutgoingRecord::recipientName(int row) const
{
    const CachedRecords &rows = const_cast<OutgoingRecord *>(this)->m_routing.rows();
    const int bkod = rows.value(row, "BKOD").toInt();
    const QString kind = text(value("ZDUR")) == QStringLiteral("İ") ? QStringLiteral("B") : QStringLiteral("K");
    if (!m_places.contains(bkod))
        return text(rows.value(row, "BIRIM"));
    const auto place = m_places.value(bkod);
    return place.second == kind ? place.first : QString();
}

bool OutgoingRecord::addRecipientBody(int bkod)
{
    readNames();
    const auto place = m_places.value(bkod);
    if (!m_places.contains(bkod) || place.second != QLatin1String("K")) {
        m_session.prompt().message(QStringLiteral("DİKKAT! Seçilen kurum artık tanımlı değil; yeniden seçiniz."));
        return false;
    }
    CachedRecords &rows = m_routing.rows();
    for (int r = 0; r < rows.rowCount(); ++r) {
        if (rows.value(r, "BKOD").toInt() == bkod) {
            m_session.prompt().message(QStringLiteral("DİKKAT! «%1» zaten gönderildiği yerler arasında.").arg(place.first));
            return false;
        }
    }
    return m_routing.route(Department{bkod, place.first, QString(), QString()});
}

QStringList OutgoingRecord::ILGIGETIR() const
{
    return related::describeAnswered(m_session.db.IBTransaction1, m_reply.ILGNO(), m_reply.ILGDUR());
}

QStringList OutgoingRecord::CEVAPGETIR() const
{
    return related::describeIncomingAnswer(m_session.db.IBTransaction1, value("CEVNO").toInt());
}

bool OutgoingRecord::answered() const
{
    return !CEVAPGETIR().value(1).isEmpty();
}

bool OutgoingRecord::validate()
{
    Prompt &prompt = m_session.prompt();
    for (const QString &column : columns()) {
        const QString problem = fieldcheck::problem(QStringLiteral("GIDEN"), column, value(column), caption(column));
        if (!problem.isEmpty()) {
            prompt.message(problem);
            return false;
        }
    }
    if (const QString problem = m_routing.problem(); !problem.isEmpty()) {
        prompt.message(problem);
        return false;
    }
    const QString sdp = text(value("SDP"));
    if (!sdp.isEmpty() && m_session.db.IBTransaction1.value(
            QStringLiteral("SELECT COUNT(*) FROM SDP WHERE KOD=:K AND TUR='D'"), {{"K", sdp}}).toInt() == 0) {
        prompt.message(QStringLiteral("DİKKAT! Standart dosya kodu %1 dosya planında yok ya da alt "
                                      "kodları var; listeden bir kod seçiniz.").arg(sdp));
        return false;
    }
    return true;
}

void OutgoingRecord::numberUnderLock(fb::Transaction &t)
{
    const int y = m_session.workingYear();
    const fb::Params year{{"D1", QDate(y, 1, 1)}, {"D2", QDate(y, 12, 31)}};
    if (m_mode == New) {
        if (value("GIDNO").toInt() == 0) {
            setValue("GIDNO", numbering::next(t, QStringLiteral(
                "SELECT FIRST 1 GIDNO SAY FROM GIDEN WHERE GIDTAR BETWEEN :D1 AND :D2 "
                "AND GIDNO IS NOT NULL ORDER BY GIDNO DESC"), year));
        }
        if (text(value("ZNO")).trimmed().isEmpty()) {
            // Only whole numbers count; anything else typed there is left out.
            fb::Params p = year;
            p.insert(QStringLiteral("KN"), value("ZDUR"));
            // Written so that an index on the padded number serves it, as for GELEN.
            setValue("ZNO", QString::number(numbering::next(t, QStringLiteral(
                "SELECT FIRST 1 CAST(ZNO AS BIGINT) SAY FROM GIDEN "
                "WHERE GIDTAR BETWEEN :D1 AND :D2 AND ZDUR=:KN AND ZNO IS NOT NULL "
                "AND ZNO SIMILAR TO '[0-9]{1,15}' ORDER BY LPAD(ZNO, 15, '0') DESC"), p)));
        }
    }
    if (m_renumberGsirno && value("GSIRNO") == m_numberedGsirno) {
        setValue("GSIRNO", numbering::next(t, QStringLiteral(
            "SELECT FIRST 1 GSIRNO SAY FROM GIDEN WHERE GIZDER=:KN AND GSIRNO IS NOT NULL "
            "AND KAYNO<>:ME ORDER BY GSIRNO DESC"), {{"KN", value("GIZDER")}, {"ME", m_kayno}}));
    }
    const int bkod = value("BIRKOD").toInt();
    if (m_renumberBsirno && bkod != 0 && value("BSIRNO") == m_numberedBsirno) {
        fb::Params p = year;
        p.insert(QStringLiteral("KN"), bkod);
        p.insert(QStringLiteral("ME"), m_kayno);
        setValue("BSIRNO", numbering::next(t, QStringLiteral(
            "SELECT MAX(BSIRNO) SAY FROM GIDEN WHERE BIRKOD=:KN AND KAYNO<>:ME "
            "AND GIDTAR BETWEEN :D1 AND :D2"), p));
        if (const SendingDepartment *d = department(bkod); d && value("EVSAY") == m_numberedEvsay)
            setValue("EVSAY", orNull(prefixed(*d, value("BSIRNO"))));
    }
}

void OutgoingRecord::storeAddressee(fb::Transaction &t)
{
    // Replies, the picker and the guards find the addressee in KURKOD; the
    // first body among the recipients, as the upgrade that made the EVBRM rows
    // from KURKOD assumed. 0 for a letter to departments only.
    int addressee = 0;
    CachedRecords &rows = m_routing.rows();
    for (int r = 0; r < rows.rowCount() && addressee == 0; ++r) {
        const QVariant bkod = rows.value(r, "BKOD");
        if (t.value(QStringLiteral("SELECT COUNT(*) FROM BIRIM WHERE BKOD=:K AND TUR='K'"), {{"K", bkod}}).toInt() > 0)
            addressee = bkod.toInt();
    }
    setValue("KURKOD", addressee);
}

void OutgoingRecord::checkUnderLock(fb::Transaction &t)
{
    const int bkod = value("BIRKOD").toInt();
    if (bkod != 0 && t.value(QStringLiteral("SELECT COUNT(*) FROM BIRIM WHERE BKOD=:K AND TUR='B'"),
                             {{"K", bkod}}).toInt() == 0) {
        throw Refusal(QStringLiteral("DİKKAT! Gönderen birim bu arada silinmiş. Kaydınız yapılmadı, "
                                     "yazdıklarınız ekranda duruyor; gönderen birimi yeniden seçiniz."));
    }
    CachedRecords &rows = m_routing.rows();
    for (int r = 0; r < rows.rowCount(); ++r) {
        if (rows.state(r) == CachedRecords::State::Unchanged)
            continue;
        if (t.value(QStringLiteral("SELECT COUNT(*) FROM BIRIM WHERE BKOD=:K"),
                    {{"K", rows.value(r, "BKOD")}}).toInt() == 0) {
            throw Refusal(QStringLiteral("DİKKAT! «%1» bu arada silinmiş. Kaydınız yapılmadı; onu "
                                         "gönderildiği yerlerden çıkarıp yeniden kaydediniz.")
                              .arg(text(rows.value(r, "BIRIM"))));
        }
    }
    // The department's prefix and the number given under the lock may not fit together.
    if (const QString p = fieldcheck::problem(QStringLiteral("GIDEN"), QStringLiteral("EVSAY"), value("EVSAY"),
                                              caption(QStringLiteral("EVSAY")));
        !p.isEmpty()) {
        throw Refusal(p + QStringLiteral(" Birimin evrak sayı ön ekini kısaltınız ya da sayıyı elle yazınız."));
    }
}

bool OutgoingRecord::save(const QString &typedDate)
{
    Prompt &prompt = m_session.prompt();
    if (typedDate.mid(6, 4) != m_session.workstation.year) {
        prompt.message(QStringLiteral("Tarih Çalışma Yılından Farklı Olamaz."));
        return false;
    }
    const QDate date = QDate::fromString(typedDate, QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid()) {
        prompt.message(QStringLiteral("DİKKAT! Kayıt tarihi geçerli bir tarih değil (gün/ay/yıl)."));
        return false;
    }
    setValue("GIDTAR", date);
    if (!validate())
        return false;

    const QStringList computed = {"GIDNO", "ZNO", "GSIRNO", "BSIRNO", "EVSAY", "ILGNO", "ILGDUR", "KURKOD"};
    QVariantMap typed;
    for (const QString &c : computed)
        typed.insert(c, value(c));
    auto restore = [&] {
        for (auto i = typed.cbegin(); i != typed.cend(); ++i)
            setValue(i.key(), i.value());
    };
    try {
        // Main and yearly database as one when attachments changed: rows never point at
        // contents that were not written, nor the other way round.
        fb::TwoPhaseTransaction unit(m_session.db.IBDATABASE,
                                     m_attachments && m_attachments->isDirty() ? m_attachments->yearDatabase() : nullptr);
        fb::Transaction &work = unit.first();
        // Contents first: a long blob write must not hold the numbering lock.
        if (m_attachments)
            m_attachments->apply(unit);
        numbering::lock(work);
        numberUnderLock(work);
        checkUnderLock(work);
        storeAddressee(work);
        setValue("ILGNO", m_reply.ILGNO());
        if (m_reply.chosen())
            setValue("ILGDUR", orNull(m_reply.ILGDUR()));
        m_reply.write(work, m_kayno);
        m_row.apply(work);
        m_routing.apply(work);
        unit.commit();
    } catch (const Refusal &r) {
        restore();
        prompt.message(r.message());
        return false;
    } catch (const fb::Error &e) {
        restore();
        if (e.isLockConflict())
            prompt.error(numbering::busyMessage(), e.details());
        else
            prompt.error(QStringLiteral("DİKKAT! Kayıt yapılamadı; yazdıklarınız ekranda duruyor."), e.details());
        return false;
    }
    m_row.accept();
    m_routing.accept();
    m_reply.accept();
    m_mode = Edit;
    m_renumberBsirno = m_renumberGsirno = false;
    m_storedGizder = text(value("GIZDER"));
    m_storedGsirno = value("GSIRNO");
    m_storedDepartment = {value("BIRKOD").toInt(), value("BSIRNO"), value("EVSAY")};
    return true;
}

void OutgoingRecord::cancel()
{
    // Nothing was written before F5: dropping the memory is the whole undo.
    m_row.revert();
    m_routing.revert();
    m_reply.revert();
    m_renumberBsirno = m_renumberGsirno = false;
}
