#pragma once

#include "core/choices.h"

#include "db/cachedrecords.h"

#include <QList>
#include <QString>

class Session;

/// BIRIM holds both the institution's own departments (TUR 'B') and the
/// external bodies that write to it or receive its letters (TUR 'K'). One
/// generator, GEN_BKOD, numbers both. Departments are written in the main
/// transaction, bodies in the second one.
enum class BirimKind { Department, Body };

struct BodyName
{
    int BKOD = 0;
    QString BIRIM;
};

namespace birim {

fb::Transaction &transaction(Session &session, BirimKind kind);

/// "Kişilik Türü" of a body: GTUR 'K' Kamu, 'T' Tüzel, 'G' Gerçek.
const Choices &kisilik();
/// Captions of the name and YETKILI boxes of a body, by its GTUR.
QString nameCaption(const QString &gtur);
QString personCaption(const QString &gtur);

/// Bodies whose names begin with a text (any text when it is empty), by name.
/// `typed` is upper-cased by Turkish rules; the names are compared upper-cased too.
QList<BodyName> bodiesBeginningWith(Session &session, const QString &typed);

/// The finder's search: names beginning with the whole text, or with its last
/// word when "Kelime Ara" is ticked.
QList<BodyName> findBodies(Session &session, const QString &text, bool kelimeAra, bool lastKeyBlank);

} // namespace birim

/// The list screens: all rows of one kind, and deletion with its use check.
class BirimList
{
public:
    BirimList(Session &session, BirimKind kind);

    void read();
    const CachedRecords &rows() const { return m_rows; }
    /// Row of a code; -1 when it is not listed.
    int rowOf(int bkod) const;

    /// F10: asks, refuses a department or body that a register uses, deletes
    /// and commits at once. True when deleted. Throws fb::Error.
    bool remove(int bkod);

private:
    Session &m_session;
    BirimKind m_kind;
    CachedRecords m_rows;
};

/// The record screens: one department or body, new or changed.
class BirimRecord
{
public:
    /// The mode a record screen receives (and reports: 1 saved, 0 cancelled).
    enum Mode { New = 0, Edit = 1 };

    BirimRecord(Session &session, BirimKind kind);

    void openNew();
    /// False, after "Dikkat bir hata oluşru...", when the row is not there.
    bool openExisting(int bkod);

    Mode mode() const { return m_mode; }
    int BKOD() const;
    QVariant value(const QString &column) const;
    void setValue(const QString &column, const QVariant &value);

    /// F5. True when stored and committed; false after a message, and
    /// focusColumn() names the box to correct. Throws fb::Error; nothing is
    /// written then.
    bool save();
    /// F6: drops what was typed.
    void cancel();
    const QString &focusColumn() const { return m_focus; }
    Session &session() const { return m_session; }

    /// Bodies whose names begin with the last word typed in the name box.
    QList<BodyName> similarNames(const QString &text, bool lastKeyBlank);

    /// The caption of a box, for messages about it.
    QString caption(const QString &column) const;

private:
    bool refuse(const QString &message, const QString &column);
    /// Another department has this name, compared by Turkish capitals.
    bool nameTaken() const;

    Session &m_session;
    BirimKind m_kind;
    Mode m_mode = New;
    CachedRecords m_row;
    QString m_focus;
};
