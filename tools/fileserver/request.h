#pragma once

#include "clientsocket.h"

#include <QByteArray>
#include <QString>

#include <utility>

enum class Command { Test, Send, Receive, Unknown };

Command commandOf(const QByteArray &line);

/// Reads the request lines of one connection (the command and the file name),
/// each ended by LF with an optional CR before it. Bytes that arrive after
/// the last line read are kept: for SEND they are the start of the file.
class RequestReader
{
public:
    enum class Result { Line, TooLong, Cut, Broken, TimedOut, Stopped };

    explicit RequestReader(ClientSocket &socket) : m_socket(socket) {}

    /// The next line without its CR LF.
    Result readLine(QByteArray &line);
    /// Whatever came after the last line.
    QByteArray takeRest() { return std::exchange(m_pending, {}); }

private:
    ClientSocket &m_socket;
    QByteArray m_pending;
};

/// The result as the log shows it.
QString describe(RequestReader::Result result);

/// A received line as the log shows it: control characters, quotes and
/// backslashes escaped, so that no request can forge a log line.
QString printable(const QString &text);
