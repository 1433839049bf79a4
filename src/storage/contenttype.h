#pragma once

#include <QString>

namespace storage {

/// What a file holds, told by its content (libmagic), not by its name.
enum class Content { Missing, Empty, Jpeg, Gif, Png, OtherPicture, Pdf, WordProcessor, Spreadsheet,
                     RichText, PlainText, Compound, Unknown };

Content contentOf(const QString &path);
/// The MIME type libmagic gives, for messages.
QString mimeOf(const QString &path);
inline bool isPictureContent(Content c)
{
    return c == Content::Jpeg || c == Content::Gif || c == Content::Png || c == Content::OtherPicture;
}

} // namespace storage
