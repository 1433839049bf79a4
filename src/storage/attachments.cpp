#include "attachments.h"

#include "contenttype.h"
#include "fileserverclient.h"
#include "legacycontent.h"

#include "core/prompt.h"
#include "core/session.h"
#include "db/fb/blob.h"
#include "db/fb/error.h"
#include "db/fb/statement.h"
#include "db/fb/transaction.h"
#include "db/fb/twophase.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QTemporaryDir>

namespace storage {

namespace {

const QString kNoPlace = QStringLiteral("DİKKAT! Belgelerin Saklanacağı bir ortam tanımlamalısınız.");
const QString kUnsupported = QStringLiteral("DİKKAT! Belge Türü Destenlenmemektedir.");
const QString kTempCopy = QStringLiteral("BELGE GEÇİCİ KLASÖRE KOPYALANAMADI");
const QString kFolderCopy = QStringLiteral("BELGE KLASÖRE KOPYALANAMADI");
const QString kFromDatabase = QStringLiteral("Veritabanından Dosya Alınamadı");

fb::TransactionOptions readOnly()
{
    fb::TransactionOptions o;
    o.readOnly = true;
    return o;
}

QString rowColumns()
{
    return QStringLiteral("KAYNO, SIRNO, TUR, ACIK, BELTUR, SDP, DOSYA, OCN, BELKAYNO");
}

/// Copies without holding the file in memory, replacing the target whole.
bool copyReplacing(const QString &from, const QString &to)
{
    const QString aside = to + QStringLiteral(".kopya");
    QFile::remove(aside);
    if (!QFile::copy(from, aside))
        return false;
    QFile::remove(to);
    if (!QFile::rename(aside, to)) {
        QFile::remove(aside);
        return false;
    }
    return true;
}

/// Removes the files of `folder`, except those named in `keep`.
void emptyFolder(const QString &folder, const QStringList &keep = {})
{
    if (folder.isEmpty())
        return;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &f : files) {
        if (!keep.contains(f.fileName()))
            QFile::remove(f.filePath());
    }
}

/// Moves a file, replacing the target; a copy where a rename cannot be done.
bool moveReplacing(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (QFile::rename(from, to))
        return true;
    if (!copyReplacing(from, to))
        return false;
    QFile::remove(from);
    return true;
}

/// The register folder a saved file belongs in, by its name's prefix.
QString folderOfFile(const QString &name)
{
    for (Register r : {Register::Incoming, Register::Outgoing, Register::Petition, Register::Archive}) {
        if (name.startsWith(kindOf(r).prefix, Qt::CaseInsensitive))
            return kindOf(r).folder;
    }
    return {};
}

/// What each file of the waiting folder still lacks, one line "places<TAB>name"
/// ('K' its register's folder, 'S' the file server), kept in that folder.
QString waitingList(const Folders &folders)
{
    return folders.waiting().isEmpty() ? QString() : QDir(folders.waiting()).filePath(QStringLiteral("EKSIK.LST"));
}

/// The waiting files that are there, by name.
QMap<QString, QString> readWaiting(const Folders &folders)
{
    QMap<QString, QString> owed;
    QFile f(waitingList(folders));
    if (!f.open(QIODevice::ReadOnly))
        return owed;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QString places = line.section(u'\t', 0, 0);
        const QString name = line.section(u'\t', 1);
        if (!name.isEmpty() && !places.isEmpty() && QFileInfo(QDir(folders.waiting()).filePath(name)).isFile())
            owed.insert(name, places);
    }
    return owed;
}

void writeWaiting(const Folders &folders, const QMap<QString, QString> &owed)
{
    const QString path = waitingList(folders);
    if (path.isEmpty())
        return;
    if (owed.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QByteArray text;
    for (auto [name, places] : owed.asKeyValueRange())
        text += (places + u'\t' + name + u'\n').toUtf8();
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(text);
        f.commit();
    }
}

} // namespace

