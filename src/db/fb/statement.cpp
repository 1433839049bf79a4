#include "statement.h"
#include "api_p.h"
#include "attachment.h"
#include "blob.h"
#include "win1254.h"

#include <ibase.h>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <cstring>

namespace fb {

using namespace Firebird;
using namespace detail;

namespace {

constexpr unsigned kCharsetNone = 0;
constexpr unsigned kCharsetOctets = 1;
constexpr unsigned kCharsetWin1254 = 55;
constexpr unsigned kSegment = 65535;
// The longest text a VARCHAR parameter carries; longer would wrap its length.
constexpr qsizetype kMaxVarchar = 32765;

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

ISC_QUAD writeBlob(IAttachment *att, ITransaction *tra, const QByteArray &bytes, int subType)
{
    Status st;
    ISC_QUAD id{};
    // The client of this version has no builder for blob parameters.
    const unsigned char bpb[] = {
        isc_bpb_version1,
        isc_bpb_type, 1, isc_bpb_type_segmented,
        isc_bpb_source_type, 1, static_cast<unsigned char>(subType),
        isc_bpb_target_type, 1, static_cast<unsigned char>(subType),
    };
    IBlob *blob = nullptr;
    try {
        blob = att->createBlob(&st, tra, &id, sizeof bpb, bpb);
        for (qsizetype pos = 0; pos < bytes.size(); pos += kSegment) {
            const unsigned n = static_cast<unsigned>(std::min<qsizetype>(kSegment, bytes.size() - pos));
            blob->putSegment(&st, n, bytes.constData() + pos);
        }
        blob->close(&st);
    } catch (...) {
        if (blob)
            blob->release();
        throw;
    }
    return id;
}

QByteArray readBlob(IAttachment *att, ITransaction *tra, ISC_QUAD id)
{
    Status st;
    IBlob *blob = att->openBlob(&st, tra, &id, 0, nullptr);
    QByteArray out;
    try {
        std::vector<char> buffer(kSegment);
        for (;;) {
            unsigned got = 0;
            const int rc = blob->getSegment(&st, kSegment, buffer.data(), &got);
            if (rc == IStatus::RESULT_NO_DATA)
                break;
            out.append(buffer.data(), got);
        }
        blob->close(&st);
    } catch (...) {
        blob->release();
        throw;
    }
    return out;
}

} // namespace

struct Statement::Column
{
    QString name;
    unsigned type;
    int subType;
    unsigned length;
    int scale;
    unsigned charset;
    unsigned offset;
    unsigned nullOffset;
};

Statement::Statement(Transaction &transaction, const QString &sql, Mode mode)
    : m_transaction(&transaction)
    , m_state(std::make_unique<StatementState>())
{
    if (!sql.isEmpty())
        prepare(sql, mode);
}

Statement::~Statement()
{
    auto att = m_transaction->state()->attachment;
    att->statements.erase(m_state.get());
    m_state->release();
}

QString Statement::parseNames(const QString &sql, QStringList *names)
{
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            // Quoted text or identifier; a doubled quote stays inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? n : end;
            out += sql.mid(i, stop - i);
            i = stop;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            out += sql.mid(i, stop - i);
            i = stop;
        } else if (c == u':' && i + 1 < n && isIdentStart(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isIdentPart(sql[j]))
                ++j;
            if (names)
                names->append(sql.mid(i + 1, j - i - 1).toUpper());
            out += u'?';
            i = j;
        } else if (c == u'?') {
            if (names)
                names->append(QString());
            out += c;
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

void Statement::prepare(const QString &sql, Mode mode)
{
    auto att = m_transaction->state()->attachment;
    att->statements.erase(m_state.get());
    m_state->release();
    m_columns.clear();
    m_columnIndex.clear();
    m_paramNames.clear();
    m_row.clear();
    m_sql = sql;

    const QString text = mode == Named ? parseNames(sql, &m_paramNames) : sql;
    m_transaction->start();
    guarded(sql, [&] {
        Status st;
        const QByteArray bytes = win1254::encode(text);
        m_state->statement = att->handle->prepare(&st, m_transaction->state()->handle,
                                                  static_cast<unsigned>(bytes.size()),
                                                  bytes.constData(), SQL_DIALECT_V6,
                                                  IStatement::PREPARE_PREFETCH_METADATA);
        att->statements.insert(m_state.get());
        m_hasCursor = m_state->statement->getFlags(&st) & IStatement::FLAG_HAS_CURSOR;

        IMessageMetadata *meta = m_state->statement->getOutputMetadata(&st);
        m_state->outMeta = meta;
        const unsigned count = meta->getCount(&st);
        m_columns.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            Column c;
            c.name = win1254::decode(QByteArray(meta->getAlias(&st, i))).trimmed().toUpper();
            c.type = meta->getType(&st, i) & ~1u;
            c.subType = meta->getSubType(&st, i);
            c.length = meta->getLength(&st, i);
            c.scale = meta->getScale(&st, i);
            c.charset = meta->getCharSet(&st, i) & 0xFF;
            c.offset = meta->getOffset(&st, i);
            c.nullOffset = meta->getNullOffset(&st, i);
            if (!m_columnIndex.contains(c.name))
                m_columnIndex.insert(c.name, static_cast<int>(i));
            m_columns.push_back(std::move(c));
        }
        m_outBuffer.assign(meta->getMessageLength(&st), 0);
    });
    m_paramValues = QVariantList(m_paramNames.size());
}

QString Statement::plan() const
{
    if (!m_state->statement)
        return {};
    return guarded(m_sql, [&] {
        Status st;
        const char *text = m_state->statement->getPlan(&st, false);
        return text ? win1254::decode(QByteArray(text)).trimmed() : QString();
    });
}

QStringList Statement::parameterNames() const
{
    return m_paramNames;
}

void Statement::bind(const QString &name, const QVariant &value)
{
    const QString key = name.toUpper();
    bool found = false;
    for (int i = 0; i < m_paramNames.size(); ++i) {
        if (m_paramNames[i] == key) {
            m_paramValues[i] = value;
            found = true;
        }
    }
    if (!found)
        throw Error(QStringLiteral("Parametre bulunamadı: %1").arg(name), 0, 0, {}, m_sql);
}

void Statement::bindAll(const Params &params)
{
    for (auto it = params.begin(); it != params.end(); ++it)
        bind(it.key(), it.value());
}

void Statement::clearBindings()
{
    m_paramValues = QVariantList(m_paramNames.size());
}

void Statement::execute()
{
    if (!m_state->statement)
        throw Error(QStringLiteral("Hazırlanmamış komut çalıştırılamaz."));
    m_state->closeCursor();
    m_row.clear();
    m_rowsAffected = 0;
    m_transaction->start();
    auto tra = m_transaction->state();
    auto att = tra->attachment;

    guarded(m_sql, [&] {
        Status st;
        IMessageMetadata *described = m_state->statement->getInputMetadata(&st);
        IMessageMetadata *inMeta = nullptr;
        IMetadataBuilder *builder = nullptr;
        try {
            const unsigned count = described->getCount(&st);
            builder = described->getBuilder(&st);
            // What each parameter is sent as; the engine converts to the described type.
            struct Slot {
                unsigned type;
                QByteArray bytes;
                qint64 integer = 0;
                double real = 0;
                ISC_QUAD blob{};
                bool null = true;
            };
            std::vector<Slot> sent(count);
            for (unsigned i = 0; i < count; ++i) {
                QVariant v = i < unsigned(m_paramValues.size()) ? m_paramValues[i] : QVariant();
                // An empty date box is no date: NULL, not day zero.
                if ((v.typeId() == QMetaType::QDate && !v.toDate().isValid())
                    || (v.typeId() == QMetaType::QTime && !v.toTime().isValid())
                    || (v.typeId() == QMetaType::QDateTime && !v.toDateTime().isValid()))
                    v = QVariant();
                Slot &s = sent[i];
                const unsigned dtype = described->getType(&st, i) & ~1u;
                const unsigned dcharset = described->getCharSet(&st, i) & 0xFF;
                s.null = v.isNull();
                unsigned type = dtype;
                unsigned length = described->getLength(&st, i);
                int subType = described->getSubType(&st, i);
                unsigned charset = described->getCharSet(&st, i);
                int scale = described->getScale(&st, i);
                if (!s.null) {
                    scale = 0;
                    if (dtype == SQL_BLOB && v.canConvert<BlobId>() && v.typeId() == qMetaTypeId<BlobId>()) {
                        const BlobId id = v.value<BlobId>();
                        std::memcpy(&s.blob, &id, sizeof s.blob);
                        length = sizeof(ISC_QUAD);
                    } else if (dtype == SQL_BLOB) {
                        const QByteArray data = v.typeId() == QMetaType::QByteArray
                            ? v.toByteArray() : win1254::encode(v.toString());
                        s.blob = writeBlob(att->handle, tra->handle, data, subType);
                        length = sizeof(ISC_QUAD);
                    } else {
                        switch (v.typeId()) {
                        case QMetaType::Bool:
                            type = SQL_BOOLEAN;
                            length = 1;
                            s.integer = v.toBool() ? 1 : 0;
                            break;
                        case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
                        case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long:
                        case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
                            type = SQL_INT64;
                            length = 8;
                            s.integer = v.toLongLong();
                            break;
                        case QMetaType::ULongLong: case QMetaType::ULong:
                            type = SQL_INT64;
                            length = 8;
                            s.integer = static_cast<qint64>(v.toULongLong());
                            break;
                        case QMetaType::Double: case QMetaType::Float:
                            type = SQL_DOUBLE;
                            length = 8;
                            s.real = v.toDouble();
                            break;
                        case QMetaType::QDate: {
                            const QDate d = v.toDate();
                            type = SQL_TYPE_DATE;
                            length = 4;
                            s.integer = util()->encodeDate(d.year(), d.month(), d.day());
                            break;
                        }
                        case QMetaType::QTime: {
                            const QTime t = v.toTime();
                            type = SQL_TYPE_TIME;
                            length = 4;
                            s.integer = util()->encodeTime(t.hour(), t.minute(), t.second(), t.msec() * 10);
                            break;
                        }
                        case QMetaType::QDateTime: {
                            const QDateTime dt = v.toDateTime();
                            type = SQL_TIMESTAMP;
                            length = 8;
                            const QDate d = dt.date();
                            const QTime t = dt.time();
                            ISC_TIMESTAMP ts;
                            ts.timestamp_date = util()->encodeDate(d.year(), d.month(), d.day());
                            ts.timestamp_time = util()->encodeTime(t.hour(), t.minute(), t.second(), t.msec() * 10);
                            s.bytes = QByteArray(reinterpret_cast<const char *>(&ts), sizeof ts);
                            break;
                        }
                        case QMetaType::QByteArray:
                            type = SQL_VARYING;
                            s.bytes = v.toByteArray();
                            if (s.bytes.size() > kMaxVarchar) {
                                throw Error(QStringLiteral("Veri çok uzun (%1 bayt).").arg(s.bytes.size()),
                                            0, 0, {}, m_sql);
                            }
                            length = static_cast<unsigned>(std::max<qsizetype>(1, s.bytes.size()));
                            charset = dcharset == kCharsetOctets ? kCharsetOctets : kCharsetNone;
                            subType = 0;
                            break;
                        default:
                            type = SQL_VARYING;
                            s.bytes = win1254::encode(v.toString());
                            if (s.bytes.size() > kMaxVarchar) {
                                throw Error(QStringLiteral("Metin çok uzun (%1 karakter).").arg(s.bytes.size()),
                                            0, 0, {}, m_sql);
                            }
                            length = static_cast<unsigned>(std::max<qsizetype>(1, s.bytes.size()));
                            charset = dcharset == kCharsetOctets ? kCharsetOctets : kCharsetWin1254;
                            subType = 0;
                            break;
                        }
                    }
                }
                s.type = type;
                builder->setType(&st, i, type | 1u);
                builder->setLength(&st, i, length);
                builder->setSubType(&st, i, subType);
                builder->setCharSet(&st, i, charset);
                builder->setScale(&st, i, scale);
            }
            inMeta = builder->getMetadata(&st);
            builder->release();
            builder = nullptr;

            std::vector<unsigned char> in(inMeta->getMessageLength(&st), 0);
            for (unsigned i = 0; i < count; ++i) {
                const Slot &s = sent[i];
                unsigned char *field = in.data() + inMeta->getOffset(&st, i);
                auto *nullFlag = reinterpret_cast<short *>(in.data() + inMeta->getNullOffset(&st, i));
                *nullFlag = s.null ? -1 : 0;
                if (s.null)
                    continue;
                switch (s.type) {
                case SQL_BLOB:
                    std::memcpy(field, &s.blob, sizeof s.blob);
                    break;
                case SQL_BOOLEAN:
                    *field = static_cast<unsigned char>(s.integer);
                    break;
                case SQL_INT64: {
                    const ISC_INT64 value = s.integer;
                    std::memcpy(field, &value, sizeof value);
                    break;
                }
                case SQL_DOUBLE:
                    std::memcpy(field, &s.real, sizeof s.real);
                    break;
                case SQL_TYPE_DATE: case SQL_TYPE_TIME: {
                    const ISC_ULONG value = static_cast<ISC_ULONG>(s.integer);
                    std::memcpy(field, &value, sizeof value);
                    break;
                }
                case SQL_TIMESTAMP:
                    std::memcpy(field, s.bytes.constData(), s.bytes.size());
                    break;
                case SQL_VARYING: {
                    const auto len = static_cast<unsigned short>(s.bytes.size());
                    std::memcpy(field, &len, sizeof len);
                    std::memcpy(field + 2, s.bytes.constData(), s.bytes.size());
                    break;
                }
                default:
                    break;
                }
            }

            if (m_hasCursor) {
                m_state->cursor = m_state->statement->openCursor(
                    &st, tra->handle, inMeta, in.data(), m_state->outMeta, 0);
                m_state->cursorTransaction = tra.get();
                tra->cursors.insert(m_state.get());
            } else {
                // A statement that returns one row without a cursor (RETURNING,
                // EXECUTE PROCEDURE) leaves it in the output buffer.
                m_state->statement->execute(&st, tra->handle, inMeta, in.data(),
                                            m_columns.empty() ? nullptr : m_state->outMeta,
                                            m_columns.empty() ? nullptr : m_outBuffer.data());
                m_rowsAffected = static_cast<qint64>(m_state->statement->getAffectedRecords(&st));
                if (!m_columns.empty())
                    readRow();
            }
            inMeta->release();
            inMeta = nullptr;
            described->release();
        } catch (...) {
            if (builder)
                builder->release();
            if (inMeta)
                inMeta->release();
            described->release();
            throw;
        }
    });
    m_singletonPending = !m_hasCursor && !m_columns.empty();
}

bool Statement::next()
{
    if (!m_hasCursor) {
        const bool pending = m_singletonPending;
        m_singletonPending = false;
        return pending;
    }
    if (!m_state->cursor)
        return false;
    const bool got = guarded(m_sql, [&] {
        Status st;
        return m_state->cursor->fetchNext(&st, m_outBuffer.data()) == IStatus::RESULT_OK;
    });
    if (!got) {
        m_state->closeCursor();
        m_row.clear();
        return false;
    }
    readRow();
    return true;
}

void Statement::close()
{
    m_state->closeCursor();
}

void Statement::readRow()
{
    m_row.clear();
    m_row.reserve(static_cast<qsizetype>(m_columns.size()));
    guarded(m_sql, [&] {
        for (const Column &c : m_columns)
            m_row.append(readColumn(c, m_outBuffer.data()));
    });
}

QVariant Statement::readColumn(const Column &c, const unsigned char *buffer)
{
    if (*reinterpret_cast<const short *>(buffer + c.nullOffset))
        return {};
    const unsigned char *p = buffer + c.offset;
    auto scaled = [&](qint64 raw) -> QVariant {
        if (c.scale == 0)
            return raw;
        return static_cast<double>(raw) * std::pow(10.0, c.scale);
    };
    switch (c.type) {
    case SQL_VARYING: {
        unsigned short len;
        std::memcpy(&len, p, sizeof len);
        const char *data = reinterpret_cast<const char *>(p + 2);
        if (c.charset == kCharsetOctets)
            return QByteArray(data, len);
        return win1254::decode(data, len);
    }
    case SQL_TEXT: {
        const char *data = reinterpret_cast<const char *>(p);
        if (c.charset == kCharsetOctets)
            return QByteArray(data, c.length);
        // CHAR comes back padded; the padding is not part of what was stored.
        qsizetype len = c.length;
        while (len > 0 && data[len - 1] == ' ')
            --len;
        return win1254::decode(data, len);
    }
    case SQL_SHORT: {
        qint16 v;
        std::memcpy(&v, p, sizeof v);
        return c.scale == 0 ? QVariant(int(v)) : scaled(v);
    }
    case SQL_LONG: {
        qint32 v;
        std::memcpy(&v, p, sizeof v);
        return c.scale == 0 ? QVariant(int(v)) : scaled(v);
    }
    case SQL_INT64: {
        qint64 v;
        std::memcpy(&v, p, sizeof v);
        return scaled(v);
    }
    case SQL_FLOAT: {
        float v;
        std::memcpy(&v, p, sizeof v);
        return double(v);
    }
    case SQL_DOUBLE: case SQL_D_FLOAT: {
        double v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    case SQL_BOOLEAN:
        return *p != 0;
    case SQL_TYPE_DATE: {
        ISC_DATE d;
        std::memcpy(&d, p, sizeof d);
        unsigned y, m, day;
        util()->decodeDate(d, &y, &m, &day);
        return QDate(int(y), int(m), int(day));
    }
    case SQL_TYPE_TIME: {
        ISC_TIME t;
        std::memcpy(&t, p, sizeof t);
        unsigned h, mi, s, frac;
        util()->decodeTime(t, &h, &mi, &s, &frac);
        return QTime(int(h), int(mi), int(s), int(frac / 10));
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts;
        std::memcpy(&ts, p, sizeof ts);
        unsigned y, m, day, h, mi, s, frac;
        util()->decodeDate(ts.timestamp_date, &y, &m, &day);
        util()->decodeTime(ts.timestamp_time, &h, &mi, &s, &frac);
        return QDateTime(QDate(int(y), int(m), int(day)), QTime(int(h), int(mi), int(s), int(frac / 10)));
    }
    case SQL_BLOB: {
        ISC_QUAD id;
        std::memcpy(&id, p, sizeof id);
        if (m_blobsAsIds) {
            BlobId bid;
            std::memcpy(static_cast<void *>(&bid), &id, sizeof bid);
            return QVariant::fromValue(bid);
        }
        auto tra = m_transaction->state();
        const QByteArray bytes = readBlob(tra->attachment->handle, tra->handle, id);
        if (c.subType == 1)
            return win1254::decode(bytes);
        return bytes;
    }
    default:
        throw Error(QStringLiteral("Desteklenmeyen sütun türü %1 (%2)").arg(c.type).arg(c.name),
                    0, 0, {}, m_sql);
    }
}

int Statement::columnCount() const
{
    return static_cast<int>(m_columns.size());
}

QString Statement::columnName(int index) const
{
    return m_columns.at(static_cast<size_t>(index)).name;
}

int Statement::columnIndex(const QString &name) const
{
    return m_columnIndex.value(name.toUpper(), -1);
}

QVariant Statement::value(int index) const
{
    if (index < 0 || index >= m_row.size())
        throw Error(QStringLiteral("Sütun yok: %1").arg(index), 0, 0, {}, m_sql);
    return m_row.at(index);
}

QVariant Statement::value(const QString &name) const
{
    const int i = columnIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("Sütun yok: %1").arg(name), 0, 0, {}, m_sql);
    return value(i);
}

} // namespace fb
