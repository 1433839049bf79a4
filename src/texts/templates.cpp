#include "templates.h"

#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/transaction.h"
#include "db/numbering.h"

namespace texts {

QList<Template> Templates::list()
{
    fb::Transaction t(m_session.db.IBDATABASE, {.readOnly = true});
    QList<Template> out;
    for (const QVariantList &r : t.rows(QStringLiteral("SELECT KAYNO, ACIK FROM SABLON ORDER BY KAYNO")))
        out.append({r.value(0).toInt(), r.value(1).toString()});
    t.commit();
    return out;
}

Template Templates::add()
{
    fb::Transaction work(m_session.db.IBDATABASE);
    numbering::lock(work);
    Template added;
    added.kayno = int(numbering::next(work, QStringLiteral("SELECT MAX(KAYNO) KAYNO FROM SABLON")));
    added.description = QStringLiteral("Giden Evrak Örneği :") + QString::number(added.kayno);
    work.execute(QStringLiteral("INSERT INTO SABLON (KAYNO, ACIK) VALUES (:K, :A)"),
                 {{"K", added.kayno}, {"A", added.description}});
    work.commit();
    return added;
}

QString Templates::emptyDescriptionMessage()
{
    return QStringLiteral("DİKKAT! Örnek Şablon İçin Açıklama Belirtiniz..");
}

bool Templates::describe(int kayno, const QString &description)
{
    if (description.trimmed().isEmpty()) {
        m_session.prompt().message(emptyDescriptionMessage());
        return false;
    }
    fb::Transaction work(m_session.db.IBDATABASE);
    work.execute(QStringLiteral("UPDATE SABLON SET ACIK=:A WHERE KAYNO=:K"), {{"A", description}, {"K", kayno}});
    work.commit();
    return true;
}

bool Templates::remove(int kayno)
{
    if (!m_session.prompt().question(QStringLiteral("BU ŞABLON SİLİNECEKTİR. ONAYLIYORMUSUNUZ")))
        return false;
    fb::Transaction work(m_session.db.IBDATABASE);
    work.execute(QStringLiteral("DELETE FROM SABLON WHERE KAYNO=:K"), {{"K", kayno}});
    work.commit();
    return true;
}

QByteArray Templates::content(int kayno)
{
    fb::Transaction t(m_session.db.IBDATABASE, {.readOnly = true});
    const QByteArray bytes = t.value(QStringLiteral("SELECT METIN FROM SABLON WHERE KAYNO=:K"), {{"K", kayno}}).toByteArray();
    t.commit();
    return bytes;
}

void Templates::store(int kayno, const QByteArray &document)
{
    fb::Transaction work(m_session.db.IBDATABASE);
    work.execute(QStringLiteral("UPDATE SABLON SET METIN=:M WHERE KAYNO=:K"), {{"M", document}, {"K", kayno}});
    work.commit();
}

QList<QPair<QString, QString>> placeholders(const LetterFields &fields)
{
    return {{QStringLiteral("[TARIH]"), fields.date.isValid() ? fields.date.toString(QStringLiteral("dd.MM.yyyy")) : QString()},
            {QStringLiteral("[SAYI]"), fields.number > 0 ? QString::number(fields.number) : QString()},
            {QStringLiteral("[KONU]"), fields.subject}};
}

} // namespace texts
