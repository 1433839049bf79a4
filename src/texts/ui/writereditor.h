#pragma once

#include "kit/kelmaform.h"
#include "texts/editeddocument.h"

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace texts {
class Office;
}

/// What the three editors share: the document is edited in LibreOffice
/// Writer, a window of its own, and this screen says so; "F5-Kayıt" takes the
/// saved file back, "F6-Vazgeç" leaves it. Without LibreOffice the screen
/// says so and closes.
class WriterEditor : public KelmaForm
{
    Q_OBJECT

public:
    WriterEditor(Session &session, texts::Office &office, QWidget *parent = nullptr);

    /// The hidden "Yazdır": the document through the letter print. Set to the
    /// report desk's letter; tests replace it.
    std::function<void(const QByteArray &html)> printLetter;

    void save();
    void cancel();
    void print();
    /// "Writer'da Aç": opens the document in Writer again (after it was closed there).
    void reopen();

protected:
    void FormActivate() override;
    /// What is stored (empty for a new document), and the working file's name;
    /// called on opening. Nothing, after the message, when the stored document
    /// cannot be read: the editor then opens nothing.
    virtual std::optional<QByteArray> stored() = 0;
    virtual QString fileName() const = 0;
    /// Whether Writer is started on opening (the letter editor waits for a template).
    virtual bool opensAtOnce() const { return true; }
    /// Keeps the document taken back at F5; true when the editor may close.
    virtual bool keep(const QByteArray &document) = 0;

    texts::EditedDocument &document() { return m_document; }
    QVBoxLayout *body() const { return m_body; }
    /// Shows the working file's place in the note.
    void showNote();

    QPushButton *saveButton;   // BitBtn1 "F5-Kayıt"
    QPushButton *cancelButton; // BitBtn2 "F6-Vazgeç"
    QPushButton *reopenButton; // "Writer'da Aç"
    QPushButton *printButton;  // "Yazdır", hidden

private:
    texts::Office &m_office;
    texts::EditedDocument m_document;
    bool m_opened = false;
    QVBoxLayout *m_body;
    QLabel *noteLabel;
};
