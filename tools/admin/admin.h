#pragma once

#include "db/fb/attachment.h"

#include <QStringList>
#include <QTextStream>

/// What every command of the administrator's tool gets.
struct AdminContext
{
    QStringList args;      ///< the command's own arguments
    QString user;          ///< database login (--user), SYSDBA by default
    QString password;      ///< --password-stdin, KELMA_DB_PASSWORD, --password
    QTextStream &out;
    QTextStream &err;

    fb::ConnectOptions connect(const QString &database, const QString &charset = QStringLiteral("WIN1254")) const;
    /// Opens a database, or prints a plain Turkish reason and returns false.
    bool open(fb::Attachment &attachment, const QString &database) const;
};

struct AdminCommand
{
    const char *name;
    const char *usage;
    const char *help;
    int (*run)(AdminContext &context);
};

int createMainCommand(AdminContext &c);
int createYearCommand(AdminContext &c);
int infoCommand(AdminContext &c);
int upgradeCommand(AdminContext &c);
int checkCommand(AdminContext &c);
int indexesCommand(AdminContext &c);
