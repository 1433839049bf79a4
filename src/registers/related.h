#pragma once

#include "db/fb/transaction.h"
#include "db/replies.h"

#include <QString>
#include <QStringList>

#include <exception>

class Prompt;

/// A save refused for a reason the user can mend: the message says what to do.
/// Thrown inside the save transaction so that nothing of it is written.
class Refusal : public std::exception
{
public:
    explicit Refusal(QString message) : m_message(std::move(message)) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return "refused"; }

private:
    QString m_message;
};

/// Answer links between the registers. The answering side holds ILGNO (and,
/// for outgoing letters, ILGDUR naming the register); the answered side holds
/// CEVNO, the answering KAYNO. Both are written in the answering side's save.
namespace related {

/// ILGDUR of an outgoing letter answering an incoming document / a petition.
using replies::kIncoming;
using replies::kPetition;

/// Condition that a GIDEN row (alias) answers an incoming document, not a
/// petition. Rows from before ILGDUR was written count as answers to incoming.
using replies::answersIncoming;
/// The list's join from incoming documents (G1) to their answer (G2).
QString incomingAnswerJoin();
/// Whether an outgoing letter names this incoming document as answered; the
/// incoming document may not be deleted then.
bool incomingIsAnswered(fb::Transaction &t, int gelenKayno);

/// For an outgoing letter: the document it answers — kind text ("Gelen Evr.",
/// "Dilekçe"), number, date, unit, subject; five empty texts when none.
QStringList describeAnswered(fb::Transaction &t, int ilgno, const QString &ilgdur);
/// For an outgoing letter: whether the incoming answer came — state text and
/// particulars (empty when none).
QStringList describeIncomingAnswer(fb::Transaction &t, int cevno);
/// For an incoming document or petition: whether the outgoing answer was sent.
QStringList describeOutgoingAnswer(fb::Transaction &t, int cevno);

/// The link of one answering document while it is open: what is stored and
/// what the user chose since. Saving keeps the final choice: the document
/// answered before is released, the one chosen last is claimed.
class ReplyLink
{
public:
    /// Outgoing letters answer GELEN ('G') or DILEKCE ('D'); incoming documents answer GIDEN.
    enum class Side { Outgoing, Incoming };
    explicit ReplyLink(Side side) : m_side(side) {}

    /// The stored link at opening (0 for none); clears both flags.
    void open(int ilgno, const QString &ilgdur);
    /// "Bul": a document was picked (key 0 from an empty list is ignored).
    void choose(int kayno, const QString &ilgdur = {});
    /// "Sil": asks; false when there is no link or the user said No.
    bool remove(Prompt &prompt);

    int ILGNO() const { return m_ilgno; }
    const QString &ILGDUR() const { return m_ilgdur; }
    bool chosen() const { return m_chosen; }
    bool removed() const { return m_removed; }

    /// Inside the save transaction, after the numbering lock: releases the
    /// document answered before and claims the chosen one. Throws Refusal when
    /// the chosen one was deleted or answered by another document meanwhile.
    void write(fb::Transaction &t, int self) const;
    /// After the commit: the choice is the stored link now.
    void accept();
    /// F6: back to the stored link.
    void revert() { open(m_storedNo, m_storedDur); }

    /// Table of the answered register for a ILGDUR code (none stored: incoming);
    /// empty when unknown.
    QString tableOf(const QString &ilgdur) const;

private:
    Side m_side;
    int m_storedNo = 0;
    QString m_storedDur;
    int m_ilgno = 0;
    QString m_ilgdur;
    bool m_chosen = false;
    bool m_removed = false;
};

} // namespace related
