#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QWidget>

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
