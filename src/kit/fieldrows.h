#pragma once

#include <QString>

#include <initializer_list>

class QGridLayout;
class QHBoxLayout;
class QLayout;
class QWidget;

/// The caption-and-content rows of a record screen's field column, so that a
/// screen builds each group of fields in a helper of its own.
class FieldRows
{
public:
    explicit FieldRows(QWidget *form);

    /// Not parented: the screen places it in its own layout.
    QGridLayout *layout() const { return m_grid; }

    /// A caption whose mnemonic moves the focus to `buddy`, and the row's content.
    void add(const QString &caption, QWidget *buddy, QLayout *content);
    /// A row under the previous one, without caption.
    void add(QLayout *content);

    /// Widgets side by side, followed by a stretch unless told otherwise.
    static QHBoxLayout *side(std::initializer_list<QWidget *> widgets, bool stretch = true);

private:
    QWidget *m_form;
    QGridLayout *m_grid;
    int m_row = 0;
};
