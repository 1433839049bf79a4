#include "contenttype.h"

#include <QFile>
#include <QFileInfo>

#include <magic.h>

namespace storage {

namespace {

class Magic
{
public:
    Magic() : m_cookie(magic_open(MAGIC_MIME_TYPE))
    {
        if (m_cookie && magic_load(m_cookie, nullptr) != 0) {
            magic_close(m_cookie);
            m_cookie = nullptr;
        }
    }
    ~Magic()
    {
        if (m_cookie)
            magic_close(m_cookie);
    }
    QString mime(const QString &path) const
    {
        if (!m_cookie)
            return {};
        const char *m = magic_file(m_cookie, QFile::encodeName(path).constData());
        return m ? QString::fromLatin1(m) : QString();
    }

private:
    magic_t m_cookie;
};

} // namespace

QString mimeOf(const QString &path)
{
    // One per thread: a libmagic cookie is not shared between threads.
    thread_local Magic magic;
    return magic.mime(path);
}

Content contentOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return Content::Missing;
    if (info.size() == 0)
        return Content::Empty;
    const QString m = mimeOf(path);
    if (m == u"image/jpeg")
        return Content::Jpeg;
    if (m == u"image/gif")
        return Content::Gif;
    if (m == u"image/png")
        return Content::Png;
    if (m.startsWith(u"image/"))
        return Content::OtherPicture;
    if (m == u"application/pdf")
        return Content::Pdf;
    if (m == u"text/rtf" || m == u"application/rtf")
        return Content::RichText;
    if (m.contains(u"wordprocessingml") || m == u"application/msword"
        || m == u"application/vnd.oasis.opendocument.text")
        return Content::WordProcessor;
    if (m.contains(u"spreadsheetml") || m == u"application/vnd.ms-excel"
        || m == u"application/vnd.oasis.opendocument.spreadsheet")
        return Content::Spreadsheet;
    if (m == u"application/x-ole-storage" || m == u"application/CDFV2")
        return Content::Compound;
    if (m.startsWith(u"text/"))
        return Content::PlainText;
    return Content::Unknown;
}

} // namespace storage
