#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

/// Templates and letters are Word (.docx) files, kept whole in the blob: a zip
/// of XML parts. What the program does to one it does on the file itself.
namespace wordfile {

/// A .docx holding the given body XML (paragraphs of the w: namespace) on an A4 page.
QByteArray make(const QString &bodyXml);
/// An empty letter: one empty paragraph.
QByteArray blank();
/// A zip that holds a word-processor main part.
bool isWordFile(const QByteArray &bytes);

/// The document's text: paragraphs end with a line break, tabs are tabs.
/// Empty for bytes that are no Word file.
QString plainText(const QByteArray &bytes);
/// The document as simple HTML (paragraphs, alignment, bold, italic,
/// underline), for the letter print.
QString html(const QByteArray &bytes);

struct Replaced
{
    QByteArray bytes; ///< the new file; empty when the input was no Word file
    int count = 0;    ///< placeholders replaced
};

/// Replaces every occurrence of each placeholder with its value, in the body,
/// headers, footers and notes. A placeholder counts wherever its characters
/// follow each other within one paragraph, also when the word processor split
/// them over runs of different formatting: the value takes the format of the
/// placeholder's first character, the rest of the runs keep theirs. Values are
/// not searched again, so a subject holding "[SAYI]" stays as typed. A line
/// break in a value becomes a line break in the document.
Replaced replace(const QByteArray &bytes, const QList<QPair<QString, QString>> &values);

} // namespace wordfile
