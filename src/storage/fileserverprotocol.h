#pragma once

#include <QByteArray>
#include <QString>

/// What the document file server and its client say to each other: one TCP
/// connection per operation, text lines ended by CR LF in Windows-1254, file
/// content as raw bytes ended by closing the connection.
namespace fileserver {

inline constexpr quint16 defaultPort = 6569;

inline constexpr char TEST[] = "TEST";
inline constexpr char SEND[] = "SEND";
inline constexpr char RECEIVE[] = "RECEIVE";

/// Answer to TEST, followed by the version line.
inline constexpr char TAMAM[] = "TAMAM";
inline constexpr char VERSION[] = "V2";
/// Answer to SEND when the file was not stored. The client ends its side
/// after the bytes and the server closes once the file is in place, so an
/// order of SEND and RECEIVE is kept; a client may also just close.
inline constexpr char REFUSED[] = "HATA";
/// Answer to RECEIVE for a name the server does not hold.
inline constexpr char NOT_FOUND[] = "0";

/// A request or reply line longer than this is not ours; nobody waits for its end.
inline constexpr int maxLineBytes = 1024;

/// Text as it travels: Windows-1254 bytes and CR LF.
QByteArray line(const QString &text);
/// A received line without its LF and a CR before it, decoded.
QString text(QByteArray line);

/// Answer to RECEIVE for a name the server holds: "1", a space and the size
/// in bytes, so that a client can tell a complete transfer from a cut one.
QByteArray foundLine(qint64 size);
/// Size announced by a found line; -1 when the line carries none (any line but
/// "0" means found, and other servers may answer without a size).
qint64 announcedSize(const QString &foundLine);

} // namespace fileserver
