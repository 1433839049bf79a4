#include "registerkind.h"

#include <QHash>

namespace storage {

const RegisterKind &kindOf(Register r)
{
    static const RegisterKind kinds[] = {
        {QStringLiteral("GELTEXT"), QStringLiteral("GEL_"), QStringLiteral("GELEN"), QStringLiteral("Gelen"),
         QStringLiteral("GELEN"), QStringLiteral("GELTAR")},
        {QStringLiteral("GIDTEXT"), QStringLiteral("GID_"), QStringLiteral("GIDEN"), QStringLiteral("Giden"),
         QStringLiteral("GIDEN"), QStringLiteral("GIDTAR")},
        {QStringLiteral("DILTEXT"), QStringLiteral("DIL_"), QStringLiteral("DILEKCE"), QStringLiteral("Dilekçe"),
         QStringLiteral("DILEKCE"), QStringLiteral("GELTAR")}, // numbered and listed by registration
        {QStringLiteral("ARSTEXT"), QStringLiteral("ARS_"), QStringLiteral("ARSIV"), QStringLiteral("Arşiv"),
         QStringLiteral("ARSIV"), QStringLiteral("ARSTAR")},
    };
    return kinds[static_cast<int>(r)];
}

QString belturForExtension(const QString &e)
{
    static const QHash<QString, QString> map = {
        {QStringLiteral(".JPG"), QStringLiteral("1")},  {QStringLiteral(".PDF"), QStringLiteral("4")},
        {QStringLiteral(".DOC"), QStringLiteral("5")},  {QStringLiteral(".DOCX"), QStringLiteral("5")},
        {QStringLiteral(".XLS"), QStringLiteral("6")},  {QStringLiteral(".XLSX"), QStringLiteral("6")},
        {QStringLiteral(".RTF"), QStringLiteral("7")},  {QStringLiteral(".TXT"), QStringLiteral("8")},
    };
    return map.value(e);
}

QString shownType(const QString &b)
{
    if (b == u"1")
        return QStringLiteral("JPG");
    if (b == u"4")
        return QStringLiteral("PDF");
    if (b == u"5")
        return QStringLiteral("Word");
    if (b == u"6")
        return QStringLiteral("Excel");
    return {};
}

QString classNameFor(const QString &b)
{
    if (b == u"4")
        return QStringLiteral("Word.application");
    if (b == u"5" || b == u"7")
        return QStringLiteral("Word.Document");
    if (b == u"6")
        return QStringLiteral("Excel.Sheet");
    if (b == u"8")
        return QStringLiteral("Package");
    return {};
}

QString extensionFor(const QString &b)
{
    static const QHash<QString, QString> map = {
        {QStringLiteral("1"), QStringLiteral(".JPG")}, {QStringLiteral("2"), QStringLiteral(".GIF")},
        {QStringLiteral("3"), QStringLiteral(".PNG")}, {QStringLiteral("4"), QStringLiteral(".PDF")},
        {QStringLiteral("5"), QStringLiteral(".DOC")}, {QStringLiteral("6"), QStringLiteral(".XLS")},
        {QStringLiteral("7"), QStringLiteral(".RTF")}, {QStringLiteral("8"), QStringLiteral(".TXT")},
    };
    return map.value(b);
}

} // namespace storage
