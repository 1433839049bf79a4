#pragma once

#include <QString>

#include <memory>

namespace fb {

namespace detail {
struct AttachmentState;
}

struct ConnectOptions
{
    /// A bare path opens the file with the embedded engine; "host:path" goes to a server.
    QString database;
    QString user = QStringLiteral("SYSDBA");
    QString password;
    /// lc_ctype; empty attaches without one (the bytes are then the stored ones).
    QString charset = QStringLiteral("WIN1254");
    /// Seconds an attach to a server may take before it gives up.
    int connectTimeout = 10;
    /// Seconds of silence after which the server probes this connection, so a
    /// workstation that vanished frees its locks; 0 leaves the server's setting.
    int dummyPacketInterval = 60;
};

struct CreateOptions
{
    int pageSize = 8192;
    /// Off only for throw-away databases (tests, benchmarks).
    bool forcedWrites = true;
    /// Default character set of the new database.
    QString defaultCharset = QStringLiteral("WIN1254");
};

/// One connection to a database. Not copyable; several transactions may run on it.
class Attachment
{
public:
    Attachment();
    ~Attachment();
    Attachment(const Attachment &) = delete;
    Attachment &operator=(const Attachment &) = delete;

    /// Throws fb::Error. An open attachment is closed first.
    void open(const ConnectOptions &options);
    /// Creates the database file and leaves this attachment open on it.
    void create(const ConnectOptions &options, const CreateOptions &create = {});

    enum class EndAction { Commit, Rollback };
    /// Ends every transaction still running on it with the given action, then detaches.
    void close(EndAction pending = EndAction::Rollback);
    /// Detaches and deletes the database file.
    void drop();

    /// After the connection was lost: gives up its transactions and statements
    /// without committing anything, detaches (ignoring errors) and attaches
    /// again with the options of the last open. The object, and the
    /// transactions made on it, stay the same. Throws fb::Error when the attach
    /// fails; the attachment is then closed.
    void reconnect();
    /// Drops transactions, statements and the handle without a word to the
    /// engine beyond a best-effort rollback and detach.
    void abandon();
    /// Was it opened (so a reconnect knows where to)?
    bool wasOpened() const { return !m_options.database.isEmpty(); }

    bool isOpen() const;
    /// Commits of its transactions so far, in this run.
    quint64 commitCount() const;
    QString database() const;
    QString charset() const;

    std::shared_ptr<detail::AttachmentState> state() const { return m_state; }

private:
    std::shared_ptr<detail::AttachmentState> m_state;
    ConnectOptions m_options;
};

} // namespace fb
