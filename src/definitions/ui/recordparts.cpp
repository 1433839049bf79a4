#include "recordparts.h"

#include "kit/kelmaform.h"
#include "core/guarded.h"
#include "definitions/departments.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace recordparts {

QString boxName(const QString &column)
{
    static const QMap<QString, QString> names = {
        {QStringLiteral("KODU"), QStringLiteral("shortCodeEdit")}, {QStringLiteral("BIRIM"), QStringLiteral("nameEdit")},
        {QStringLiteral("YETKILI"), QStringLiteral("contactEdit")}, {QStringLiteral("UNVAN"), QStringLiteral("titleEdit")},
        {QStringLiteral("EMAIL"), QStringLiteral("emailEdit")}, {QStringLiteral("ONEK"), QStringLiteral("prefixEdit")}};
    return names.value(column, column);
}

QLineEdit *addBox(QFormLayout *form, QMap<QString, QLineEdit *> &edits, const QString &column,
                  const QString &caption)
{
    auto *edit = new QLineEdit(form->parentWidget());
    edit->setObjectName(boxName(column));
    auto *label = new QLabel(caption, form->parentWidget());
    label->setBuddy(edit);
    form->addRow(label, edit);
    edits.insert(column, edit);
    return edit;
}

void closeWhenShown(KelmaForm *form)
{
    QMetaObject::invokeMethod(form, [form] { form->closeForm(0); }, Qt::QueuedConnection);
}

bool open(KelmaForm *form, BirimRecord &record, int bkod, const QMap<QString, QLineEdit *> &edits)
{
    bool opened = false;
    guarded(form->session(), [&] {
        if (form->tag == BirimRecord::Edit) {
            opened = record.openExisting(bkod);
        } else {
            record.openNew();
            opened = true;
        }
    });
    if (!opened) {
        closeWhenShown(form);
        return false;
    }
    for (auto it = edits.begin(); it != edits.end(); ++it)
        it.value()->setText(record.value(it.key()).toString());
    return true;
}

bool save(BirimRecord &record, const QMap<QString, QLineEdit *> &edits)
{
    for (auto it = edits.begin(); it != edits.end(); ++it) {
        const QString text = it.value()->text();
        record.setValue(it.key(), text.isEmpty() ? QVariant() : QVariant(text));
    }
    bool saved = false;
    if (!guarded(record.session(), [&] { saved = record.save(); }))
        return false;
    if (saved)
        return true;
    if (QLineEdit *box = edits.value(record.focusColumn()))
        box->setFocus();
    return false;
}

} // namespace recordparts
