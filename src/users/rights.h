#pragma once

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

/// The current right of one flag, as HAKBUL left it.
const QString &current(const Session &session, Flag flag);

/// The name a screen code has in the rights screens; empty for code 50 and
/// codes that name nothing.
QString caption(int code);

} // namespace rights
