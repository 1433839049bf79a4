#pragma once

#include <QList>
#include <QString>

class Session;

/// Rights per user and screen code: four flags G (entry), K (add), D (change),
/// S (delete), each "E" or "H". They apply only while user control is on.
namespace rights {

/// How many of a user's rows take part in look-ups.
inline constexpr int kGridRows = 50;

enum class Flag { G, K, D, S };

/// User control (TANIM.UDUR "1") is on: logins happen and rights apply.
bool inForce(const Session &session);

/// Loads the logged-in user's rights rows into the session, in the order the
/// database gives them.
void RIGHTSAKTAR(Session &session);

/// Looks a code up among the loaded rows and sets the session's current
/// rights; a code without a row leaves all four empty.
void HAKBUL(Session &session, int code);

/// Whether user control is on and the code's Giriş is "H", looked up among
/// the loaded rows without touching the session's current rights (a clock
/// tick may ask while a screen relies on them).
bool entryRefused(const Session &session, int code);

/// The current right of one flag, as HAKBUL left it.
const QString &current(const Session &session, Flag flag);

/// The name a screen code has in the rights screens; empty for codes that
/// name nothing.
QString caption(int code);

/// What one screen code does: which of its four flags any part of the
/// program reads, and where. A flag no screen reads can be stored but
/// changes nothing, so the rights screens show it greyed.
struct CodeUse
{
    int code = 0;
    bool G = false, K = false, D = false, S = false;
    QString governs; ///< what the code's flags decide, for the administrator
};

/// The codes that mean something, in code order.
const QList<CodeUse> &codeUses();
/// The use of a code; a code that means nothing has no flag in effect.
CodeUse codeUse(int code);
/// Whether a flag of a code takes effect anywhere.
bool takesEffect(int code, Flag flag);

} // namespace rights
