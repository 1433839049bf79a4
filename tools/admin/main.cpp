// kelma-admin: prepares and looks after KELMA databases from the command line.

#include "admin.h"
#include "printregister.h"

#include "db/fb/error.h"
#include "db/newdatabase.h"

#include <QCoreApplication>

#include <iterator>

namespace {

const AdminCommand kCommands[] = {
    {"create", "create VERİTABANI",
     "Yeni ana veritabanı oluşturur (tablolar, il/ilçe, standart dosya planı, ilk kullanıcı).",
     createMainCommand},
    {"create-year", "create-year VERİTABANI",
     "Bir yılın belge veritabanını (TEXTyyyy.GDB) oluşturur.", createYearCommand},
    {"info", "info VERİTABANI", "Veritabanının sürümünü ve kayıt sayılarını gösterir.",
     infoCommand},
    {"upgrade", "upgrade VERİTABANI [--all]",
     "Veritabanını bir sonraki sürüme yükseltir; --all ile güncel sürüme kadar bütün adımları sırayla yapar.",
     upgradeCommand},
    {"check", "check VERİTABANI",
     "Kontrolleri yapar: generatörler, kullanıcı hakları, içeriği boş belgeler.", checkCommand},
    {"indexes", "indexes VERİTABANI",
     "Güncel sürümdeki bir veritabanına yeni veritabanlarının indekslerinden eksik olanları ekler.",
     indexesCommand},
    {"print-register", "print-register VERİTABANI --register gelen|giden|dilekce --year YIL [--month AY] [--department BİRİMKODU] --pdf DOSYA",
     "Bir dönemin kayıt defterini PDF dosyasına yazar (ekran gerekmez).", printRegisterCommand},
};

void usage(QTextStream &out)
{
    out << "Kullanım: kelma-admin [--user AD] [--password-stdin] KOMUT ...\n\n";
    for (const AdminCommand &c : kCommands)
        out << "  " << c.usage << "\n      " << c.help << "\n";
    out << "\nVERİTABANI bir dosya yolu (gömülü sunucu) ya da sunucu:yol biçimindedir.\n"
           "\nVeritabanı şifresi, sırayla: --password-stdin ile standart girişin ilk satırı,\n"
           "KELMA_DB_PASSWORD ortam değişkeni, yoksa öntanımlı şifre.\n"
           "  --password ŞİFRE  hâlâ çalışır, ama komut satırını makinedeki herkes görebilir:\n"
           "                    kullanmayınız.\n";
}

} // namespace

fb::ConnectOptions AdminContext::connect(const QString &database, const QString &charset) const
{
    fb::ConnectOptions o;
    o.database = database;
    o.user = user;
    o.password = password;
    o.charset = charset;
    return o;
}

bool AdminContext::open(fb::Attachment &attachment, const QString &database) const
{
    try {
        attachment.open(connect(database));
        return true;
    } catch (const fb::Error &e) {
        err << newdb::describeOpenError(database, e.message(), e.isFileInUse()) << "\n";
        return false;
    }
}

int main(int argc, char **argv)
{
    const std::unique_ptr<QCoreApplication> app = makeAdminApplication(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app->arguments().mid(1);

    AdminContext context{{}, QStringLiteral("SYSDBA"), QStringLiteral("WEXD"), out, err};
    // A command line is readable by every user of the machine; the
    // environment and standard input are not.
    if (const QString fromEnvironment = qEnvironmentVariable("KELMA_DB_PASSWORD"); !fromEnvironment.isEmpty())
        context.password = fromEnvironment;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if ((option == QLatin1String("--user") || option == QLatin1String("--password"))
            && !args.isEmpty()) {
            (option == QLatin1String("--user") ? context.user : context.password) = args.takeFirst();
        } else if (option == QLatin1String("--password-stdin")) {
            QTextStream in(stdin);
            context.password = in.readLine();
            if (context.password.endsWith(u'\r'))
                context.password.chop(1);
        } else if (option == QLatin1String("--help")) {
            usage(out);
            return 0;
        } else {
            err << "Bilinmeyen seçenek: " << option << "\n";
            usage(err);
            return 2;
        }
    }
    if (args.isEmpty()) {
        usage(err);
        return 2;
    }
    const QString name = args.takeFirst();
    for (const AdminCommand &c : kCommands) {
        if (name == QLatin1String(c.name)) {
            context.args = args;
            try {
                return c.run(context);
            } catch (const fb::Error &e) {
                err << e.details() << "\n";
                return 1;
            }
        }
    }
    err << "Bilinmeyen komut: " << name << "\n";
    usage(err);
    return 2;
}
