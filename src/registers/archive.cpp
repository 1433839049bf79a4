#include "archive.h"

#include "numbering.h"
#include "registerchecks.h"

#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/twophase.h"
#include "storage/attachments.h"
#include "db/fieldcheck.h"

#include <QDate>
#include <QHash>

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QVariant textOrNull(const QString &t)
{
    return t.isEmpty() ? QVariant() : QVariant(t);
}

} // namespace

const QStringList &ArchiveRecord::columns()
{
    static const QStringList c = {
        "KAYNO", "ARSNO", "ARSTAR", "SDP", "BIRKOD", "YETADI", "YETGOR", "ZDUR", "ZNO", "ZTAR",
        "GIZDER", "DOSYA", "KRMSURE", "ECKOD", "EVSAY", "EVTAR", "KONU", "GSEKLI", "GACIK", "EKSAY",
        "EK", "USR", "ETKOD"};
    return c;
}

QString ArchiveRecord::caption(const QString &column)
{
    static const QHash<QString, QString> captions = {
        {"ARSNO", "Kayıt No"}, {"ARSTAR", "Kayıt Tarihi"}, {"SDP", "Std. Dosya Kodu"},
        {"YETADI", "Yetkili Adı Soyadı"}, {"YETGOR", "Yetkili Ünvanı"}, {"ZNO", "Zimmet No"},
        {"ZTAR", "Zimmet Tarihi"}, {"DOSYA", "Dosya İşlemi"}, {"KRMSURE", "Saklama Süresi"},
        {"EVSAY", "Evrak No(Sayı)"}, {"EVTAR", "Evrak Tarihi"}, {"KONU", "Konusu (Özü)"},
        {"GACIK", "Geliş Şekli Açıklaması"}, {"EKSAY", "Ek Sayısı"}};
    return captions.value(column, column);
}

ArchiveRecord::ArchiveRecord(Session &session)
    : m_session(session)
    , m_row(QStringLiteral("ARSIV"), {QStringLiteral("KAYNO")})
{
}

void ArchiveRecord::openNew()
{
    m_mode = New;
    m_attributes.clear();
    m_storedKind = QVariant();
    m_kayno = registerchecks::drawKey(m_session, QStringLiteral("GEN_ARSKAYNO"));
    m_row.setColumns(columns());
    m_row.append({{"KAYNO", m_kayno}, {"ARSTAR", m_session.clock().today()}, {"ZDUR", QStringLiteral("İ")},
                  {"GIZDER", QStringLiteral("Ö")}, {"USR", m_session.LUSR}, {"GSEKLI", QStringLiteral("P")}});
    if (m_session.userDepartment != 0) {
        for (const RegisterDepartment &d : departments())
            setDepartment(d);
    }
}

bool ArchiveRecord::openExisting(int kayno)
{
    m_mode = Edit;
    m_kayno = kayno;
    m_attributes.clear();
    m_row.select(m_session.db.IBTransaction1,
                 QStringLiteral("SELECT %1 FROM ARSIV WHERE KAYNO=:KN").arg(columns().join(u',')),
                 {{"KN", kayno}});
    if (m_row.rowCount() == 0) {
        m_session.prompt().message(registerchecks::vanishedMessage());
        return false;
    }
    m_storedKind = value("ECKOD");
    readAttributes(value("ECKOD").toInt());
    readValues();
    return true;
}

QVariant ArchiveRecord::value(const QString &column) const
{
    return m_row.value(0, column);
}

void ArchiveRecord::setValue(const QString &column, const QVariant &value)
{
    m_row.setValue(0, column, value);
}

QList<RegisterDepartment> ArchiveRecord::departments()
{
    return registerchecks::departments(m_session);
}

void ArchiveRecord::setDepartment(const RegisterDepartment &d)
{
    setValue("BIRKOD", d.BKOD);
    if (m_mode == Edit
        && !m_session.prompt().question(QStringLiteral(
               "DİKKAT! Birim Yetkilisi Bilgileri Değişecektir. Onaylıyormusunuz.?")))
        return;
    takeAuthorisedFrom(d);
}