RecordAttachments::RecordAttachments(Session &session, Register kind)
    : m_session(session)
    , m_register(kind)
    , m_kind(kindOf(kind))
    , m_places(StoragePlaces::of(session))
    , m_rows(m_kind.table, {QStringLiteral("KAYNO"), QStringLiteral("SIRNO")})
{
    m_rows.setColumns(rowColumns().split(QStringLiteral(", ")));
}

RecordAttachments::~RecordAttachments() = default;

bool RecordAttachments::open(int kayno, int year)
{
    m_places = StoragePlaces::of(m_session);
    m_kayno = kayno;
    m_year = QString::number(year);
    m_pending.clear();
    m_readCopies.reset();
    // Without the year's database the rows are still listed; the screen keeps them as they are.
    const bool yearOpen = !m_places.yearly || openYearFor(m_session, year);
    fb::Transaction t(m_session.db.IBDATABASE, readOnly());
    m_rows.select(t, QStringLiteral("SELECT %1 FROM %2 WHERE KAYNO=:KN ORDER BY SIRNO").arg(rowColumns(), m_kind.table),
                  {{"KN", kayno}});
    m_highestStored = t.value(QStringLiteral("SELECT MAX(SIRNO) SAY FROM %1 WHERE KAYNO=:KN").arg(m_kind.table),
                              {{"KN", kayno}}).toInt();
    t.commit();
    renumber();
    return yearOpen;
}

void RecordAttachments::renumber()
{
    // The screen's own rows count too: a row added and not yet saved holds its number.
    int highest = m_highestStored;
    for (int r = 0; r < m_rows.rowCount(); ++r)
        highest = std::max(highest, m_rows.value(r, QStringLiteral("SIRNO")).toInt());
    m_nextSirno = highest + 1;
}

int RecordAttachments::rowOf(int sirno) const
{
    for (int r = 0; r < m_rows.rowCount(); ++r) {
        if (m_rows.value(r, QStringLiteral("SIRNO")).toInt() == sirno)
            return r;
    }
    return -1;
}

void RecordAttachments::setDescription(int row, const QString &text)
{
    m_rows.setValue(row, QStringLiteral("ACIK"), text.left(30));
}

QString RecordAttachments::fileFilter(int abt)
{
    QStringList entries = {
        QStringLiteral("Hepsi (*.jpg *.doc *.docx *.xls *.xlsx *.pdf *.rtf *.txt)"),
        QStringLiteral("Jpeg (*.jpg)"),
        QStringLiteral("Pdf (*.pdf)"),
        QStringLiteral("Ms Word (*.doc *.docx)"),
        QStringLiteral("Ms Excel (*.xls *.xlsx)"),
        QStringLiteral("Zengin metin (*.rtf)"),
        QStringLiteral("Metin (*.txt)"),
    };
    if (abt > 0 && abt < entries.size())
        entries.move(abt, 0);
    return entries.join(QStringLiteral(";;"));
}

bool RecordAttachments::BELGEYUKLE(int mode, int row)
{
    m_places = StoragePlaces::of(m_session);
    if (!m_places.any()) {
        m_session.prompt().message(kNoPlace);
        return false;
    }
    if (mode == 2 && (row < 0 || row >= m_rows.rowCount()))
        return false;
    const QString path = m_session.prompt().openFile(QStringLiteral("Belge Seçiniz"),
                                                     fileFilter(m_session.general.ABT));
    if (path.isEmpty())
        return false;
    return load(mode, row, path);
}

