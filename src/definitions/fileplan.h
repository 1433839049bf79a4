#pragma once

#include <QList>
#include <QSet>
#include <QString>

class Session;

namespace fb {
class Transaction;
}

/// The standard file plan (SDP): main codes of 3 characters, sub-codes made of
/// their parent, a full stop and more characters, at most 15 in all. Registers
/// accept only leaf codes, those without sub-codes (marked TUR 'D').
namespace fileplan {

constexpr int kMainLength = 3;
constexpr int kMaxLength = 15;

struct Code
{
    QString KOD;
    QString ACIK;
};

/// How the code list paints a code: main codes maroon, codes with sub-codes
/// red (this wins), others in the grid's colour.
enum class Shade { Plain, Main, HasSubCodes };

/// The codes that have sub-codes, worked out from a list of codes: a code has
/// sub-codes when some code begins with it and a full stop.
QSet<QString> withSubCodes(const QList<QString> &codes);
Shade shade(const QString &code, const QSet<QString> &withSubCodes);

/// Search mode of the dialog: by code ('1') or by description ('2').
enum class Mode { ByCode, ByDescription };

/// The code list of the dialog: one search and, computed with it once, which
/// of all codes have sub-codes, so that painting asks the database nothing.
class Search
{
public:
    explicit Search(Session &session);

    /// SORGULA. `text` is the box as typed: the code box in ByCode mode, the
    /// description box in ByDescription mode; with `kelimeAra` only the last
    /// word of the description is looked for (with its blank in front).
    void SORGULA(Mode mode, const QString &text, bool kelimeAra, bool lastKeyBlank);

    const QList<Code> &rows() const { return m_rows; }
    Shade shade(int row) const { return fileplan::shade(m_rows[row].KOD, m_withSubCodes); }

    /// The statement and parameter of a search, as it runs.
    static QString sql(Mode mode, const QString &text, bool kelimeAra, bool lastKeyBlank, QString *pattern);

private:
    Session &m_session;
    QList<Code> m_rows;
    QSet<QString> m_withSubCodes;
};

/// "ANA KODLAR": the main codes, by code.
QList<Code> mainCodes(fb::Transaction &t);
/// The row the main-code list opens on: code 251, else the first.
int startRow(const QList<Code> &mains);
/// First main code whose description begins with a text (exact case); -1 when none.
int firstDescribedAs(const QList<Code> &mains, const QString &text);

/// Choosing a code: refused, with "DİKKAT! Detay Kod için İşlem Yapmalısınız..",
/// when it has sub-codes. True when it may be returned. Throws fb::Error.
bool mayChoose(Session &session, const QString &code);

/// "Ana Hesap Kontrolü": marks every leaf code 'D' and every other code empty,
/// all in one transaction, and says so. Throws fb::Error; nothing is changed then.
void markLeaves(Session &session);

} // namespace fileplan
