#pragma once

#include <QString>

namespace storage {

/// The four registers that carry attachments.
enum class Register { Incoming, Outgoing, Petition, Archive };

/// Where one register keeps its attachments.
struct RegisterKind
{
    QString table;      ///< attachment table, in the main and in the yearly database
    QString prefix;     ///< file-name prefix, "GEL_"
    QString folder;     ///< sub-folder of the local document folder, "GELEN"
    QString folderWord; ///< the folder as the messages name it, "Gelen"
    QString records;    ///< the register's own table, "GELEN"
    QString dateField;  ///< its registration date, whose year names the attachment database
};

const RegisterKind &kindOf(Register r);

/// BELTUR for an extension as chosen, upper-cased with its dot (".JPG");
/// empty when the type is not taken.
QString belturForExtension(const QString &extension);
/// The type column's text ("JPG", "PDF", "Word", "Excel"; others empty).
QString shownType(const QString &beltur);
/// The class name stored in OCN for a document type; empty for pictures.
QString classNameFor(const QString &beltur);
/// Extension of a type in file names (".JPG").
QString extensionFor(const QString &beltur);
inline bool isPicture(const QString &b) { return b == u"1" || b == u"2" || b == u"3"; }
inline bool isShownDocument(const QString &b) { return b == u"4" || b == u"5" || b == u"6" || b == u"7"; }

} // namespace storage