bool RecordAttachments::load(int mode, int row, const QString &source)
{
    Prompt &prompt = m_session.prompt();
    m_places = StoragePlaces::of(m_session);
    if (!m_places.any()) {
        prompt.message(kNoPlace);
        return false;
    }
    const QFileInfo info(source);
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix().toUpper();
    const QString beltur = belturForExtension(extension);
    if (beltur.isEmpty()) {
        prompt.message(kUnsupported);
        return false;
    }
    QFile probe(source);
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly)) {
        prompt.message(QStringLiteral("DİKKAT! Belge okunamadı:\n%1").arg(QDir::toNativeSeparators(source)));
        return false;
    }
    probe.close();
    if (info.size() == 0) {
        prompt.message(QStringLiteral("DİKKAT! Belge boş:\n%1").arg(QDir::toNativeSeparators(source)));
        return false;
    }
    if (info.size() > m_places.sizeLimit) {
        prompt.message(QStringLiteral("DİKKAT! Belge çok büyük (%1 MB); en çok %2 MB olabilir.")
                           .arg(info.size() / (1024 * 1024)).arg(m_places.sizeLimit / (1024 * 1024)));
        return false;
    }
    if (mode == 2 && (row < 0 || row >= m_rows.rowCount()))
        return false;

    const int sirno = mode == 2 ? m_rows.value(row, QStringLiteral("SIRNO")).toInt() : m_nextSirno;
    const QString name = m_kind.prefix + QString::number(m_kayno) + u'_' + QString::number(sirno) + extension;
    const Folders folders(m_places.localFolder);
    // GECICISAKLA, always: the copy is what the save stores.
    if (const QString problem = folders.check(); !problem.isEmpty()) {
        prompt.message(problem);
        return false;
    }
    const QString target = QDir(folders.temp()).filePath(name);
    if (!copyReplacing(source, target)) {
        prompt.message(kTempCopy);
        return false;
    }

    int contentNumber = mode == 2 ? m_rows.value(row, QStringLiteral("BELKAYNO")).toInt() : 0;
    // Rows kept before the yearly database have no content number: one that
    // gets new content takes its own, never the 0 they all share.
    if (m_places.yearly && contentNumber <= 0) {
        try {
            fb::Transaction t(m_session.db.IBDATABASE);
            contentNumber = t.value(QStringLiteral("SELECT GEN_ID(GEN_BELKAYNO,1) YENINO FROM RDB$DATABASE")).toInt();
            t.commit();
        } catch (const fb::Error &e) {
            QFile::remove(target);
            prompt.error(QStringLiteral("DİKKAT! Belge kayıt numarası alınamadı."), e.details());
            return false;
        }
    }

    const QString ocn = classNameFor(beltur);
    if (mode == 1) {
        m_rows.append({{"KAYNO", m_kayno}, {"SIRNO", sirno}, {"TUR", QStringLiteral("A")},
                       {"BELTUR", beltur}, {"DOSYA", name}, {"OCN", ocn.isEmpty() ? QVariant() : QVariant(ocn)},
                       {"BELKAYNO", contentNumber}});
        m_pending.insert(sirno, {target, m_places.database, false});
        m_nextSirno = sirno + 1;
    } else {
        // A replaced file of another type must not be stored beside the new one.
        const QString before = m_pending.value(sirno).temp;
        if (!before.isEmpty() && before != target)
            QFile::remove(before);
        const bool inserted = m_rows.state(row) == CachedRecords::State::Inserted;
        m_rows.setValue(row, QStringLiteral("BELTUR"), beltur);
        m_rows.setValue(row, QStringLiteral("DOSYA"), name);
        m_rows.setValue(row, QStringLiteral("OCN"), ocn.isEmpty() ? QVariant() : QVariant(ocn));
        if (contentNumber != m_rows.value(row, QStringLiteral("BELKAYNO")).toInt())
            m_rows.setValue(row, QStringLiteral("BELKAYNO"), contentNumber);
        m_pending.insert(sirno, {target, m_places.database, !inserted});
    }
    return true;
}

bool RecordAttachments::remove(int row)
{
    if (row < 0 || row >= m_rows.rowCount())
        return false;
    if (!m_session.prompt().question(QStringLiteral("DİKKAT! Bu Kayıt Silinecektir. Onaylıyormusunuz.?")))
        return false;
    const int sirno = m_rows.value(row, QStringLiteral("SIRNO")).toInt();
    // A file chosen in this opening for a dropped row is stored nowhere.
    if (const QString staged = m_pending.take(sirno).temp; !staged.isEmpty())
        QFile::remove(staged);
    m_rows.remove(row);
    renumber();
    return true;
}

