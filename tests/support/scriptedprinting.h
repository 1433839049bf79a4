#pragma once

#include "reports/printing.h"
#include "reports/ui/previewdialog.h"
#include "reports/ui/reportdesk.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

/// The person at the printer set-up: each answer cancels (nullopt) or chooses
/// printing into the named PDF file.
class ScriptedPrinterSetup : public reports::PrinterSetup
{
public:
    QList<std::optional<QString>> answers;
    int asked = 0;

    bool ask(const QString &, QPageLayout::Orientation, reports::PrinterChoice &choice) override
    {
        ++asked;
        const std::optional<QString> answer = answers.isEmpty() ? std::nullopt : answers.takeFirst();
        if (!answer)
            return false;
        choice.printerName.clear();
        choice.outputFile = *answer;
        return true;
    }
};

/// Looks at the preview instead of waiting on it: its pages' text as the PDF
/// carries it; `then` may press its buttons.
class LookingRunner : public reports::PreviewRunner
{
public:
    int shown = 0;
    int pages = 0;
    bool maximized = false;
    bool fitsWidth = false;
    QString text;
    std::function<void(reports::PreviewDialog &)> then;

    void run(reports::PreviewDialog &preview) override
    {
        ++shown;
        pages = preview.pageCount();
        maximized = preview.opensMaximized;
        fitsWidth = preview.fitsWidth();
        text.clear();
        for (int i = 0; i < pages; ++i)
            text += preview.pageText(i);
        if (then)
            then(preview);
    }
};

/// Text without its spaces and line breaks, which extraction places freely.
inline QString packed(QString s)
{
    s.removeIf([](QChar c) { return c.isSpace() || c == u'\u0000'; });
    return s;
}
