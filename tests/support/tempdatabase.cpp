#include "tempdatabase.h"

TempDatabase::TempDatabase(const QString &fileName)
    : m_path(m_dir.filePath(fileName))
{
}

fb::ConnectOptions TempDatabase::options(const QString &path, const QString &charset)
{
    fb::ConnectOptions o;
    o.database = path;
    o.password = QStringLiteral("WEXD");
    o.charset = charset;
    return o;
}

void TempDatabase::createEmpty(fb::Attachment &attachment, const QString &defaultCharset)
{
    fb::CreateOptions c;
    c.forcedWrites = false;
    c.defaultCharset = defaultCharset;
    attachment.create(options(m_path), c);
}
