#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QRegularExpression>
#include <QShortcut>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QWidget>

/// The shown buttons whose caption names a key ("F7-Yazdır", "ESC-Çıkış") that no
/// shortcut of the window carries: the clerk presses the key and nothing happens.
inline QStringList unboundKeyCaptions(QWidget &window)
{
    static const QRegularExpression named(QStringLiteral("^(F\\d+|ESC)-"));
    QList<QKeySequence> keys;
    for (const QAction *a : window.findChildren<QAction *>())
        keys << a->shortcuts();
    for (const QShortcut *s : window.findChildren<QShortcut *>())
        keys << s->keys();
    QStringList unbound;
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>()) {
        const QRegularExpressionMatch m = named.match(button->text());
        if (!m.hasMatch() || !button->isVisibleTo(&window))
            continue;
        const QString key = m.captured(1) == QLatin1String("ESC") ? QStringLiteral("Esc") : m.captured(1);
        if (!keys.contains(QKeySequence(key)))
            unbound << button->text();
    }
    return unbound;
}

/// The Alt letters of a window's captions that more than one caption uses, as
/// "Alt+Y: Geldiği Yer / Yazdır"; a clerk reaches only one of those by keyboard.
inline QStringList mnemonicClashes(QWidget &window)
{
    QMap<QString, QStringList> byLetter;
    const auto note = [&](const QWidget *w, const QString &text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty() && w->isVisibleTo(&window))
            byLetter[key.toString()] << QString(text).remove(QLatin1Char('&')).trimmed();
    };
    for (const QLabel *label : window.findChildren<QLabel *>())
        if (label->buddy())
            note(label, label->text());
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        note(button, button->text());
    for (const QGroupBox *group : window.findChildren<QGroupBox *>())
        note(group, group->title());
    QStringList clashes;
    for (auto it = byLetter.cbegin(); it != byLetter.cend(); ++it)
        if (it.value().size() > 1)
            clashes << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(" / "));
    return clashes;
}
