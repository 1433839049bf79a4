#pragma once

#include <QString>

#include <functional>

namespace fb {
class Attachment;
}

/// The administrator's three checks of a main database. Each writes its
/// progress and findings as log lines; database errors are thrown and stop the
/// check where it failed. Each check is one transaction of its own: a check
/// that fails leaves nothing of itself behind.
class ConsistencyChecks
{
public:
    using Log = std::function<void(const QString &line)>;
    /// Steps done of the total, while a long check runs.
    using Progress = std::function<void(int done, int total)>;

    ConsistencyChecks(fb::Attachment &main, Log log, Progress progress = {});

    /// "Generatör Kontrolü": brings each key generator up to the highest key in
    /// use. A generator is never lowered: keys once handed out may still be
    /// held by rows elsewhere (routing rows, attachment files).
    void repairGenerators();
    /// "Kullanıcı Hakları Düzenle": gives user 1 every right on the screen codes
    /// it lacks, and every other user a view-and-change row for each code of
    /// user 1. Existing rows are never changed. Commits all or nothing.
    void completeRights();
    /// "Belge Kontrolleri": lists the attachment rows without stored content.
    void reportEmptyAttachments();

private:
    fb::Attachment &m_main;
    Log m_log;
    Progress m_progress;
};