fb::Attachment *RecordAttachments::yearDatabase() const
{
    // Another year's database may be the open one: its contents are not this record's.
    if (!m_places.yearly || !m_session.textOpen || !m_session.db.IBTEXTDB.isOpen() || m_session.textYear != m_year)
        return nullptr;
    return &m_session.db.IBTEXTDB;
}

void RecordAttachments::apply(fb::TwoPhaseTransaction &unit, const Progress &progress)
{
    const bool needsYear = m_places.yearly && (m_rows.isDirty() || !m_pending.isEmpty());
    if (needsYear && (!yearDatabase() || !unit.isTwoPhase())) {
        throw fb::Error(QStringLiteral("DİKKAT! %1 yılının belge veritabanı (TEXT) açık değil; "
                                       "belgeler kaydedilemedi.").arg(m_year));
    }
    // Every file is read once before anything is written, so a missing one stops the save whole.
    qint64 total = 0;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        // Content row 0 is shared by every row kept before the yearly database.
        if (const int row = rowOf(it.key());
            m_places.yearly && row >= 0 && m_rows.value(row, QStringLiteral("BELKAYNO")).toInt() <= 0)
            throw fb::Error(QStringLiteral("DİKKAT! Belgenin kayıt numarası yok; belgeler kaydedilemedi."));
        // Whatever keeps it, the file is stored from TEMP: another screen's save may have emptied it.
        QFileInfo f(it->temp);
        if (!f.isFile() || !QFile(it->temp).open(QIODevice::ReadOnly))
            throw fb::Error(QStringLiteral("DİKKAT! Geçici klasördeki belge okunamadı:\n%1").arg(it->temp));
        if (it->content)
            total += f.size();
    }
    m_rows.apply(unit.first());

    qint64 done = 0;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        const int row = rowOf(it.key());
        if (row < 0)
            continue;
        const int contentNumber = m_rows.value(row, QStringLiteral("BELKAYNO")).toInt();
        fb::Transaction &target = m_places.yearly ? unit.second() : unit.first();
        QVariant blob;
        if (it->content) {
            QFile file(it->temp);
            if (!file.open(QIODevice::ReadOnly))
                throw fb::Error(QStringLiteral("DİKKAT! Geçici klasördeki belge okunamadı:\n%1").arg(it->temp));
            const qint64 before = done;
            blob = QVariant::fromValue(fb::writeBlob(target, file, [&](qint64 n) {
                if (progress)
                    progress(before + n, total);
            }));
            done += file.size();
        } else if (!it->replaced && !m_places.yearly) {
            continue; // a new row without content has nothing more to write
        }
        if (m_places.yearly) {
            target.execute(QStringLiteral("UPDATE OR INSERT INTO %1 (BELKAYNO, METIN, OCN) VALUES (:B, :M, :O) "
                                          "MATCHING (BELKAYNO)").arg(m_kind.table),
                           {{"B", contentNumber}, {"M", blob}, {"O", m_rows.value(row, QStringLiteral("OCN"))}});
        } else {
            target.execute(QStringLiteral("UPDATE %1 SET METIN=:M WHERE KAYNO=:K AND SIRNO=:S").arg(m_kind.table),
                           {{"M", blob}, {"K", m_kayno}, {"S", it.key()}});
        }
    }
}

