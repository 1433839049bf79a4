#include "fieldrows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

FieldRows::FieldRows(QWidget *form)
    : m_form(form)
    , m_grid(new QGridLayout)
{
}

void FieldRows::add(const QString &caption, QWidget *buddy, QLayout *content)
{
    auto *label = new QLabel(caption, m_form);
    label->setBuddy(buddy);
    m_grid->addWidget(label, m_row, 0, Qt::AlignRight | Qt::AlignTop);
    m_grid->addLayout(content, m_row++, 1);
}

void FieldRows::add(QLayout *content)
{
    m_grid->addLayout(content, m_row++, 1);
}

QHBoxLayout *FieldRows::side(std::initializer_list<QWidget *> widgets, bool stretch)
{
    auto *row = new QHBoxLayout;
    for (QWidget *w : widgets)
        row->addWidget(w);
    if (stretch)
        row->addStretch();
    return row;
}
