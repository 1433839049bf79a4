#include "buttonrow.h"

#include "kelmaform.h"

#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    return row;
}

SaveCancel saveCancelButtons(KelmaForm &form)
{
    auto *save = new QPushButton(QStringLiteral("F5-Kayıt"), &form);
    auto *cancel = new QPushButton(QStringLiteral("F6-İptal"), &form);
    form.bindKey(save, Qt::Key_F5);
    form.bindKey(cancel, Qt::Key_F6);
    return {save, cancel, buttonRow({save, cancel})};
}
