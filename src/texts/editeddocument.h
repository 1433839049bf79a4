#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

class Prompt;

namespace texts {

class Office;

/// A stored template or letter as Writer edits it: a .docx in a working
/// folder of its own, opened in Writer and taken back when the person says
/// so. Until then the stored content is not touched.
class EditedDocument
{
public:
    EditedDocument(Office &office, Prompt &prompt);
    /// Removes the working folder, unless Writer still has the file open.
    ~EditedDocument();
    EditedDocument(const EditedDocument &) = delete;
    EditedDocument &operator=(const EditedDocument &) = delete;

    /// Writes the working file `fileName` (ending .docx) from what is stored:
    /// a Word file as it is, nothing as an empty letter, anything else — an
    /// older workstation's embedded-document stream, a .doc, an RTF — converted
    /// once by LibreOffice. When that fails it says so and starts empty; the
    /// stored content stays until a new one is saved. False only when the
    /// working file could not be written.
    bool prepare(const QString &fileName, const QByteArray &stored);
    /// Puts a template in place of the letter, converted as prepare() does,
    /// with its placeholders filled. Refused, with the message, while Writer
    /// has the file open, and when the template cannot be read (the letter
    /// stays as it was).
    bool useTemplate(const QByteArray &stored, const QList<QPair<QString, QString>> &values);
    /// Opens the file in Writer; says so when LibreOffice is missing.
    bool openInWriter();

    /// Writer has the file open now (its lock file is beside it).
    bool isOpenInWriter() const;
    /// F5: the document as saved in Writer. Nothing, after the message, while
    /// Writer still has it open (unless the person says Writer is gone), or
    /// when the file is no document or holds no text: an empty document is
    /// never saved over the stored one.
    std::optional<QByteArray> take();
    /// F6: true when the editor may close; asks while Writer has the file open.
    bool mayLeave();

    QString path() const { return m_path; }
    /// The stored content was converted from another format at prepare().
    bool converted() const { return m_converted; }

private:
    QByteArray toWordFile(const QByteArray &stored, QString &why);
    bool write(const QByteArray &bytes);

    Office &m_office;
    Prompt &m_prompt;
    QString m_folder;
    QString m_path;
    bool m_converted = false;
};

} // namespace texts
