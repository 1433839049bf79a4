#pragma once

#include "registerchecks.h"

#include "db/cachedrecords.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Session;

namespace storage {
class RecordAttachments;
}

/// An archive document kind as the kind box offers it.
struct ArchiveKind
{
    int ECKOD = 0;
    QString ECINS;
};

/// One additional-information attribute of the chosen kind ("Ek Bilgiler").
struct ArchiveAttribute
{
    int SIRNO = 0;   ///< its place in the kind; stored as ARSEKBILGI.SIRA
    QString TUR;     ///< 'T' a date, anything else free text
    QString ECTAN;   ///< its caption
    QString value;   ///< what is typed in its box
    bool isDate() const { return TUR == QLatin1String("T"); }
};

/// One archive record being registered or changed: its ARSIV row and the
/// values of its kind's additional-information boxes (ARSEKBILGI), kept in
/// memory until save. The save numbers ARSNO under the numbering lock and
/// writes both in one short transaction of its own.
class ArchiveRecord
{
public:
    enum Mode { New = 1, Edit = 2 };
    /// Boxes the screen has for the kind's attributes; later ones are not shown.
    static constexpr int kShownAttributes = 6;

    explicit ArchiveRecord(Session &session);

    void openNew();
    /// Edit mode; false (and a message) when the record is no longer there.
    bool openExisting(int kayno);

    Mode mode() const { return m_mode; }
    int kayno() const { return m_kayno; }

    QVariant value(const QString &column) const;
    void setValue(const QString &column, const QVariant &value);

    QList<RegisterDepartment> departments();
    /// The department chosen; new mode copies its authorised person, edit mode
    /// asks first. The department changes either way.
    void setDepartment(const RegisterDepartment &department);
    /// Double-click on an authorised-person box: copies again without asking.
    void takeAuthorisedFrom(const RegisterDepartment &department);

    /// The kinds, by name.
    QList<ArchiveKind> kinds();
    /// A kind chosen: the previous kind's attributes and values go, the new
    /// kind's attributes are read (all of them; the screen shows six).
    void setKind(int eckod);
    const QList<ArchiveAttribute> &attributes() const { return m_attributes; }
    /// n from 0; values of attributes beyond the list are ignored.
    void setAttributeValue(int n, const QString &value);

    QString SACK1() const;
    QString SACK2() const;

    /// Saved with the record in the same unit, when the screen has them.
    storage::RecordAttachments *attachments = nullptr;

    /// F5. `typedDate` is ARSTAR as typed, dd/MM/yyyy. True when saved and committed.
    bool save(const QString &typedDate);
    void cancel();

    /// Deletes a record from the list, after asking, with its attachment rows,
    /// their contents in the yearly database and its additional information.
    /// True when deleted.
    static bool remove(Session &session, int kayno);

    static const QStringList &columns();
    static QString caption(const QString &column);

private:
    void readAttributes(int eckod);
    void readValues();
    bool validate();

    Session &m_session;
    Mode m_mode = New;
    int m_kayno = 0;
    CachedRecords m_row;
    QList<ArchiveAttribute> m_attributes;
    /// The kind as read: a record whose kind was deleted since keeps it.
    QVariant m_storedKind;
};
