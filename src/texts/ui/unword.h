#pragma once

#include "writereditor.h"

#include "texts/templates.h"

class FormRunner;
class QMenu;

namespace storage {
class RecordAttachments;
}

/// The letter editor: a new letter of the open outgoing record, written in
/// Writer, usually from a template whose placeholders the program fills. F5
/// adds it to the record's attachments (Word, main document, the next number);
/// it is stored with the record's own save like any attachment.
class TFRMWORD : public WriterEditor
{
    Q_OBJECT

public:
    TFRMWORD(Session &session, texts::Office &office, storage::RecordAttachments &attachments,
             const texts::LetterFields &fields, QWidget *parent = nullptr);

    /// The outgoing screen's "Metin Düzenle", with LibreOffice. True when a letter was added.
    static bool write(Session &session, FormRunner &runner, QWidget *parent,
                      storage::RecordAttachments &attachments, const texts::LetterFields &fields);

    /// POPUPCLICK: the template of that number, after the question, in place
    /// of the letter, its placeholders filled; then Writer opens on it.
    void POPUPCLICK(int kayno);

protected:
    void FormActivate() override;
    std::optional<QByteArray> stored() override { return QByteArray(); }
    QString fileName() const override;
    bool opensAtOnce() const override { return false; }
    bool keep(const QByteArray &document) override;

private:
    /// POPUPDOLDUR: one entry per template; each carries the template's number.
    void POPUPDOLDUR();

    storage::RecordAttachments &m_attachments;
    texts::LetterFields m_fields;
    QPushButton *templateButton; // "Şablon Ekle"
    QMenu *templateMenu;         // PopupMenu1
};