AfterSave RecordAttachments::saved()
{
    AfterSave after;
    m_rows.accept();
    const Folders folders(m_places.localFolder);
    QStringList mine;
    for (const Pending &p : std::as_const(m_pending))
        mine << QFileInfo(p.temp).fileName();
    m_pending.clear();
    m_highestStored = 0;
    for (int r = 0; r < m_rows.rowCount(); ++r)
        m_highestStored = std::max(m_highestStored, m_rows.value(r, QStringLiteral("SIRNO")).toInt());
    renumber();

    // What each saved file still lacks: 'K' its register's folder, 'S' the
    // file server; and where it is now (TEMP or the waiting folder).
    const QString temp = folders.temp();
    const QString waiting = folders.waiting();
    QMap<QString, QString> owed = readWaiting(folders);
    QHash<QString, QString> at;
    for (const QString &name : owed.keys())
        at.insert(name, QDir(waiting).filePath(name));
    for (const QString &name : std::as_const(mine)) {
        // Saved now, the row's new file supersedes its waiting one, whatever the type of either.
        const QString row = QFileInfo(name).completeBaseName();
        for (auto it = owed.begin(); it != owed.end();) {
            if (QFileInfo(it.key()).completeBaseName().compare(row, Qt::CaseInsensitive) == 0) {
                QFile::remove(at.take(it.key()));
                it = owed.erase(it);
            } else {
                ++it;
            }
        }
        owed.insert(name, QString(m_places.local ? QStringLiteral("K") : QString())
                              + (m_places.server ? QStringLiteral("S") : QString()));
        at.insert(name, QDir(temp).filePath(name));
    }

    if (m_places.local) {
        // BELGESAKLA: this opening's files, and those an earlier save could
        // not copy, each into its register's folder.
        bool told = false; // the folder's own message named this opening's files
        const QString folder = folders.registerFolder(m_kind.folder);
        if (!mine.isEmpty() && !QDir().mkpath(folder)) {
            m_session.prompt().message(QStringLiteral("Belge için %1 klasörü Oluşturulamadı.\n%2")
                                           .arg(m_kind.folderWord, folder));
            told = true;
        }
        QStringList untold;
        for (auto it = owed.begin(); it != owed.end(); ++it) {
            if (!it.value().contains(u'K'))
                continue;
            const QString sub = folderOfFile(it.key());
            const QString target = folders.registerFolder(sub);
            if (!sub.isEmpty() && QDir().mkpath(target)
                && copyReplacing(at.value(it.key()), QDir(target).filePath(it.key()))) {
                it.value().remove(u'K');
                continue;
            }
            after.notCopied << it.key();
            if (!(told && mine.contains(it.key())))
                untold << it.key();
        }
        if (!untold.isEmpty())
            m_session.prompt().message(kFolderCopy + u'\n' + untold.join(u'\n'));
    }
    if (m_places.server) {
        // Only saved files go: another screen's choice in TEMP is not stored yet.
        QStringList paths;
        for (auto it = owed.cbegin(); it != owed.cend(); ++it) {
            if (it.value().contains(u'S'))
                paths << at.value(it.key());
        }
        sendToServer(paths, after);
        for (auto it = owed.begin(); it != owed.end(); ++it) {
            if (!after.notSent.contains(it.key()))
                it.value().remove(u'S');
        }
    }

    // What still lacks a place leaves TEMP for the waiting folder, where no
    // change, cancel or emptying of TEMP reaches it; what has arrived goes.
    QStringList stuck; // the waiting folder did not take it: it stays in TEMP this once
    for (auto it = owed.begin(); it != owed.end();) {
        const QString path = at.value(it.key());
        if (it.value().isEmpty()) {
            QFile::remove(path);
            it = owed.erase(it);
        } else if (mine.contains(it.key())
                   && !(QDir().mkpath(waiting) && moveReplacing(path, QDir(waiting).filePath(it.key())))) {
            stuck << it.key();
            it = owed.erase(it);
        } else {
            ++it;
        }
    }
    writeWaiting(folders, owed);
    if (!stuck.isEmpty())
        m_session.prompt().message(QStringLiteral("DİKKAT! Belge bekleyen belgeler klasörüne taşınamadı; "
                                                  "geçici klasörde duruyor:\n%1\n%2")
                                       .arg(waiting, stuck.join(u'\n')));
    // GECICIDOSYASIL: TEMP holds only what is chosen and not saved.
    emptyFolder(temp, stuck);
    emptyTempRead();
    return after;
}

