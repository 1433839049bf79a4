#pragma once

#include <QString>

namespace texts {

/// The word processor the letters are written in: LibreOffice Writer, started
/// as a program of its own on a file. Tests replace edit() to play the person
/// in Writer (they write the file as Writer would).
class Office
{
public:
    Office();
    virtual ~Office();

    /// LibreOffice is installed (its program was found).
    virtual bool available() const;
    /// Opens the file in a Writer window of its own and returns at once; the
    /// person saves and closes it there. False when Writer could not start.
    virtual bool edit(const QString &path);
    /// Converts a file headless into `format` ("docx", "pdf") in `folder`;
    /// returns the new file, or an empty text when that failed.
    virtual QString convert(const QString &path, const QString &format, const QString &folder);

    /// The program, or empty when LibreOffice is not installed.
    QString program() const { return m_program; }
    /// Writer's profile for editing: KELMA's own, so that a Writer the person
    /// has open already does not take the document into its window.
    QString profileFolder() const { return m_profile; }
    void setProfileFolder(const QString &folder) { m_profile = folder; }

    /// The lock Writer keeps beside a file while it has it open.
    static QString lockFileOf(const QString &path);

    /// What the editors say when there is no LibreOffice.
    static QString missingMessage();

private:
    void prepareProfile(const QString &folder) const;

    QString m_program;
    QString m_profile;
};

} // namespace texts
