#include "request.h"

#include "storage/fileserverprotocol.h"

Command commandOf(const QByteArray &line)
{
    if (line == fileserver::TEST)
        return Command::Test;
    if (line == fileserver::SEND)
        return Command::Send;
    if (line == fileserver::RECEIVE)
        return Command::Receive;
    return Command::Unknown;
}

RequestReader::Result RequestReader::readLine(QByteArray &line)
{
    for (;;) {
        const qsizetype end = m_pending.indexOf('\n');
        if (end >= 0 && end <= fileserver::maxLineBytes) {
            line = m_pending.left(end);
            if (line.endsWith('\r'))
                line.chop(1);
            m_pending.remove(0, end + 1);
            return Result::Line;
        }
        if (end > fileserver::maxLineBytes || m_pending.size() > fileserver::maxLineBytes)
            return Result::TooLong;

        char buffer[4096];
        qsizetype got = 0;
        switch (m_socket.receive(buffer, sizeof buffer, got)) {
        case ClientSocket::Status::Ok:
            m_pending.append(buffer, got);
            break;
        case ClientSocket::Status::Closed: return Result::Cut;
        case ClientSocket::Status::Broken: return Result::Broken;
        case ClientSocket::Status::TimedOut: return Result::TimedOut;
        case ClientSocket::Status::Stopped: return Result::Stopped;
        }
    }
}

QString describe(RequestReader::Result result)
{
    switch (result) {
    case RequestReader::Result::Line: return QStringLiteral("ok");
    case RequestReader::Result::TooLong: return QStringLiteral("line too long");
    case RequestReader::Result::Cut: return QStringLiteral("incomplete request");
    case RequestReader::Result::Broken: return describe(ClientSocket::Status::Broken);
    case RequestReader::Result::TimedOut: return describe(ClientSocket::Status::TimedOut);
    case RequestReader::Result::Stopped: return describe(ClientSocket::Status::Stopped);
    }
    return {};
}

QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}
