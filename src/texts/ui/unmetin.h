#pragma once

#include "writereditor.h"

#include <memory>

class FormRunner;

namespace storage {
class RecordAttachments;
}

/// The attachment text editor: a Word attachment of the open record, edited
/// in Writer. F5 puts the new content into the record's pending attachments
/// (stored with the record's own save), in place of the old one.
class TFRMMETIN : public WriterEditor
{
    Q_OBJECT

public:
    TFRMMETIN(Session &session, texts::Office &office, storage::RecordAttachments &attachments, int row,
              QWidget *parent = nullptr);

    /// A record screen's "Metin Düzenle" of a text attachment, with LibreOffice.
    /// True when the content was changed.
    static bool edit(Session &session, FormRunner &runner, QWidget *parent,
                     storage::RecordAttachments &attachments, int row);
    /// The attachment types it edits: Word and rich text.
    static bool edits(const QString &beltur);

protected:
    std::optional<QByteArray> stored() override;
    QString fileName() const override;
    bool keep(const QByteArray &document) override;

private:
    storage::RecordAttachments &m_attachments;
    int m_row;
};
