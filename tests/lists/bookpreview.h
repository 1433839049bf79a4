#pragma once

#include "scriptedprinting.h"

#include "core/session.h"
#include "lists/ui/registerlistform.h"

#include <QStringList>
#include <QtTest>

/// Presses F7 on a list with previews on and looks at what `preview` was shown:
/// the texts of `expected` missing from the register book's pages (packed),
/// or {"no preview"} when none was shown.
inline QStringList pressF7(RegisterListForm &form, Session &session, LookingRunner &preview,
                           const QStringList &expected)
{
    session.general.ONIZ = QStringLiteral("E");
    form.reportDesk().setPreviewRunner(&preview);
    const int before = preview.shown;
    QTest::keyClick(&form, Qt::Key_F7);
    if (preview.shown == before)
        return {QStringLiteral("no preview")};
    QStringList missing;
    const QString text = packed(preview.text);
    for (const QString &e : expected)
        if (!text.contains(packed(e)))
            missing << e;
    return missing;
}
