#pragma once

#include "admin.h"

#include <QCoreApplication>

#include <memory>

/// print-register DB --register gelen|giden|dilekce --year Y [--month M] [--department BKOD] --pdf FILE
int printRegisterCommand(AdminContext &c);

/// The application object of the tool: one that can draw text when the
/// command needs it (offscreen when there is no display), a plain one otherwise.
std::unique_ptr<QCoreApplication> makeAdminApplication(int &argc, char **argv);
