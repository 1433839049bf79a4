#pragma once

#include "core/choices.h"

#include "db/cachedrecords.h"

#include <QList>
#include <QString>

class Session;

/// Archive document kinds (ECINS), each in a section (ECTUR) with its ordered
/// additional-information fields (ECTAN).
namespace archivekinds {

struct Kind
{
    int ECKOD = 0;
    QString ECINS;
    QString ETURADI; ///< the section's name
};

struct Field
{
    QString TUR; ///< 'K' text, 'S' number, 'T' date
    QString ECTAN;
};

struct Section
{
    int ECTUR = 0;
    QString ETURADI;
};

/// Field types: 'K' "Karakter", 'S' "Sayısal", 'T' "Tarih".
const Choices &fieldTypes();

/// The kinds with their section names, by section.
QList<Kind> kinds(fb::Transaction &t);
/// A kind's fields in their order.
QList<Field> fields(fb::Transaction &t, int eckod);

} // namespace archivekinds

/// One kind with its fields as TFRMECBIL edits it: everything is kept in
/// memory until F5 writes it in one go, or F6 drops it.
class ArchiveKindRecord
{
public:
    /// Tag of TFRMECBIL: 0 adds a kind, 1 changes one.
    enum Mode { New = 0, Edit = 1 };

    explicit ArchiveKindRecord(Session &session);

    /// A new kind numbered the highest stored code plus one.
    void openNew();
    /// False, after "Dikkat bir hata oluşru...", when the kind is not there.
    bool openExisting(int eckod);

    Mode mode() const { return m_mode; }
    int ECKOD() const;
    const QList<archivekinds::Section> &sections() const { return m_sections; }

    CachedRecords &kind() { return m_kind; }
    /// The kind's fields: ECKOD, SIRNO, TUR, ECTAN.
    CachedRecords &fields() { return m_fields; }
    /// A new field row of this kind, numbered after the last one; its index.
    int appendField();

    /// F5: true when written and committed. False after a message, and
    /// focusColumn() names the box to correct ("ECINS", or "FIELDS" for the
    /// grid). Throws fb::Error. Whenever it is not saved nothing is written
    /// and everything typed is kept.
    bool save();
    /// F6: drops everything typed.
    void cancel();
    const QString &focusColumn() const { return m_focus; }

private:
    void readSections(fb::Transaction &t);
    void readKind(fb::Transaction &t, int eckod);
    bool refuse(const QString &message, const QString &focus);
    bool checkFields();

    Session &m_session;
    Mode m_mode = New;
    QList<archivekinds::Section> m_sections;
    CachedRecords m_kind;
    CachedRecords m_fields;
    QString m_focus;
};
