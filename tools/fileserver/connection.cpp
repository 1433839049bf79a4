#include "connection.h"

#include "documentstore.h"
#include "db/fb/win1254.h"
#include "storage/documentname.h"
#include "storage/fileserverprotocol.h"

#include <vector>

namespace {

// Per connection, whatever the size of the file: memory stays flat.
constexpr qsizetype kBuffer = 256 * 1024;

const QString kOk = QStringLiteral("ok");
const QString kStorageError = QStringLiteral("storage error");
const QString kTooLarge = QStringLiteral("refused: too large");

} // namespace

Connection::Connection(ClientSocket &socket, const DocumentStore &store, OperationLog &log,
                       qint64 maxFileSize)
    : m_socket(socket), m_reader(socket), m_store(store), m_log(log), m_maxFileSize(maxFileSize)
{
}

void Connection::serve()
{
    Operation operation;
    operation.peer = m_socket.peer();

    QByteArray line;
    const RequestReader::Result result = m_reader.readLine(line);
    if (result != RequestReader::Result::Line) {
        operation.result = describe(result);
        m_socket.reset();
        m_log.record(operation);
        return;
    }
    operation.command = printable(fb::win1254::decode(line.left(32)));

    QString name;
    switch (commandOf(line)) {
    case Command::Test:
        test(operation);
        break;
    case Command::Send:
        if (readName(operation, name))
            send(operation, name);
        break;
    case Command::Receive:
        if (readName(operation, name))
            receive(operation, name);
        break;
    case Command::Unknown:
        operation.result = QStringLiteral("unknown command");
        m_socket.reset();
        break;
    }
    m_log.record(operation);
    if (m_confirmStored)
        answer(fileserver::line(QString::fromLatin1(fileserver::TAMAM)));
}

bool Connection::readName(Operation &operation, QString &name)
{
    QByteArray line;
    const RequestReader::Result result = m_reader.readLine(line);
    if (result != RequestReader::Result::Line) {
        operation.result = describe(result);
        m_socket.reset();
        return false;
    }
    name = fb::win1254::decode(line);
    operation.name = printable(name);
    return true;
}

void Connection::test(Operation &operation)
{
    const QByteArray reply = fileserver::line(QString::fromLatin1(fileserver::TAMAM))
                             + fileserver::line(QString::fromLatin1(fileserver::VERSION));
    operation.result = describe(answer(reply));
}

void Connection::send(Operation &operation, const QString &name)
{
    if (const QString problem = documentname::problem(name); !problem.isEmpty()) {
        refuse(operation, QStringLiteral("refused: ") + problem);
        return;
    }
    const std::unique_ptr<Upload> upload = m_store.receive(name);
    const QByteArray start = m_reader.takeRest();
    if (start.size() > m_maxFileSize) {
        refuse(operation, kTooLarge);
        return;
    }
    if (!upload || !upload->write(start.constData(), start.size())) {
        refuse(operation, kStorageError);
        return;
    }
    operation.bytes = start.size();

    std::vector<char> buffer(kBuffer);
    for (;;) {
        qsizetype got = 0;
        const ClientSocket::Status status = m_socket.receive(buffer.data(), kBuffer, got);
        if (status == ClientSocket::Status::Closed)
            break;
        if (status != ClientSocket::Status::Ok) {
            // The upload is dropped with the stored file untouched.
            operation.result = describe(status);
            m_socket.reset();
            return;
        }
        if (operation.bytes + got > m_maxFileSize) {
            // Dropped unfinished, so the stored file stays as it was.
            refuse(operation, kTooLarge);
            return;
        }
        if (!upload->write(buffer.data(), got)) {
            refuse(operation, kStorageError);
            return;
        }
        operation.bytes += got;
    }
    if (!upload->commit()) {
        refuse(operation, kStorageError);
        return;
    }
    operation.result = kOk;
    // Said in words once the operation is logged: a connection that is reset
    // (busy, stopping, idle) also ends without a refusal, and must not pass
    // for a stored file.
    m_confirmStored = true;
}

void Connection::refuse(Operation &operation, const QString &result)
{
    operation.result = result;
    answer(fileserver::line(QString::fromLatin1(fileserver::REFUSED)));
}

ClientSocket::Status Connection::answer(const QByteArray &reply)
{
    const ClientSocket::Status status = m_socket.send(reply);
    if (status == ClientSocket::Status::Ok)
        m_socket.finish();
    else
        m_socket.reset();
    return status;
}

void Connection::receive(Operation &operation, const QString &name)
{
    // A name that could leave the folder is one the store cannot hold.
    const QString problem = documentname::problem(name);
    const std::unique_ptr<QFile> file = problem.isEmpty() ? m_store.open(name) : nullptr;
    if (!file) {
        answer(fileserver::line(QString::fromLatin1(fileserver::NOT_FOUND)));
        operation.result = problem.isEmpty() ? QStringLiteral("not found") : QStringLiteral("refused: ") + problem;
        return;
    }
    if (!file->isOpen()) {
        operation.result = kStorageError;
        m_socket.reset();
        return;
    }

    const qint64 size = file->size();
    ClientSocket::Status status = m_socket.send(fileserver::foundLine(size));
    std::vector<char> buffer(kBuffer);
    while (status == ClientSocket::Status::Ok && operation.bytes < size) {
        const qint64 got = file->read(buffer.data(), kBuffer);
        if (got <= 0) {
            operation.result = kStorageError;
            m_socket.reset();
            return;
        }
        status = m_socket.send(buffer.data(), got);
        if (status == ClientSocket::Status::Ok)
            operation.bytes += got;
    }
    if (status != ClientSocket::Status::Ok) {
        operation.result = describe(status);
        m_socket.reset();
        return;
    }
    m_socket.finish();
    operation.result = kOk;
}
