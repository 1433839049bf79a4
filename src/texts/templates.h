#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

class Session;

namespace texts {

/// One letter template (SABLON).
struct Template
{
    int kayno = 0;
    QString description; ///< ACIK
};

/// The templates: each change is a short unit of work of its own.
class Templates
{
public:
    explicit Templates(Session &session) : m_session(session) {}

    /// Every template by number, read fresh.
    QList<Template> list();
    /// "Şablon Ekle": the next number under the numbering lock, so that two
    /// workstations adding at once get two numbers; "Giden Evrak Örneği :" and
    /// the number as its description. Throws fb::Error.
    Template add();
    /// A description as left in the list; an empty one is refused with its
    /// message and nothing is written.
    bool describe(int kayno, const QString &description);
    /// Asks, then deletes. True when deleted.
    bool remove(int kayno);

    /// The stored document (METIN); empty when there is none.
    QByteArray content(int kayno);
    void store(int kayno, const QByteArray &document);

    /// Longest description the column takes.
    static constexpr int descriptionLength = 50;
    static QString emptyDescriptionMessage();

private:
    Session &m_session;
};

/// What a template's placeholders are filled with in a letter.
struct LetterFields
{
    QDate date;      ///< GIDTAR
    int number = 0;  ///< GIDNO; 0 while the letter has no number
    QString subject; ///< KONU
};

/// "[TARIH]", "[SAYI]" and "[KONU]" with their values: the date as shown
/// (dd.MM.yyyy), the number in decimal or empty, the subject as typed.
QList<QPair<QString, QString>> placeholders(const LetterFields &fields);

} // namespace texts
