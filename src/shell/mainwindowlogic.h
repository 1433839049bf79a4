#pragma once

#include <QList>
#include <QString>

#include <array>
#include <functional>

class Session;

namespace fb {
class Transaction;
}

/// The rules behind the main window: general settings, the notification panel
/// and the trimming of the menu to the user's rights.
namespace mainwindow {

/// The program's version as the main window shows it.
inline const QString kVersionText = QStringLiteral("21.001");

/// Reads the general settings into the session and gives them their defaults;
/// warns when no place to keep documents is left. Returns the name of the
/// user's department, or a null text when the user has none.
QString TANIMOKU(Session &session);

/// The counts of the notification panel.
struct Notifications
{
    bool ran = false; ///< false for a negative department: nothing to show
    std::array<QString, 3> captions;
    std::array<qint64, 3> counts{};

    /// The panel shows only when something is waiting.
    bool anyWaiting() const;
};

/// Routing rows waiting for approval, as the user's department sees them
/// (department 0: the whole institution).
Notifications EVDURGUNC(fb::Transaction &t, int department);

/// The menu's rule: in each group an item whose code has the entry right
/// exactly "H" is hidden; a group left with no item shown is hidden too, so
/// that no menu opens empty. `shownFromOutset` tells the items that open a
/// screen from those hidden whatever the rights say.
struct MenuTrim
{
    QList<int> hiddenCodes;
    QList<int> hiddenGroups; ///< indexes into the groups given
};
MenuTrim trimMenu(const QList<QList<int>> &groupCodes,
                  const std::function<QString(int code)> &entryRight,
                  const std::function<bool(int code)> &shownFromOutset);

} // namespace mainwindow
