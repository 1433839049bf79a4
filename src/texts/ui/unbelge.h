#pragma once

#include "kit/kelmaform.h"

namespace storage {
class RecordAttachments;
}
class QLabel;
class QPushButton;
class QTableWidget;

/// "BELGELER": the record's documents as a list, and the scanner entry.
class TFRMBELGE : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMBELGE(Session &session, QWidget *parent = nullptr);

    /// Lists the record's attachments; without it the list stays empty.
    void setAttachments(const storage::RecordAttachments *attachments) { m_attachments = attachments; }

protected:
    void FormActivate() override;

private:
    const storage::RecordAttachments *m_attachments = nullptr;
    QTableWidget *documentsGrid; // "BELGE LİSTESİ"
    QLabel *pictureLabel;
    QPushButton *scanButton;     // "Belge Tara"
    QPushButton *exitButton;     // "F6-Çıkış"
};
