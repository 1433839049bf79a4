#pragma once

#include <QList>
#include <QString>

/// A choice box item: what the user sees and the code stored for it.
struct Choice
{
    QString caption;
    QString code;
};

using Choices = QList<Choice>;

namespace choices {

/// Item of a stored code; -1 when no item has it.
int indexOf(const Choices &items, const QString &code);
/// Caption of a stored code; the code itself when no item has it.
QString captionOf(const Choices &items, const QString &code);

} // namespace choices
