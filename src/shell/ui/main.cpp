// KELMA: registers, routes and archives a municipality's correspondence.

#include "core/clock.h"
#include "kit/kelmaform.h"
#include "kit/qtprompt.h"
#include "core/session.h"
#include "shell/singleinstance.h"
#include "shell/startup.h"
#include "shell/ui/unmenu.h"

#include <QApplication>
#include <QDir>
#include <QSettings>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZIRVO"));
    QCoreApplication::setApplicationName(QStringLiteral("KELMA"));
    QApplication::setApplicationDisplayName(QStringLiteral("KELMA"));

    QtPrompt prompt;
    SingleInstance instance;
    if (!instance.acquire()) {
        prompt.message(SingleInstance::message());
        return 0;
    }

    SystemClock clock;
    Session session(prompt, clock, [] { return std::make_unique<QSettings>(); });
    WorkstationDefaults defaults{clock.today(), QDir::currentPath(),
                                 QCoreApplication::applicationDirPath()};
    // A location that is not a KELMA database is said, then repaired on the
    // System settings screen like one that could not be reached.
    startup::begin(session, defaults);

    FormRunner runner;
    TFRMMENU menu(session, runner);
    menu.arguments = app.arguments().mid(1);
    prompt.setParent(&menu);
    QObject::connect(&menu, &TFRMMENU::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    menu.show();
    if (qEnvironmentVariableIsSet("KELMA_EXIT_WHEN_READY")) {
        // For the start-up benchmark: runs after the activation sequence, which
        // the first showing queued just before.
        QMetaObject::invokeMethod(&app, [] {
            fputs("ready\n", stdout);
            fflush(stdout);
            QCoreApplication::exit(0);
        }, Qt::QueuedConnection);
    }
    return app.exec();
}
