#pragma once

#include <QDateTime>
#include <QString>

class Session;

/// Approval of one routing row: an incoming document seen by its department
/// (register 1), an outgoing one sent (register 2).
class Approval
{
public:
    Approval(Session &session, int register_, int kayno, int bkod);

    /// Reads the row's state. False when the row is not there.
    bool load();
    /// Already approved: the dialog only shows what was recorded.
    bool approved() const { return m_approved; }

    QString caption() const;
    /// What the three boxes show: for a new approval now, the default note and
    /// the user; for an approved row what was stored.
    QString timeText() const;
    QString note() const;
    QString user() const;

    /// Records "Evet" (E) or "Hayır" (H) with the note, at the time of saving,
    /// and commits. False (and a message) when it could not be written.
    bool save(bool yes, const QString &note);

private:
    Session &m_session;
    int m_register, m_kayno, m_bkod;
    bool m_approved = false;
    QDateTime m_time;
    QString m_note, m_user;
};
