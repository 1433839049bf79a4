#include "prgguncelle.h"

#include "core/prompt.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>

namespace {

// A progress window over one asynchronous step; its Cancel calls `cancel`.
class Progress
{
public:
    Progress(QWidget *parent, const QString &text, std::function<void()> cancel)
        : m_dialog(text, QStringLiteral("Vazgeç"), 0, 0, parent)
    {
        m_dialog.setWindowTitle(QStringLiteral("Güncelleme"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(300);
        QObject::connect(&m_dialog, &QProgressDialog::canceled, std::move(cancel));
    }
    void set(qint64 done, qint64 total)
    {
        if (total > 0) {
            m_dialog.setMaximum(1000);
            m_dialog.setValue(int(done * 1000 / total));
        }
    }
    QEventLoop loop;

private:
    QProgressDialog m_dialog;
};

} // namespace

bool PRGGUNCELLE(Prompt &prompt, const UpdatePlan &plan, QWidget *parent)
{
    if (!prompt.question(QStringLiteral("DİKKAT! Programınızın Daha Yeni Sürümü Mevcuttur.\n"
                                        "Şimdi Güncellemek İstermisiniz.")))
        return false;
    if (!plan.service.configured()) {
        prompt.message(QStringLiteral("DİKKAT! Versiyon servisi tanımlı değil; güncelleme yapılamaz.\n"
                                      "Sistem yöneticiniz VERSRV ayarını girmelidir."));
        return false;
    }

    // Where the release is and what it must hash to.
    update::ServiceExchange exchange;
    exchange.setTimeout(plan.timeoutMs);
    QString failure;
    bool complete = false;
    {
        Progress progress(parent, QStringLiteral("Güncelleme bilgisi alınıyor..."), [&] { exchange.cancel(); });
        QObject::connect(&exchange, &update::ServiceExchange::finished, &progress.loop,
                         [&](bool ok, const QString &error) {
                             complete = ok;
                             failure = error;
                             progress.loop.quit();
                         });
        exchange.requestRelease(plan.service, plan.runningVersion);
        if (exchange.running())
            progress.loop.exec();
    }
    const std::optional<update::Release> release = complete ? update::parseRelease(exchange.lines()) : std::nullopt;
    if (!release) {
        prompt.message(complete ? QStringLiteral("DİKKAT! Versiyon servisinden geçerli bir güncelleme bilgisi "
                                                 "alınamadı (adres ve SHA-256 gerekli).")
                                : failure);
        return false;
    }
    if (!update::newer(release->version, plan.runningVersion)) {
        prompt.message(QStringLiteral("Programınız güncel: %1").arg(plan.runningVersion));
        return false;
    }

    update::Download download(*release, plan.tempFolder);
    bool downloaded = false;
    {
        Progress progress(parent, QStringLiteral("Güncelleme indiriliyor: %1").arg(release->version),
                          [&] { download.cancel(); });
        QObject::connect(&download, &update::Download::progress, &progress.loop,
                         [&](qint64 done, qint64 total) { progress.set(done, total); });
        QObject::connect(&download, &update::Download::finished, &progress.loop,
                         [&](bool ok, const QString &error) {
                             downloaded = ok;
                             failure = error;
                             progress.loop.quit();
                         });
        download.start();
        if (!downloaded && failure.isEmpty())
            progress.loop.exec();
    }
    if (!downloaded) {
        prompt.message(failure);
        return false;
    }

    // Waited for, so that a refused or failed installation is said and the
    // program keeps running on the old version.
    const QString file = download.file();
    QProcess installer;
    installer.setProgram(plan.installer.program);
    installer.setArguments(plan.installer.argumentsFor(file));
    installer.setProcessChannelMode(QProcess::MergedChannels);
    bool started = true;
    {
        Progress progress(parent, QStringLiteral("Güncelleme kuruluyor..."), [&] { installer.kill(); });
        QObject::connect(&installer, &QProcess::finished, &progress.loop, [&] { progress.loop.quit(); });
        QObject::connect(&installer, &QProcess::errorOccurred, &progress.loop, [&](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart) {
                started = false;
                progress.loop.quit();
            }
        });
        installer.start();
        if (started)
            progress.loop.exec();
    }
    if (!started) {
        prompt.message(QStringLiteral("DİKKAT! Kurulum programı başlatılamadı: %1").arg(plan.installer.program));
        return false;
    }
    if (installer.exitStatus() != QProcess::NormalExit || installer.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(installer.readAll()).trimmed().right(400);
        prompt.message(QStringLiteral("DİKKAT! Güncelleme kurulamadı; program eski sürümle çalışmaya devam ediyor.\n%1")
                           .arg(said));
        return false;
    }
    prompt.message(QStringLiteral("Güncelleme kuruldu (%1). Program kapanıyor; yeniden başlatınız.")
                       .arg(release->version));
    return true;
}