void RecordAttachments::sendToServer(const QStringList &paths, AfterSave &after)
{
    if (paths.isEmpty())
        return;
    const QString host = m_session.general.SRVIPNO.trimmed().isEmpty() ? m_session.workstation.host
                                                                          : m_session.general.SRVIPNO;
    FileServerClient client(host, m_session.general.SRVPORT, m_session.prompt());
    FileServerSend sent = client.send(paths);
    // The client has named the failures; the clerk may try again at once.
    while (!sent.failed.isEmpty()
           && m_session.prompt().question(QStringLiteral("Gönderilemeyen belgeler bekleyen belgeler klasöründe "
                                                         "saklanacak. Tekrar gönderilsin mi?"))) {
        // Only what failed goes again: the rest has arrived.
        QStringList again;
        for (const QString &path : paths) {
            if (sent.failed.contains(QFileInfo(path).fileName()))
                again << path;
        }
        sent.failed = client.send(again).failed;
    }
    after.notSent = sent.failed;
}

bool RecordAttachments::emptyTempRead()
{
    emptyFolder(Folders(m_places.localFolder).tempRead());
    m_readCopies.reset();
    return true;
}

QString RecordAttachments::readCopiesFolder()
{
    // Contents read from the database need no document folder: a workstation
    // whose folder is missing or read-only still shows them.
    if (!m_readCopies || !m_readCopies->isValid())
        m_readCopies = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("kelma-belge-XXXXXX")));
    return m_readCopies->isValid() ? m_readCopies->path() : QString();
}

void RecordAttachments::cancel()
{
    for (const Pending &p : std::as_const(m_pending))
        QFile::remove(p.temp);
    m_pending.clear();
    m_rows.revert();
    renumber();
    emptyTempRead();
}

QString RecordAttachments::readContent(int row, const QString &target)
{
    // A row kept before the yearly database has its content, if any, in itself.
    const bool yearly = m_places.yearly && m_rows.value(row, QStringLiteral("BELKAYNO")).toInt() > 0;
    fb::Attachment *db = yearly ? yearDatabase() : &m_session.db.IBDATABASE;
    if (!db)
        throw fb::Error(QStringLiteral("DİKKAT! Belge veritabanı (TEXT) açık değil."));
    fb::Transaction t(*db, readOnly());
    fb::Statement s(t, yearly ? QStringLiteral("SELECT METIN FROM %1 WHERE BELKAYNO=:B").arg(m_kind.table)
                              : QStringLiteral("SELECT METIN FROM %1 WHERE KAYNO=:K AND SIRNO=:S").arg(m_kind.table));
    if (yearly) {
        s.bind(QStringLiteral("B"), m_rows.value(row, QStringLiteral("BELKAYNO")));
    } else {
        s.bind(QStringLiteral("K"), m_kayno);
        s.bind(QStringLiteral("S"), m_rows.value(row, QStringLiteral("SIRNO")));
    }
    s.setBlobsAsIds(true);
    s.execute();
    if (!s.next() || s.value(0).isNull())
        return {};
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw fb::Error(QStringLiteral("Dosyaya yazılamadı: %1").arg(target));
    const qint64 n = fb::readBlob(t, s.value(0).value<fb::BlobId>(), out);
    out.close();
    if (n == 0) {
        out.remove();
        return {};
    }
    return target;
}

