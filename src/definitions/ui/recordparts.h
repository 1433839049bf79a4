#pragma once

#include <QMap>
#include <QString>

class BirimRecord;
class KelmaForm;
class QFormLayout;
class QLineEdit;

/// What the record screens of this folder share.
namespace recordparts {

/// The object name of a column's box ("BIRIM" → "nameEdit").
QString boxName(const QString &column);
/// Adds a labelled box for a column to a form layout and to `edits`.
QLineEdit *addBox(QFormLayout *form, QMap<QString, QLineEdit *> &edits, const QString &column,
                  const QString &caption);
/// A record that cannot be opened closes its screen once it is on screen
/// (closing from within its showing would leave the modal loop waiting).
void closeWhenShown(KelmaForm *form);

/// Opens a department or body in the mode its screen was given (tag 0 new,
/// 1 change `bkod`) and shows it in the boxes. False when it cannot be
/// opened; the screen then closes once shown.
bool open(KelmaForm *form, BirimRecord &record, int bkod, const QMap<QString, QLineEdit *> &edits);
/// F5: the boxes into the record, then save. On a refusal the box to
/// correct gets the focus.
bool save(BirimRecord &record, const QMap<QString, QLineEdit *> &edits);

} // namespace recordparts
