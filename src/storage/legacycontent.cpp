#include "legacycontent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <gsf/gsf.h>

#include <cstring>
#include <memory>

namespace legacycontent {

namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
// The container headers seen are a few dozen bytes; anything this far in is not one.
constexpr qint64 kHeaderLimit = 4096;
constexpr qint64 kChunk = 64 * 1024;

struct Unref
{
    void operator()(void *p) const { if (p) g_object_unref(p); }
};
template<class T>
using Ref = std::unique_ptr<T, Unref>;

quint32 le32(const guint8 *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

bool copyInput(GsfInput *in, gsf_off_t size, QSaveFile &out)
{
    while (size > 0) {
        const size_t n = size_t(std::min<gsf_off_t>(size, kChunk));
        const guint8 *bytes = gsf_input_read(in, n, nullptr);
        if (!bytes || out.write(reinterpret_cast<const char *>(bytes), qint64(n)) != qint64(n))
            return false;
        size -= gsf_off_t(n);
    }
    return true;
}

/// A NUL-ended text of the package header.
bool readText(GsfInput *in, QByteArray &text)
{
    for (int i = 0; i < 4096; ++i) {
        const guint8 *c = gsf_input_read(in, 1, nullptr);
        if (!c)
            return false;
        if (*c == 0)
            return true;
        text.append(char(*c));
    }
    return false;
}

QString extensionOf(const QByteArray &label, const QByteArray &path)
{
    for (const QByteArray &name : {label, path}) {
        const QString suffix = QFileInfo(QString::fromLatin1(name).replace(u'\\', u'/')).suffix();
        if (!suffix.isEmpty() && suffix.size() <= 5)
            return u'.' + suffix.toUpper();
    }
    return QStringLiteral(".BIN");
}

/// What an Office Open XML package holds, told by its parts' folders (its
/// content, not a name): empty when it is no such package.
QString packageExtension(GsfInput *package)
{
    GError *err = nullptr;
    Ref<GsfInfile> zip(gsf_infile_zip_new(package, &err));
    g_clear_error(&err);
    if (!zip)
        return {};
    const std::pair<const char *, const char *> kinds[] = {{"word", ".DOCX"}, {"xl", ".XLSX"}, {"ppt", ".PPTX"}};
    for (const auto &[part, extension] : kinds) {
        if (Ref<GsfInput>(gsf_infile_child_by_name(zip.get(), part)))
            return QString::fromLatin1(extension);
    }
    return {};
}

} // namespace

qint64 compoundOffset(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = f.read(kHeaderLimit + 8);
    const QByteArray sig(reinterpret_cast<const char *>(kSignature), 8);
    const qint64 at = head.indexOf(sig);
    return at > 0 ? at : -1;
}

Extracted extract(const QString &path, const QString &folder, const QString &baseName)
{
    Extracted result;
    const qint64 offset = compoundOffset(path);
    if (offset < 0) {
        result.error = QStringLiteral("Belge eski biçimde gömülü bir belge değil.");
        return result;
    }
    GError *err = nullptr;
    Ref<GsfInput> file(gsf_input_stdio_new(QFile::encodeName(path).constData(), &err));
    if (!file) {
        g_clear_error(&err);
        result.error = QStringLiteral("Belge okunamadı.");
        return result;
    }
    const gsf_off_t compoundSize = gsf_input_size(file.get()) - offset;
    Ref<GsfInput> section(gsf_input_proxy_new_section(file.get(), offset, compoundSize));
    Ref<GsfInfile> ole(section ? gsf_infile_msole_new(section.get(), &err) : nullptr);
    if (!ole) {
        g_clear_error(&err);
        result.error = QStringLiteral("Gömülü belgenin bileşik dosyası bozuk.");
        return result;
    }

    QString extension;
    Ref<GsfInput> source;
    gsf_off_t size = 0;
    if (Ref<GsfInput> native{gsf_infile_child_by_name(ole.get(), "\001Ole10Native")}) {
        // Total size, two flag bytes, label, original path, four reserved bytes,
        // the length and text of a temporary path, the data size, the data.
        const guint8 *total = gsf_input_read(native.get(), 6, nullptr);
        QByteArray label, original;
        if (!total || !readText(native.get(), label) || !readText(native.get(), original)
            || !gsf_input_read(native.get(), 4, nullptr)) {
            result.error = QStringLiteral("Paketlenmiş belgenin başlığı bozuk.");
            return result;
        }
        const guint8 *tmpLen = gsf_input_read(native.get(), 4, nullptr);
        if (!tmpLen || gsf_input_seek(native.get(), le32(tmpLen), G_SEEK_CUR)) { // TRUE is failure
            result.error = QStringLiteral("Paketlenmiş belgenin başlığı bozuk.");
            return result;
        }
        const guint8 *dataLen = gsf_input_read(native.get(), 4, nullptr);
        if (!dataLen || gsf_off_t(le32(dataLen)) > gsf_input_remaining(native.get())) {
            result.error = QStringLiteral("Paketlenmiş belgenin boyu tutmuyor.");
            return result;
        }
        size = le32(dataLen);
        extension = extensionOf(label, original);
        source = std::move(native);
    } else if (Ref<GsfInput> package{gsf_infile_child_by_name(ole.get(), "Package")}) {
        // Newer office suites keep the .docx/.xlsx file's own bytes in this stream.
        extension = packageExtension(package.get());
        if (extension.isEmpty()) {
            result.error = QStringLiteral("Gömülü belgenin türü tanınmadı.");
            return result;
        }
        gsf_input_seek(package.get(), 0, G_SEEK_SET);
        size = gsf_input_size(package.get());
        source = std::move(package);
    } else {
        auto has = [&](const char *name) { return Ref<GsfInput>(gsf_infile_child_by_name(ole.get(), name)) != nullptr; };
        const bool word = has("WordDocument");
        const bool sheet = !word && (has("Workbook") || has("Book"));
        if (!word && !sheet) {
            result.error = QStringLiteral("Gömülü belgenin türü tanınmadı.");
            return result;
        }
        extension = word ? QStringLiteral(".DOC") : QStringLiteral(".XLS");
        // The whole compound file is the document.
        source.reset(GSF_INPUT(g_object_ref(section.get())));
        gsf_input_seek(source.get(), 0, G_SEEK_SET);
        size = compoundSize;
    }

    QDir().mkpath(folder);
    QSaveFile out(QDir(folder).filePath(baseName + extension));
    if (!out.open(QIODevice::WriteOnly) || !copyInput(source.get(), size, out) || !out.commit()) {
        result.error = QStringLiteral("Gömülü belge çıkarılamadı.");
        return result;
    }
    result.path = out.fileName();
    return result;
}

} // namespace legacycontent
