#pragma once

#include <QString>
#include <QStringList>

/// Every message box, question and file dialog goes through this, so that
/// logic and forms can be driven by tests with scripted answers.
class Prompt
{
public:
    virtual ~Prompt() = default;

    /// A plain message ("... Başarıyla Yapıldı.", "DİKKAT! ...").
    virtual void message(const QString &text) = 0;
    /// An error the action could not get past; details hold the technical text.
    virtual void error(const QString &text, const QString &details = {}) = 0;
    /// A Yes/No question, No being the default.
    virtual bool question(const QString &text) = 0;
    /// File to open; empty when cancelled. Filter as Qt writes it ("Resim (*.png *.jpg)").
    virtual QString openFile(const QString &title, const QString &filter, const QString &folder = {}) = 0;
    /// File to write; empty when cancelled.
    virtual QString saveFile(const QString &title, const QString &filter, const QString &suggested = {}) = 0;
    /// A folder; empty when cancelled.
    virtual QString folder(const QString &title, const QString &start = {}) = 0;
};
