#pragma once

#include "core/prompt.h"

class QWidget;

/// The real dialogs. The only place that shows message boxes and file dialogs.
class QtPrompt : public Prompt
{
public:
    explicit QtPrompt(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &text) override;
    void error(const QString &text, const QString &details = {}) override;
    bool question(const QString &text) override;
    QString openFile(const QString &title, const QString &filter, const QString &folder = {}) override;
    QString saveFile(const QString &title, const QString &filter, const QString &suggested = {}) override;
    QString folder(const QString &title, const QString &start = {}) override;

private:
    QWidget *m_parent;
};
