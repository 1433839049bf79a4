#include "printing.h"

namespace reports {

StartRule startRule(ReportId id)
{
    //                                  set-up first  always preview  maximized
    switch (id) {
    case ReportId::IncomingBook:
    case ReportId::OutgoingBook:
    case ReportId::PetitionBook:  return {false,        false,          true};
    case ReportId::IncomingSheet:
    case ReportId::OutgoingSheet: return {true,         true,           false};
    case ReportId::Letter:        return {true,         false,          true};
    case ReportId::Picture:       return {true,         true,           true};
    case ReportId::Overdue:       return {false,        true,           true};
    }
    return {true, true, true};
}

bool previews(ReportId id, const QString &ONIZ)
{
    return startRule(id).alwaysPreview || ONIZ == QLatin1String("E");
}

QString reportTitle(ReportId id)
{
    switch (id) {
    case ReportId::IncomingBook: return QStringLiteral("GELEN YAZILAR DEFTERİ");
    case ReportId::OutgoingBook: return QStringLiteral("GİDEN YAZILAR DEFTERİ");
    case ReportId::PetitionBook: return QStringLiteral("DİLEKÇE DEFTERİ");
    case ReportId::IncomingSheet: return QStringLiteral("GELEN EVRAK BİLGİLERİ");
    case ReportId::OutgoingSheet: return QStringLiteral("GİDEN EVRAK BİLGİLERİ");
    case ReportId::Letter: return QStringLiteral("Yazı");
    case ReportId::Picture: return QStringLiteral("Resim");
    case ReportId::Overdue: return QStringLiteral("SÜRESİ GEÇEN EVRAKLAR");
    }
    return {};
}

bool PrinterChoices::setUp(ReportId id, PrinterSetup &setup, QPageLayout::Orientation orientation)
{
    PrinterChoice choice = m_chosen.value(int(id));
    if (setup.ask(reportTitle(id), orientation, choice))
        m_chosen.insert(int(id), choice);
    return m_chosen.contains(int(id));
}

std::optional<PrinterChoice> PrinterChoices::chosen(ReportId id) const
{
    const auto it = m_chosen.constFind(int(id));
    if (it == m_chosen.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace reports
