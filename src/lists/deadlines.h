#pragma once

#include "listdescription.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

struct GeneralSettings;

namespace fb {
class Transaction;
}

/// Reply deadlines: when a document or petition that asks for a reply is due,
/// which rows are overdue or near their date, and how many of them a user's
/// department has.
namespace deadlines {

enum class Register { Incoming, Outgoing, Petition };

/// The two general settings the rules follow.
struct Rules
{
    int legalDays = 30; ///< a petition without a date of its own is due this many days after registration
    int soonDays = 3;   ///< a deadline this many days away or less is near

    static Rules of(const GeneralSettings &general);
};

/// What a row holds about its reply.
struct Reply
{
    QString CEVDUR;
    QVariant CEVNO; ///< 0 or NULL: no reply yet
    QDate CEVTAR;
    QDate registered; ///< GELTAR of a petition
};

/// CEVTAR when set; for a petition without it, its registration plus the legal
/// period; otherwise none (an invalid date).
QDate dueDate(Register reg, const Reply &row, const Rules &rules);
/// Days from today to the due date (0 on the day, negative when past) of a row
/// that asks for a reply and has none; nothing for every other row.
std::optional<int> daysLeft(Register reg, const Reply &row, const Rules &rules, const QDate &today);

enum class Mark { None, Waiting, Near, Overdue };
Mark markOf(const std::optional<int> &days, const Rules &rules);
/// "3 gün kaldı", "Bugün", "2 gün geçti"; empty for no deadline.
QString daysText(const std::optional<int> &days);

enum class Which { Overdue, Near };

/// The rows of a register that are overdue or near, for a query whose columns
/// carry `prefix` ("G1.", "D." or none). Written as the deadline indexes' keys,
/// so that the engine reads those indexes.
lists::Condition condition(Register reg, Which which, const QString &prefix, const Rules &rules,
                           const QDate &today);

/// The counts the main window shows beside the approval counts.
struct Counts
{
    bool ran = false; ///< false for a negative department: nothing to show
    qint64 overdueIncoming = 0;
    qint64 nearIncoming = 0;
    qint64 overduePetitions = 0;
    qint64 nearPetitions = 0;

    bool any() const { return overdueIncoming || nearIncoming || overduePetitions || nearPetitions; }
};

/// One count statement of the minute tick, with its parameters: incoming
/// documents routed to the department, petitions given to it; department 0
/// counts the whole institution.
struct CountQuery
{
    QString sql;
    fb::Params params;
};
CountQuery countQuery(Register reg, Which which, int department, const Rules &rules, const QDate &today);

/// The four counts, one indexed statement each.
Counts count(fb::Transaction &t, int department, const Rules &rules, const QDate &today);

/// One overdue document of the report, under its department.
struct OverdueLine
{
    QString department; ///< the routed (incoming) or given (petition) department
    QString kind;       ///< "Gelen Evrak" or "Dilekçe"
    int number = 0;     ///< GELNO or DILNO
    QDate registered;
    QString from;       ///< sending body or applicant
    QString subject;
    QDate due;
    int daysOver = 0;
};

/// Every overdue incoming document and petition the department sees (0: all),
/// ordered by department, then longest overdue first.
QList<OverdueLine> overdueLines(fb::Transaction &t, int department, const Rules &rules, const QDate &today);

/// The lines as the report's rows (reports::overdueFields()).
QList<QStringList> reportRows(const QList<OverdueLine> &lines);

/// The list filter "Cevap Süresi": Tümü / Süresi Geçen / Yaklaşan.
lists::Filter filter(Register reg, const QString &prefix);
/// The column of days left or over.
lists::Column column(Register reg);

} // namespace deadlines
