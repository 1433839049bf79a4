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

/// A widget of a form by its object name; screens name each widget after the
/// member that holds it ("subjectEdit"). Fails the test when there is none.
template<typename W>
W *child(QWidget &form, const char *name)
{
    W *w = form.findChild<W *>(QString::fromLatin1(name));
    if (!w)
        qWarning("no %s named %s", W::staticMetaObject.className(), name);
    return w;
}
