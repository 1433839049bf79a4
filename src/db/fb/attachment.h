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

    bool isOpen() const;
    QString database() const;
    QString charset() const;

    std::shared_ptr<detail::AttachmentState> state() const { return m_state; }

private:
    std::shared_ptr<detail::AttachmentState> m_state;
};

} // namespace fb
