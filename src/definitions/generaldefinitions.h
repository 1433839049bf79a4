#pragma once

#include "core/choices.h"
#include "core/workstationyear.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

class Session;

/// The general definitions: the institution's settings row (TANIM) and the
/// workstation's own working year, colour scheme, document reading mode,
/// local document folder and attachment size limit.
class GeneralDefinitions
{
public:
    // The choice boxes, in the order of their items.
    static const Choices &colours();   ///< "Form Rengi": Y T M O, "...." none
    static const Choices &yesNo();     ///< Evet E, Hayır H
    static const Choices &fileTypes(); ///< "Geçerli Belge Türü": ABT is the item number
    static const Choices &numbering(); ///< "Sayı Dur": ESDUR
    static const Choices &office();    ///< "Microsoft Office": MSVER; the empty item keeps the value
    static const Choices &readModes(); ///< "Belge Okuma Ortamı": V S Y

    /// What the screen shows and edits. A choice is its item number, -1 when
    /// nothing is selected (then saving leaves the stored value alone).
    struct Values
    {
        QString KURUM, SUBE, BASLIK, SRVIPNO, SRVPORT;
        QString ILKOD;
        QVariant ILCEKOD; ///< null: no district
        int ONIZ = -1, SRVSAKLA = -1, VTSAKLA = -1, TRMSAKLA = -1, MSVER = -1, ESDUR = -1, ABT = -1;
        /// Reply deadlines: a petition's legal period and the days a
        /// deadline counts as near, in days.
        int CEVSURE = 30, CEVYAKIN = 3;
        // The workstation's.
        QString year;
        int colour = -1;
        int readMode = -1;
        QString localFolder;
        QString sizeLimit; ///< largest attachment file in MB (BELGESINIR)
    };

    struct Place
    {
        QString code; ///< ILKOD of a province, ILCEKOD of a district
        QString name;
    };

    /// The earliest working year accepted; the latest is next year. The start
    /// holds a stored year to the same range.
    static constexpr int kFirstWorkingYear = workstation::kFirstWorkingYear;

    explicit GeneralDefinitions(Session &session);

    /// Reads the settings row; the values to show.
    Values open();
    QList<Place> provinces();
    /// The districts of a province, by name; none for a province without any.
    QList<Place> districts(const QString &ILKOD);

    /// The emblem as stored (empty when there is none).
    const QByteArray &logo() const { return m_logo; }
    /// "Ekle": a picture file (bitmap, icon, PNG, JPEG) is stored at once and
    /// committed. False, after a message, when it is not such a picture.
    /// Throws fb::Error.
    bool addLogo(const QString &file);
    /// "Sil": the emblem goes with the next save.
    void clearLogo();

    /// F5: checks, writes the row, commits, and hands the workstation values to
    /// the session. False, after a message, when nothing was stored. Throws
    /// fb::Error; nothing is stored then.
    bool save(const Values &values);

    /// BMP, ICO, PNG or JPEG by the file's first bytes; empty when none of these.
    static QString pictureFormat(const QByteArray &bytes);

private:
    Session &m_session;
    QByteArray m_logo;
    bool m_logoCleared = false;
    bool m_hasDeadlines = false; ///< the row has the deadline columns
};
