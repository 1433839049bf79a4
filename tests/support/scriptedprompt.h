#pragma once

#include "core/prompt.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Plays the person in front of the message boxes. Each expected prompt is
/// queued with its answer; whatever is asked is written to the transcript. A
/// prompt nobody expected is recorded and answered safely (No, cancel), and
/// done() then fails, with report() saying what was shown.
class ScriptedPrompt : public Prompt
{
public:
    enum class Kind { Message, Error, Question, OpenFile, SaveFile, Folder };

    /// Expects a prompt of this kind whose text contains `text`.
    ScriptedPrompt &expect(Kind kind, const QString &text, const QString &answer = {});
    ScriptedPrompt &expectMessage(const QString &text) { return expect(Kind::Message, text); }
    ScriptedPrompt &expectError(const QString &text) { return expect(Kind::Error, text); }
    ScriptedPrompt &expectQuestion(const QString &text, bool yes)
    {
        return expect(Kind::Question, text, yes ? QStringLiteral("yes") : QStringLiteral("no"));
    }
    ScriptedPrompt &expectOpenFile(const QString &path) { return expect(Kind::OpenFile, {}, path); }
    ScriptedPrompt &expectSaveFile(const QString &path) { return expect(Kind::SaveFile, {}, path); }
    ScriptedPrompt &expectFolder(const QString &path) { return expect(Kind::Folder, {}, path); }

    /// Every expected prompt came, and nothing else.
    bool done() const { return m_pending.isEmpty() && m_unexpected.isEmpty(); }
    QString report() const;
    /// Everything shown, in order, as "kind: text".
    const QStringList &transcript() const { return m_transcript; }
    void clear();

    void message(const QString &text) override;
    void error(const QString &text, const QString &details = {}) override;
    bool question(const QString &text) override;
    QString openFile(const QString &title, const QString &filter, const QString &folder = {}) override;
    QString saveFile(const QString &title, const QString &filter, const QString &suggested = {}) override;
    QString folder(const QString &title, const QString &start = {}) override;

private:
    struct Expected
    {
        Kind kind;
        QString text;
        QString answer;
    };
    QString take(Kind kind, const QString &text, bool *found);

    QList<Expected> m_pending;
    QStringList m_unexpected;
    QStringList m_transcript;
};