QByteArray RecordAttachments::contentOf(int row)
{
    if (row < 0 || row >= m_rows.rowCount())
        return {};
    auto bytesOf = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const int sirno = m_rows.value(row, QStringLiteral("SIRNO")).toInt();
    if (const auto pending = m_pending.constFind(sirno); pending != m_pending.cend())
        return bytesOf(pending->temp);
    const Folders folders(m_places.localFolder);
    if (m_places.database && folders.check().isEmpty()) {
        const QString target = QDir(folders.tempRead()).filePath(
            QStringLiteral("YAZ_") + m_kind.prefix + QString::number(m_kayno) + u'_' + QString::number(sirno));
        const QString path = readContent(row, target);
        const QByteArray bytes = path.isEmpty() ? QByteArray() : bytesOf(path);
        QFile::remove(target);
        if (!bytes.isEmpty())
            return bytes;
    }
    const QString name = m_rows.value(row, QStringLiteral("DOSYA")).toString().trimmed();
    if (name.isEmpty())
        return {};
    for (const QString &folder :
         {folders.registerFolder(m_kind.folder), folders.waiting(), folders.temp(), folders.tempRead()}) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return bytesOf(path);
    }
    return {};
}

Shown RecordAttachments::show(int row)
{
    Shown shown;
    if (row < 0 || row >= m_rows.rowCount())
        return shown;
    const QString beltur = m_rows.value(row, QStringLiteral("BELTUR")).toString().trimmed();
    const bool picture = isPicture(beltur);
    if (!picture && !isShownDocument(beltur))
        return shown; // empty type, plain text ('8') and unknown codes show nothing
    const Shown::Kind kind = picture ? Shown::Picture : Shown::Document;
    const QString name = m_rows.value(row, QStringLiteral("DOSYA")).toString().trimmed();
    const int sirno = m_rows.value(row, QStringLiteral("SIRNO")).toInt();
    const Folders folders(m_places.localFolder);
    Prompt &prompt = m_session.prompt();
    auto found = [&](const QString &path) {
        shown.kind = kind;
        shown.path = path;
        return shown;
    };
    const auto pending = m_pending.constFind(sirno);

    switch (m_places.readMode.unicode()) {
    case u'S': {
        // Pictures too: with VTSAKLA 'H' there is no blob to read them from.
        if (name.isEmpty())
            return shown;
        if (pending != m_pending.cend())
            return found(pending->temp);
        // A saved file the server has not taken yet waits in BEKLEYEN.
        for (const QString &folder : {folders.waiting(), folders.tempRead()}) {
            if (folder.isEmpty())
                continue;
            const QString path = QDir(folder).filePath(name);
            if (QFileInfo(path).isFile())
                return found(path);
        }
        const QString host = m_session.general.SRVIPNO.trimmed().isEmpty() ? m_session.workstation.host
                                                                              : m_session.general.SRVIPNO;
        FileServerClient client(host, m_session.general.SRVPORT, prompt);
        auto ensure = [&] {
            const QString problem = folders.check();
            if (!problem.isEmpty())
                prompt.message(problem);
            return problem.isEmpty();
        };
        if (client.SERVERDENAL(name, folders.tempRead(), ensure))
            return found(QDir(folders.tempRead()).filePath(name));
        return shown;
    }
    case u'Y': {
        if (picture || name.isEmpty())
            return shown;
        if (pending != m_pending.cend())
            return found(pending->temp);
        // A saved file its folder has not taken yet waits in BEKLEYEN.
        for (const QString &folder : {folders.registerFolder(m_kind.folder), folders.waiting()}) {
            if (folder.isEmpty())
                continue;
            const QString path = QDir(folder).filePath(name);
            if (QFileInfo(path).isFile())
                return found(path);
        }
        return shown;
    }
    default: {
        if (pending != m_pending.cend())
            return pending->content ? found(pending->temp) : shown;
        if (m_places.yearly && m_rows.value(row, QStringLiteral("BELKAYNO")).toInt() > 0 && !yearDatabase()) {
            shown.message = QStringLiteral("DİKKAT! TEXT Veritabanı açılamadı");
            return shown;
        }
        const QString copies = readCopiesFolder();
        if (copies.isEmpty()) {
            prompt.message(kFromDatabase);
            shown.message = kFromDatabase;
            return shown;
        }
        const QString base = QStringLiteral("VT_") + m_kind.prefix + QString::number(m_kayno) + u'_'
            + QString::number(sirno);
        QString path;
        try {
            path = readContent(row, QDir(copies).filePath(base + extensionFor(beltur)));
        } catch (const fb::Error &e) {
            prompt.error(kFromDatabase, e.details());
            shown.message = kFromDatabase;
            return shown;
        }
        if (path.isEmpty())
            return shown;
        if (legacycontent::compoundOffset(path) > 0) {
            const legacycontent::Extracted doc = legacycontent::extract(path, copies, base + QStringLiteral("_BELGE"));
            QFile::remove(path);
            if (doc.path.isEmpty()) {
                prompt.message(kFromDatabase + u'\n' + doc.error);
                shown.message = doc.error;
                return shown;
            }
            return found(doc.path);
        }
        return found(path);
    }
    }
}

