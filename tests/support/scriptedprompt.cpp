#include "scriptedprompt.h"

namespace {

QString kindName(ScriptedPrompt::Kind k)
{
    switch (k) {
    case ScriptedPrompt::Kind::Message: return QStringLiteral("message");
    case ScriptedPrompt::Kind::Error: return QStringLiteral("error");
    case ScriptedPrompt::Kind::Question: return QStringLiteral("question");
    case ScriptedPrompt::Kind::OpenFile: return QStringLiteral("open file");
    case ScriptedPrompt::Kind::SaveFile: return QStringLiteral("save file");
    case ScriptedPrompt::Kind::Folder: return QStringLiteral("folder");
    }
    return {};
}

} // namespace

ScriptedPrompt &ScriptedPrompt::expect(Kind kind, const QString &text, const QString &answer)
{
    m_pending.append({kind, text, answer});
    return *this;
}

QString ScriptedPrompt::report() const
{
    QStringList lines;
    for (const Expected &e : m_pending)
        lines << QStringLiteral("never shown: %1 \"%2\"").arg(kindName(e.kind), e.text);
    for (const QString &u : m_unexpected)
        lines << QStringLiteral("not expected: %1").arg(u);
    lines << QStringLiteral("transcript:") << m_transcript;
    return lines.join(u'\n');
}

void ScriptedPrompt::clear()
{
    m_pending.clear();
    m_unexpected.clear();
    m_transcript.clear();
}

QString ScriptedPrompt::take(Kind kind, const QString &text, bool *found)
{
    const QString entry = kindName(kind) + QStringLiteral(": ") + text;
    m_transcript << entry;
    if (!m_pending.isEmpty() && m_pending.first().kind == kind
        && text.contains(m_pending.first().text)) {
        *found = true;
        return m_pending.takeFirst().answer;
    }
    *found = false;
    m_unexpected << entry;
    return {};
}

void ScriptedPrompt::message(const QString &text)
{
    bool found;
    take(Kind::Message, text, &found);
}

void ScriptedPrompt::error(const QString &text, const QString &details)
{
    bool found;
    take(Kind::Error, details.isEmpty() ? text : text + u'\n' + details, &found);
}

bool ScriptedPrompt::question(const QString &text)
{
    bool found;
    return take(Kind::Question, text, &found) == QLatin1String("yes");
}

QString ScriptedPrompt::openFile(const QString &title, const QString &, const QString &)
{
    bool found;
    return take(Kind::OpenFile, title, &found);
}

QString ScriptedPrompt::saveFile(const QString &title, const QString &, const QString &)
{
    bool found;
    return take(Kind::SaveFile, title, &found);
}

QString ScriptedPrompt::folder(const QString &title, const QString &)
{
    bool found;
    return take(Kind::Folder, title, &found);
}
