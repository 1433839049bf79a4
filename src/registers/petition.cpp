#include "petition.h"

#include "core/identitynumber.h"
#include "numbering.h"
#include "registerchecks.h"

#include "core/session.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/twophase.h"
#include "storage/attachments.h"

#include <QDate>
#include <QHash>

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QString dateText(const QVariant &v)
{
    return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

const QStringList &PetitionRecord::columns()
{
    static const QStringList c = {
        "KAYNO", "DILNO", "DILTAR", "GELTAR", "SDP", "BIRKOD", "EVSAY", "ZDUR", "ZNO", "ZTAR",
        "GIZDER", "TESADI", "TESGOR", "DOSYA", "KRMSURE", "ADI", "SOYADI", "TCKNO", "TEL1", "EMAIL",
        "ADRES", "KONU", "GSEKLI", "GACIK", "EKSAY", "EK", "CEVDUR", "CEVTAR", "CEVNO", "USR",
        "BIRIM", "EKOD", "ETKOD"};
    return c;
}

QString PetitionRecord::caption(const QString &column)
{
    static const QHash<QString, QString> captions = {
        {"DILNO", "Kayıt No"}, {"GELTAR", "Kayıt Tarihi"}, {"DILTAR", "Dilekçe Tarih"},
        {"SDP", "Std. Dosya Kodu"}, {"EVSAY", "Evrak No(Sayı)"}, {"ZNO", "Zimmet No"},
        {"ZTAR", "Zimmet Tarihi"}, {"TESADI", "Teslim Alan Adı S."}, {"TESGOR", "Teslim Alan Görevi"},
        {"DOSYA", "Dosya İşlemi"}, {"KRMSURE", "Saklama Süresi"}, {"ADI", "Adı"}, {"SOYADI", "Soyadı"},
        {"TCKNO", "T.C.Kimlik No"}, {"TEL1", "Telefon No"}, {"EMAIL", "e-posta"}, {"ADRES", "Adresi"},
        {"KONU", "Konusu (Özü)"}, {"GACIK", "Geliş Şekli Açıklaması"}, {"EKSAY", "Ek Sayısı"},
        {"CEVTAR", "Son Cevap Tar"}};
    return captions.value(column, column);
}

PetitionRecord::PetitionRecord(Session &session)
    : m_session(session)
    , m_row(QStringLiteral("DILEKCE"), {QStringLiteral("KAYNO")})
{
}

void PetitionRecord::openNew()
{
    m_mode = New;
    m_kayno = registerchecks::drawKey(m_session, QStringLiteral("GEN_DILKAYNO"));
    const QDate today = m_session.clock().today();
    m_row.setColumns(columns());
    QVariantMap values{{"KAYNO", m_kayno}, {"GELTAR", today}, {"DILTAR", today}, {"ZTAR", today},
                       {"ZDUR", QStringLiteral("İ")}, {"GIZDER", QStringLiteral("Ö")},
                       {"CEVDUR", QStringLiteral("H")}, {"CEVNO", 0}, {"GSEKLI", QStringLiteral("P")},
                       {"USR", m_session.LUSR}};
    if (m_session.userDepartment != 0)
        values.insert(QStringLiteral("BIRKOD"), m_session.userDepartment);
    m_row.append(values);
}

bool PetitionRecord::openExisting(int kayno)
{
    m_mode = Edit;
    m_kayno = kayno;
    m_row.select(m_session.db.IBTransaction1,
                 QStringLiteral("SELECT %1 FROM DILEKCE WHERE KAYNO=:KN").arg(columns().join(u',')),
                 {{"KN", kayno}});
    if (m_row.rowCount() == 0) {
        m_session.prompt().message(registerchecks::vanishedMessage());
        return false;
    }
    return true;
}

QVariant PetitionRecord::value(const QString &column) const
{
    return m_row.value(0, column);
}

void PetitionRecord::setValue(const QString &column, const QVariant &value)
{
    m_row.setValue(0, column, value);
}

QList<RegisterDepartment> PetitionRecord::departments()
{
    return registerchecks::departments(m_session);
}

void PetitionRecord::takeReceiverFrom(const RegisterDepartment &d)
{
    setValue("TESADI", d.YETKILI.isEmpty() ? QVariant() : QVariant(d.YETKILI));
    setValue("TESGOR", d.UNVAN.isEmpty() ? QVariant() : QVariant(d.UNVAN));
}

QString PetitionRecord::SACK1() const
{
    return registerchecks::fileCodeText(m_session.db.IBTransaction1, text(value("SDP")).left(3));
}

QString PetitionRecord::SACK2() const
{
    return registerchecks::fileCodeText(m_session.db.IBTransaction1, text(value("SDP")));
}

QStringList PetitionRecord::CEVAPGETIR() const
{
    // The letter names the petition it answers; an incoming document may share
    // the key, so the register mark decides.
    fb::Statement s(m_session.db.IBTransaction1, QStringLiteral(
        "SELECT FIRST 1 G.GIDNO,G.GIDTAR,B.BIRIM FROM GIDEN G "
        "LEFT JOIN BIRIM B ON(B.BKOD=G.KURKOD AND B.TUR='K') "
        "WHERE G.ILGNO=:KNO AND G.ILGDUR='D' ORDER BY G.GIDTAR DESC, G.GIDNO DESC"));
    s.bind(QStringLiteral("KNO"), m_kayno);
    s.execute();
    if (!s.next())
        return {QStringLiteral("Cevap Gönderilmedi...."), QString()};
    return {QStringLiteral("Cevap Gönderildi...."),
            QStringLiteral("No:%1  Tarih:%2  G.Yer:%3").arg(text(s.value(0)), dateText(s.value(1)), text(s.value(2)))};
}

bool PetitionRecord::answered() const
{
    return !CEVAPGETIR().value(1).isEmpty();
}

bool PetitionRecord::validate()
{
    Prompt &prompt = m_session.prompt();
    fb::Transaction &t = m_session.db.IBTransaction1;
    QString problem = registerchecks::columnProblem(
        QStringLiteral("DILEKCE"), columns(), [this](const QString &c) { return value(c); }, &caption);
    if (problem.isEmpty())
        problem = registerchecks::fileCodeProblem(t, value("SDP"));
    if (problem.isEmpty())
        problem = registerchecks::departmentProblem(t, value("BIRKOD"));
    if (!problem.isEmpty()) {
        prompt.message(problem);
        return false;
    }
    // As on the body screen: letters or a wrong length are no identity number;
    // one whose check digits fail may still be the one on the person's card.
    const QString identity = text(value("TCKNO"));
    if (identity.isEmpty())
        return true;
    if (!identitynumber::hasElevenDigits(identity)) {
        prompt.message(identitynumber::shapeRefusal());
        return false;
    }
    if (!identitynumber::isValid(identity) && !prompt.question(identitynumber::mistypedQuestion(identity)))
        return false;
    return true;
}

bool PetitionRecord::save(const QString &typedDate)
{
    Prompt &prompt = m_session.prompt();
    QDate date;
    if (const QString problem = registerchecks::typedDateProblem(m_session, typedDate, &date); !problem.isEmpty()) {
        prompt.message(problem);
        return false;
    }
    setValue("GELTAR", date);
    if (!validate())
        return false;

    const QVariant typedDilno = value("DILNO");
    const QVariant typedZno = value("ZNO");
    try {
        // Main and yearly database as one: attachment rows never point at
        // contents that were not written, nor the other way round.
        fb::TwoPhaseTransaction unit(m_session.db.IBDATABASE,
                                    attachments && attachments->isDirty() ? attachments->yearDatabase() : nullptr);
        fb::Transaction &work = unit.first();
        if (m_mode == New) {
            numbering::lock(work);
            // The series goes by the registration date, the date the year check uses.
            if (typedDilno.toInt() == 0) {
                setValue("DILNO", numbering::next(work, QStringLiteral(
                    "SELECT FIRST 1 DILNO SAY FROM DILEKCE WHERE GELTAR BETWEEN :D1 AND :D2 "
                    "AND DILNO IS NOT NULL ORDER BY DILNO DESC"),
                    registerchecks::yearRange(m_session.workingYear())));
            }
            if (text(typedZno).trimmed().isEmpty())
                setValue("ZNO", value("DILNO").toString());
        }
        m_row.apply(work);
        if (attachments)
            attachments->apply(unit);
        unit.commit();
    } catch (const fb::Error &e) {
        // A lost connection is re-made in place for the next F5.
        m_session.db.watch.notice(e);
        setValue("DILNO", typedDilno);
        setValue("ZNO", typedZno);
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

void PetitionRecord::cancel()
{
    m_row.revert();
}

bool PetitionRecord::remove(Session &s, int kayno)
{
    Prompt &prompt = s.prompt();
    if (!prompt.question(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?")))
        return false;
    try {
        // The contents in the yearly database go in the same unit as their rows.
        fb::Attachment *contents = nullptr;
        if (!storage::contentDatabaseFor(s, storage::Register::Petition, kayno, contents))
            return false;
        fb::TwoPhaseTransaction unit(s.db.IBDATABASE, contents);
        fb::Transaction &work = unit.first();
        // An outgoing letter that answers it would point at nothing.
        if (work.value(QStringLiteral("SELECT COUNT(*) SAY FROM GIDEN WHERE ILGNO=:ILG AND ILGDUR='D'"),
                       {{"ILG", kayno}}).toInt() >= 1) {
            prompt.message(QStringLiteral("DİKKAT! Bu Kayıt Kullanılmıştır. Silemezsiniz..."));
            return false;
        }
        if (work.execute(QStringLiteral("DELETE FROM DILEKCE WHERE KAYNO=:KK"), {{"KK", kayno}}) == 0) {
            prompt.message(registerchecks::vanishedMessage());
            return false;
        }
        storage::deleteAllAttachments(unit, storage::Register::Petition, kayno);
        // Routing rows of a deleted petition would wait for approval for ever.
        work.execute(QStringLiteral("DELETE FROM EVBRM WHERE TUR=3 AND EKAYNO=:KK"), {{"KK", kayno}});
        const qint64 highest = work.value(QStringLiteral("SELECT MAX(DILNO) YNO FROM DILEKCE")).toLongLong();
        work.executeRaw(QStringLiteral("SET GENERATOR GEN_DILNO TO %1").arg(highest));
        unit.commit();
    } catch (const fb::Error &e) {
        prompt.error(QStringLiteral("DİKKAT! Kayıt silinemedi."), e.details());
        return false;
    }
    return true;
}
