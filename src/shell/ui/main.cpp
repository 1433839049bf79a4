// KELMA: registers, routes and archives a municipality's correspondence.

#include "core/clock.h"
#include "kit/kelmaform.h"
#include "kit/qtprompt.h"
#include "kit/qttranslations.h"
#include "core/session.h"
#include "shell/singleinstance.h"
#include "shell/startup.h"
#include "shell/ui/unmenu.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

/// Logout and shutdown end the run the way "Program Sonu" does: the window
/// closes, the databases are closed and the settings written. Installed after
/// the first attach so that it, not the embedded engine's own handler, gets
/// the signal.
void endOnSignals(TFRMMENU &menu)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &menu);
    QObject::connect(notifier, &QSocketNotifier::activated, &menu, [&menu, notifier] {
        char buffer[16];
        while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        notifier->setEnabled(false);
        menu.mayClose = true;
        menu.close();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZIRVO"));
    QCoreApplication::setApplicationName(QStringLiteral("KELMA"));
    QApplication::setApplicationDisplayName(QStringLiteral("KELMA"));
    // Qt's own dialogs (buttons, file dialog) in Turkish like the rest.
    qttranslations::installTurkish(app);

    QtPrompt prompt;
    SingleInstance instance;
    if (!instance.acquire()) {
        prompt.message(SingleInstance::message());
        return 0;
    }

    SystemClock clock;
    Session session(prompt, clock, [] { return std::make_unique<QSettings>(); });
    WorkstationDefaults defaults{clock.today(), QDir::currentPath(), QCoreApplication::applicationDirPath(),
                                 QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)};
    // A location that is not a KELMA database is said, then repaired on the
    // System settings screen like one that could not be reached.
    startup::begin(session, defaults);

    FormRunner runner;
    TFRMMENU menu(session, runner);
    menu.arguments = app.arguments().mid(1);
    prompt.setParent(&menu);
    QObject::connect(&menu, &TFRMMENU::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    endOnSignals(menu);
    menu.show();
    const bool exitWhenReady = qEnvironmentVariableIsSet("KELMA_EXIT_WHEN_READY");
    if (exitWhenReady || qEnvironmentVariableIsSet("KELMA_REPORT_READY")) {
        // For the start-up benchmark and the tests: runs after the activation
        // sequence, which the first showing queued just before.
        QMetaObject::invokeMethod(&app, [exitWhenReady] {
            fputs("ready\n", stdout);
            fflush(stdout);
            if (exitWhenReady)
                QCoreApplication::exit(0);
        }, Qt::QueuedConnection);
    }
    return app.exec();
}
