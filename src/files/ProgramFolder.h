#pragma once

#include <QString>
#include <QStringView>

namespace tunevane::files {

// The folder under which everything the program stores lies; subfolders are addressed by
// bare names and never reach outside it.
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    const QString& path() const { return m_path; }

    // Silent by design: an existing folder and any failure are both passed over.
    void makeSubfolder(const QString& name) const;
    // Never replaces anything already named newName.
    bool renameSubfolder(const QString& oldName, const QString& newName) const;
    // Joined as plain strings, so a program folder of "/" gives "//TempDir/NAME".
    QString filePath(QStringView folderLiteral, const QString& fileName) const;

    // The per-user data folder, made if missing.
    static QString standardLocation();

private:
    QString m_path;
};

} // namespace tunevane::files
