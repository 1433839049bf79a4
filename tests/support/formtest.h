#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

/// Shows a form and makes it the active window: keys reach a form's
/// shortcuts only while its window is the active one.
inline void showActive(QWidget &w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

/// Types text key by key. QTest::keyClicks goes through Latin-1 and cannot
/// type ğ, ı, İ, ş, Ğ, Ş; each character is sent here as the key's text.
inline void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
