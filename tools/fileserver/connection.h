#pragma once

#include "clientsocket.h"
#include "operationlog.h"
#include "request.h"

#include <limits>

class DocumentStore;

/// One client's request, from its first line to the log line.
class Connection
{
public:
    Connection(ClientSocket &socket, const DocumentStore &store, OperationLog &log,
               qint64 maxFileSize = std::numeric_limits<qint64>::max());

    void serve();

private:
    void test(Operation &operation);
    void send(Operation &operation, const QString &name);
    void receive(Operation &operation, const QString &name);
    /// Sends a whole reply and ends the connection in order.
    ClientSocket::Status answer(const QByteArray &reply);
    /// Tells a sending client that its file was not stored.
    void refuse(Operation &operation, const QString &result);
    /// The file name line; false (with the result set) when it did not come whole.
    bool readName(Operation &operation, QString &name);

    ClientSocket &m_socket;
    RequestReader m_reader;
    const DocumentStore &m_store;
    OperationLog &m_log;
    qint64 m_maxFileSize;
    bool m_confirmStored = false;
};
