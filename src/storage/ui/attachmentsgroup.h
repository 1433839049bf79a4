#pragma once

#include "storage/attachments.h"

#include <QGroupBox>

#include <functional>
#include <memory>

class DocumentView;
class QPushButton;
class QTableWidget;
class Session;

/// The attachment group of a record screen: the grid of the record's
/// attachments, "Ekle", "Değiş", "Sil", "Yazdır", "Detay", and the view of
/// the selected one. Everything stays in memory until the record's save,
/// which writes it inside the record's own unit (attachments().apply).
class AttachmentsGroup : public QGroupBox
{
    Q_OBJECT

public:
    AttachmentsGroup(Session &session, storage::Register kind, QWidget *parent = nullptr);
    ~AttachmentsGroup() override;

    /// Reads the record's attachments (FormActivate); false when the yearly
    /// database of `year` could not be opened (the message was shown).
    bool open(int kayno, int year);
    storage::RecordAttachments &attachments() { return *m_attachments; }

    /// After the record's unit committed; BEKLEYEN keeps what did not arrive.
    storage::AfterSave saved();
    /// F6.
    void cancel();

    /// Rights of the record screen (HAKVER): add, change, delete.
    void setRights(bool add, bool change, bool remove);

    /// "Detay" and a double-click on the picture; the record screen opens the
    /// documents window and the picture viewer through its runner.
    std::function<void()> openDetails;
    std::function<void(const QImage &)> openPicture;
    /// "Yazdır"; without it the button says the attachment is no text.
    std::function<void()> printAttachment;
    /// A text attachment's "Metin Düzenle" (a double-click or Enter on its row): the
    /// record screen opens the text editor; true when the content changed.
    std::function<bool(int row)> editText;
    /// Runs `editText` on a row (a double-click, or Enter on the grid).
    void editRow(int row);
    /// Shows the rows again after a change made beside the group (a letter written).
    void refresh(int select);

    QPushButton *addButton() const { return m_addButton; }
    QTableWidget *grid() const { return attachmentsGrid; }
    DocumentView *view() const { return documentView; }

    void add();
    void change();
    void removeSelected();
    /// "Yazdır", or Ctrl+P on the grid.
    void printSelected();
    /// Shows the selected attachment (IBTEXTAfterScroll).
    void showSelected();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillGrid(int select = -1);
    int selectedRow() const;
    void updateEditing();

    Session &m_session;
    storage::Register m_kind;
    std::unique_ptr<storage::RecordAttachments> m_attachments;
    bool m_filling = false;
    bool m_canChange = true, m_canDelete = true;
    QTableWidget *attachmentsGrid;   // DBGrid of IBTEXT
    QPushButton *m_addButton;        // "Ekle"
    QPushButton *changeButton;       // "Değiş"
    QPushButton *deleteButton;       // "Sil"
    QPushButton *printButton;        // "Yazdır"
    QPushButton *detailButton;       // "Detay"
    DocumentView *documentView;      // picture box and document viewer
};