bool contentDatabaseFor(Session &session, Register kind, int kayno, fb::Attachment *&database)
{
    database = nullptr;
    if (!StoragePlaces::of(session).yearly)
        return true;
    const RegisterKind &k = kindOf(kind);
    fb::Transaction t(session.db.IBDATABASE, readOnly());
    const QList<QVariantList> found = t.rows(
        QStringLiteral("SELECT R.%1, (SELECT COUNT(*) FROM %2 T WHERE T.KAYNO=R.KAYNO AND T.BELKAYNO > 0) "
                       "FROM %3 R WHERE R.KAYNO=:K").arg(k.dateField, k.table, k.records),
        {{"K", kayno}});
    t.commit();
    if (found.isEmpty() || found.first().value(1).toInt() == 0)
        return true;
    const QDate date = found.first().value(0).toDate();
    if (!openYearFor(session, date.isValid() ? date.year() : session.workingYear()))
        return false;
    database = &session.db.IBTEXTDB;
    return true;
}

void deleteAllAttachments(fb::TwoPhaseTransaction &unit, Register kind, int kayno)
{
    const RegisterKind &k = kindOf(kind);
    if (unit.isTwoPhase()) {
        const QList<QVariantList> numbers = unit.first().rows(
            QStringLiteral("SELECT BELKAYNO FROM %1 WHERE KAYNO=:K AND BELKAYNO > 0").arg(k.table), {{"K", kayno}});
        for (const QVariantList &n : numbers)
            unit.second().execute(QStringLiteral("DELETE FROM %1 WHERE BELKAYNO=:B").arg(k.table), {{"B", n.value(0)}});
    }
    unit.first().execute(QStringLiteral("DELETE FROM %1 WHERE KAYNO=:K").arg(k.table), {{"K", kayno}});
}

int attachmentCount(fb::Transaction &t, Register kind, int kayno)
{
    return t.value(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE KAYNO=:K").arg(kindOf(kind).table),
                   {{"K", kayno}}).toInt();
}

QHash<int, int> attachmentCounts(fb::Transaction &t, Register kind, const QList<int> &kaynos)
{
    QHash<int, int> out;
    // In slices, so the statement stays short whatever the list holds.
    for (qsizetype from = 0; from < kaynos.size(); from += 200) {
        QStringList marks;
        fb::Params p;
        for (qsizetype i = from; i < std::min(from + 200, kaynos.size()); ++i) {
            marks << QStringLiteral(":K%1").arg(i);
            p.insert(QStringLiteral("K%1").arg(i), kaynos[i]);
        }
        const auto rows = t.rows(QStringLiteral("SELECT KAYNO, COUNT(*) FROM %1 WHERE KAYNO IN (%2) GROUP BY KAYNO")
                                     .arg(kindOf(kind).table, marks.join(u',')), p);
        for (const QVariantList &r : rows)
            out.insert(r.value(0).toInt(), r.value(1).toInt());
    }
    return out;
}

} // namespace storage
