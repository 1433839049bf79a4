#pragma once

#include "shell/programupdate.h"

class Prompt;
class QWidget;

/// What the update needs besides the person: where the service is, the
/// version running, the folder for the download and the installer to hand
/// the package to.
struct UpdatePlan
{
    update::ServiceAddress service;
    QString runningVersion;
    QString tempFolder; ///< TEMP; the system's temporary folder when empty
    update::Installer installer;
    int timeoutMs = 10000;
};

/// The program update: asks (No is the default), fetches the newest
/// release's address and checksum, downloads it with progress, verifies it
/// and hands it to the installer, waiting for its answer. True only when the
/// installer took the package: then the caller ends the program. Every
/// failure is said, and the program goes on.
bool PRGGUNCELLE(Prompt &prompt, const UpdatePlan &plan, QWidget *parent = nullptr);
