#include "qtprompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget *owner(QWidget *parent)
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return parent ? parent : QApplication::activeWindow();
}

} // namespace

void QtPrompt::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("KELMA"), text, QMessageBox::Ok, owner(m_parent));
    box.exec();
}

void QtPrompt::error(const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("KELMA"), text, QMessageBox::Ok, owner(m_parent));
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

bool QtPrompt::question(const QString &text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("KELMA"), text,
                    QMessageBox::Yes | QMessageBox::No, owner(m_parent));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Evet"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Hayır"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompt::openFile(const QString &title, const QString &filter, const QString &folder)
{
    return QFileDialog::getOpenFileName(owner(m_parent), title, folder, filter);
}

QString QtPrompt::saveFile(const QString &title, const QString &filter, const QString &suggested)
{
    return QFileDialog::getSaveFileName(owner(m_parent), title, suggested, filter);
}

QString QtPrompt::folder(const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(owner(m_parent), title, start);
}
