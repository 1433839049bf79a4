// Prints the throughput of SEND and RECEIVE of one large file through
// kelma-fileserver on loopback, beside a raw loopback copy of the same bytes
// (file to socket to file) measured in the same run, and the peak memory of
// the server and of the client.
//
//   bench_fileserver [MiB] [runs]     (default 256 MiB, 3 runs)
//
// Everything is written into one temporary folder, removed at the end; at
// most three copies of the file exist at once.

#include "storage/fileserverclient.h"

#include "core/prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr size_t kBuffer = 256 * 1024;

class SilentPrompt : public Prompt
{
public:
    void message(const QString &text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    void error(const QString &text, const QString &) override { message(text); }
    bool question(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &) override { return {}; }
    QString folder(const QString &, const QString &) override { return {}; }
};

void writeSource(const QString &path, qint64 mebibytes)
{
    QByteArray block(4 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (qint64 written = 0; written < mebibytes * 1024 * 1024; written += block.size())
        file.write(block);
}

// The same bytes through a loopback socket with nothing else in the way:
// read, send; receive, write, and sync the file as the server and client do.
double rawCopySeconds(const QString &from, const QString &to, bool sync)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(listener, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);

    QElapsedTimer timer;
    timer.start();
    std::thread receiver([&] {
        const int client = ::accept(listener, nullptr, nullptr);
        const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char> buffer(kBuffer);
        ssize_t n;
        while ((n = ::recv(client, buffer.data(), buffer.size(), 0)) > 0)
            [[maybe_unused]] const ssize_t w = ::write(out, buffer.data(), size_t(n));
        if (sync)
            ::fdatasync(out);
        ::close(out);
        ::close(client);
    });
    const int sender = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(sender, reinterpret_cast<sockaddr *>(&address), sizeof address);
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY);
    std::vector<char> buffer(kBuffer);
    ssize_t n;
    while ((n = ::read(in, buffer.data(), buffer.size())) > 0) {
        for (ssize_t sent = 0; sent < n;)
            sent += std::max<ssize_t>(0, ::send(sender, buffer.data() + sent, size_t(n - sent), 0));
    }
    ::close(in);
    ::close(sender);
    receiver.join();
    ::close(listener);
    return timer.nsecsElapsed() / 1e9;
}

qint64 peakKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly);
    const auto match = QRegularExpression(QStringLiteral(R"(VmHWM:\s+(\d+) kB)")).match(QString::fromLatin1(status.readAll()));
    return match.captured(1).toLongLong();
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 mebibytes = std::max(1, app.arguments().value(1, QStringLiteral("256")).toInt());
    const int runs = std::max(1, app.arguments().value(2, QStringLiteral("3")).toInt());
    const double megabytes = mebibytes * 1024.0 * 1024.0 / 1e6;

    QTemporaryDir root;
    const QString temp = root.filePath(QStringLiteral("TEMP"));
    const QString tempoku = root.filePath(QStringLiteral("TEMPOKU"));
    const QString store = root.filePath(QStringLiteral("store"));
    for (const QString &folder : {temp, tempoku, store})
        QDir().mkpath(folder);
    const QString name = QStringLiteral("GEL_1_1.PDF");
    const QString source = QDir(temp).filePath(name);
    writeSource(source, mebibytes);

    QProcess server;
    server.start(QStringLiteral(KELMA_FILESERVER),
                 {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("0"), store});
    server.waitForReadyRead(10000);
    const QString port = QRegularExpression(QStringLiteral(R"(:(\d+),)")).match(QString::fromUtf8(server.readLine())).captured(1);
    if (port.isEmpty()) {
        std::fprintf(stderr, "kelma-fileserver did not start\n");
        return 1;
    }

    SilentPrompt prompt;
    FileServerClient client(QStringLiteral("127.0.0.1"), port, prompt);
    QList<double> raw, rawUnsynced, sent, received;
    std::printf("%lld MiB through loopback, %d runs (MB/s, 1 MB = 10^6 bytes)\n", mebibytes, runs);
    std::printf("%4s %12s %12s %12s %12s\n", "run", "raw", "raw no sync", "SEND", "RECEIVE");
    for (int run = 1; run <= runs; ++run) {
        const QString copy = root.filePath(QStringLiteral("raw.out"));
        raw << megabytes / rawCopySeconds(source, copy, true);
        QFile::remove(copy);
        rawUnsynced << megabytes / rawCopySeconds(source, copy, false);
        QFile::remove(copy);

        QElapsedTimer timer;
        timer.start();
        if (!client.SERVEREGONDER(temp).failed.isEmpty())
            return 1;
        sent << megabytes / (timer.nsecsElapsed() / 1e9);

        timer.start();
        if (!client.SERVERDENAL(name, tempoku))
            return 1;
        received << megabytes / (timer.nsecsElapsed() / 1e9);
        QFile::remove(QDir(tempoku).filePath(name));
        QFile::remove(QDir(store).filePath(name));
        std::printf("%4d %12.0f %12.0f %12.0f %12.0f\n", run, raw.last(), rawUnsynced.last(), sent.last(), received.last());
    }
    std::printf("%4s %12.0f %12.0f %12.0f %12.0f\n", "med", median(raw), median(rawUnsynced), median(sent), median(received));
    std::printf("SEND / raw    %.2f\nRECEIVE / raw %.2f\n", median(sent) / median(raw), median(received) / median(raw));
    std::printf("peak memory: server %lld KiB, client %lld KiB\n", peakKiB(server.processId()),
                peakKiB(QCoreApplication::applicationPid()));

    server.terminate();
    server.waitForFinished(10000);
    return 0;
}
