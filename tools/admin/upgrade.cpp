#include "admin.h"

#include "core/prompt.h"
#include "db/checks.h"
#include "db/fb/error.h"
#include "db/fb/transaction.h"
#include "db/schema.h"
#include "db/upgrade.h"

namespace {

/// The steps' messages on the terminal; nothing here asks a question.
class ConsolePrompt : public Prompt
{
public:
    explicit ConsolePrompt(AdminContext &c) : m_c(c) {}

    void message(const QString &text) override
    {
        m_c.out << text << "\n";
        m_c.out.flush();
    }
    void error(const QString &text, const QString &details) override
    {
        m_c.err << text << "\n";
        if (!details.isEmpty())
            m_c.err << details << "\n";
        m_c.err.flush();
    }
    bool question(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    QString folder(const QString &, const QString &) override { return {}; }

private:
    AdminContext &m_c;
};

} // namespace

int upgradeCommand(AdminContext &c)
{
    QStringList args = c.args;
    const bool all = args.removeAll(QStringLiteral("--all")) > 0;
    if (args.size() != 1) {
        c.err << "Kullanım: kelma-admin upgrade VERİTABANI [--all]\n";
        return 2;
    }
    fb::Attachment a;
    if (!c.open(a, args.first()))
        return 1;
    fb::Transaction t(a);
    ConsolePrompt prompt(c);
    SchemaUpgrade upgrade(t, prompt);
    const SchemaUpgrade::Result r = all ? upgrade.upgradeToCurrent() : upgrade.VERKONT();
    a.close(fb::Attachment::EndAction::Commit);
    switch (r.outcome) {
    case SchemaUpgrade::Outcome::Current:
        c.out << "Veritabanı güncel: " << r.versionText << "\n";
        return 0;
    case SchemaUpgrade::Outcome::Upgraded:
        return 0;
    case SchemaUpgrade::Outcome::Failed:
    case SchemaUpgrade::Outcome::Refused:
    case SchemaUpgrade::Outcome::Unreadable:
        break;
    }
    return 1;
}

int checkCommand(AdminContext &c)
{
    if (c.args.size() != 1) {
        c.err << "Kullanım: kelma-admin check VERİTABANI\n";
        return 2;
    }
    fb::Attachment a;
    if (!c.open(a, c.args.first()))
        return 1;
    fb::Transaction t(a);
    // The checks read columns that only the current version has.
    const QString version = t.value(QStringLiteral("SELECT VER FROM TANIM")).toString();
    if (SchemaUpgrade::versionNumber(version) != schema::kCurrentVersion) {
        c.err << "DİKKAT! Veritabanı sürümü " << version << "; önce \"kelma-admin upgrade "
              << c.args.first() << " --all\" çalıştırın.\n";
        return 1;
    }
    t.rollback();
    ConsistencyChecks checks(a, [&](const QString &line) {
        c.out << line << "\n";
        c.out.flush();
    });
    checks.repairGenerators();
    checks.completeRights();
    checks.reportEmptyAttachments();
    a.close();
    return 0;
}

int indexesCommand(AdminContext &c)
{
    if (c.args.size() != 1) {
        c.err << "Kullanım: kelma-admin indexes VERİTABANI\n";
        return 2;
    }
    fb::Attachment a;
    if (!c.open(a, c.args.first()))
        return 1;
    fb::Transaction t(a);
    try {
        const QString version = t.value(QStringLiteral("SELECT VER FROM TANIM")).toString().trimmed();
        if (SchemaUpgrade::versionNumber(version) != schema::kCurrentVersion) {
            c.err << "DİKKAT! Veritabanı sürümü " << version << "; önce upgrade --all ile "
                  << schema::versionText(schema::kCurrentVersion) << " sürümüne yükseltin.\n";
            return 1;
        }
        const QStringList added = schema::addMissingIndexes(t);
        const QStringList dropped = schema::dropRetiredIndexes(t);
        t.commit();
        if (added.isEmpty() && dropped.isEmpty())
            c.out << "Eksik indeks yok.\n";
        for (const QString &name : added)
            c.out << "Eklendi: " << name << "\n";
        for (const QString &name : dropped)
            c.out << "Kaldırıldı: " << name << "\n";
        return 0;
    } catch (const fb::Error &e) {
        c.err << "DİKKAT! İndeks eklenemedi: " << e.details() << "\n";
        return 1;
    }
}