void ArchiveRecord::takeAuthorisedFrom(const RegisterDepartment &d)
{
    setValue("YETADI", textOrNull(d.YETKILI));
    setValue("YETGOR", textOrNull(d.UNVAN));
}

QList<ArchiveKind> ArchiveRecord::kinds()
{
    QList<ArchiveKind> out;
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(
             QStringLiteral("SELECT ECKOD,ECINS,ECTUR FROM ECINS ORDER BY ECINS")))
        out.append({r[0].toInt(), text(r[1])});
    return out;
}

void ArchiveRecord::readAttributes(int eckod)
{
    m_attributes.clear();
    if (eckod <= 0)
        return;
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(
             QStringLiteral("SELECT SIRNO,TUR,ECTAN FROM ECTAN WHERE ECKOD=:ECK ORDER BY SIRNO"), {{"ECK", eckod}}))
        m_attributes.append({r[0].toInt(), text(r[1]), text(r[2]), QString()});
}

void ArchiveRecord::readValues()
{
    QHash<int, QString> stored;
    for (const QVariantList &r : m_session.db.IBTransaction1.rows(
             QStringLiteral("SELECT SIRA,DEGER FROM ARSEKBILGI WHERE ARSKAYNO=:KN"), {{"KN", m_kayno}}))
        stored.insert(r[0].toInt(), text(r[1]));
    for (ArchiveAttribute &a : m_attributes)
        a.value = stored.value(a.SIRNO);
}

void ArchiveRecord::setKind(int eckod)
{
    setValue("ECKOD", eckod > 0 ? QVariant(eckod) : QVariant());
    readAttributes(eckod);
}

void ArchiveRecord::setAttributeValue(int n, const QString &value)
{
    if (n >= 0 && n < m_attributes.size())
        m_attributes[n].value = value;
}

QString ArchiveRecord::SACK1() const
{
    return registerchecks::fileCodeText(m_session.db.IBTransaction1, text(value("SDP")).left(3));
}

QString ArchiveRecord::SACK2() const
{
    return registerchecks::fileCodeText(m_session.db.IBTransaction1, text(value("SDP")));
}

bool ArchiveRecord::validate()
{
    Prompt &prompt = m_session.prompt();
    fb::Transaction &t = m_session.db.IBTransaction1;
    QString problem = registerchecks::columnProblem(
        QStringLiteral("ARSIV"), columns(), [this](const QString &c) { return value(c); }, &caption);
    if (problem.isEmpty())
        problem = registerchecks::fileCodeProblem(t, value("SDP"));
    if (problem.isEmpty())
        problem = registerchecks::departmentProblem(t, value("BIRKOD"));
    const int kind = value("ECKOD").toInt();
    if (problem.isEmpty() && kind > 0 && kind != m_storedKind.toInt()
        && t.value(QStringLiteral("SELECT COUNT(*) FROM ECINS WHERE ECKOD=:K"), {{"K", kind}}).toInt() == 0)
        problem = QStringLiteral("DİKKAT! Seçilen arşiv evrak cinsi artık tanımlı değil; evrak cinsini yeniden seçiniz.");
    for (int i = 0; problem.isEmpty() && i < m_attributes.size() && i < kShownAttributes; ++i) {
        const ArchiveAttribute &a = m_attributes[i];
        if (a.isDate() && !a.value.isEmpty()
            && !QDate::fromString(a.value, QStringLiteral("dd/MM/yyyy")).isValid()) {
            problem = QStringLiteral("DİKKAT! «%1» geçerli bir tarih değil (gün/ay/yıl).").arg(a.ECTAN);
        } else {
            problem = fieldcheck::problem(QStringLiteral("ARSEKBILGI"), QStringLiteral("DEGER"),
                                          textOrNull(a.value), a.ECTAN);
        }
    }
    if (!problem.isEmpty()) {
        prompt.message(problem);
        return false;
    }
    return true;
}

bool ArchiveRecord::save(const QString &typedDate)
{
    Prompt &prompt = m_session.prompt();
    QDate date;
    if (const QString problem = registerchecks::typedDateProblem(m_session, typedDate, &date); !problem.isEmpty()) {
        prompt.message(problem);
        return false;
    }
    setValue("ARSTAR", date);
    if (!validate())
        return false;

    const QVariant typedArsno = value("ARSNO");
    try {
        // Main and yearly database as one: attachment rows never point at
        // contents that were not written, nor the other way round.
        fb::TwoPhaseTransaction unit(m_session.db.IBDATABASE,
                                    attachments && attachments->isDirty() ? attachments->yearDatabase() : nullptr);
        fb::Transaction &work = unit.first();
        if (m_mode == New) {
            numbering::lock(work);
            if (typedArsno.toInt() == 0) {
                setValue("ARSNO", numbering::next(work, QStringLiteral(
                    "SELECT FIRST 1 ARSNO SAY FROM ARSIV WHERE ARSTAR BETWEEN :D1 AND :D2 "
                    "AND ARSNO IS NOT NULL ORDER BY ARSNO DESC"),
                    registerchecks::yearRange(m_session.workingYear())));
            }
        }
        m_row.apply(work);
        work.execute(QStringLiteral("DELETE FROM ARSEKBILGI WHERE ARSKAYNO=:KN"), {{"KN", m_kayno}});
        for (int i = 0; i < m_attributes.size() && i < kShownAttributes; ++i) {
            const ArchiveAttribute &a = m_attributes[i];
            if (a.value.isEmpty())
                continue;
            work.execute(QStringLiteral("INSERT INTO ARSEKBILGI (ARSKAYNO,SIRA,DEGER) VALUES (:KN,:S,:D)"),
                         {{"KN", m_kayno}, {"S", a.SIRNO}, {"D", a.value}});
        }
        if (attachments)
            attachments->apply(unit);
        unit.commit();
    } catch (const fb::Error &e) {
        // A lost connection is re-made in place for the next F5.
        m_session.db.watch.notice(e);
        setValue("ARSNO", typedArsno);
        if (e.isLockConflict())
            prompt.error(numbering::busyMessage(), e.details());
        else
            prompt.error(QStringLiteral("DİKKAT! Kayıt yapılamadı; yazdıklarınız ekranda duruyor."), e.details());
        return false;
    }
    m_row.accept();
    m_mode = Edit;
    return true;
}

void ArchiveRecord::cancel()
{
    m_row.revert();
    m_attributes.clear();
}

bool ArchiveRecord::remove(Session &s, int kayno)
{
    Prompt &prompt = s.prompt();
    if (!prompt.question(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?")))
        return false;
    try {
        // The contents in the yearly database go in the same unit as their rows.
        fb::Attachment *contents = nullptr;
        if (!storage::contentDatabaseFor(s, storage::Register::Archive, kayno, contents))
            return false;
        fb::TwoPhaseTransaction unit(s.db.IBDATABASE, contents);
        fb::Transaction &work = unit.first();
        if (work.execute(QStringLiteral("DELETE FROM ARSIV WHERE KAYNO=:KK"), {{"KK", kayno}}) == 0) {
            prompt.message(registerchecks::vanishedMessage());
            return false;
        }
        storage::deleteAllAttachments(unit, storage::Register::Archive, kayno);
        work.execute(QStringLiteral("DELETE FROM ARSEKBILGI WHERE ARSKAYNO=:KK"), {{"KK", kayno}});
        const qint64 highest = work.value(QStringLiteral("SELECT MAX(ARSNO) YNO FROM ARSIV")).toLongLong();
        work.executeRaw(QStringLiteral("SET GENERATOR GEN_ARSNO TO %1").arg(highest));
        unit.commit();
    } catch (const fb::Error &e) {
        prompt.error(QStringLiteral("DİKKAT! Kayıt silinemedi."), e.details());
        return false;
    }
    return true;
}
