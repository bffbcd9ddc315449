#pragma once

#include <QString>

// Where the settings file and the list files live: beside the executable.
// When that directory cannot be written (an installed program), the
// per-user configuration directory takes the writes, and reads look there
// first and then beside the executable.
class AppFiles {
public:
    AppFiles(QString exeDir, QString baseName, QString userDir, bool exeDirWritable);

    // From the running executable; the user directory is the platform's
    // per-user configuration location for "TalvoEditZ".
    static AppFiles forExecutable();
    // Everything in `dir` (tests).
    static AppFiles inDirectory(const QString &dir, const QString &baseName = QStringLiteral("TalvoEditZ"));

    // The executable's name with its extension replaced by ".ini".
    QString iniFileName() const { return m_baseName + QStringLiteral(".ini"); }
    QString readPath(const QString &fileName) const;
    // Creates the user directory when it is the target.
    QString writePath(const QString &fileName) const;
    bool usesUserDir() const { return !m_exeDirWritable; }

private:
    QString m_exeDir;
    QString m_baseName;
    QString m_userDir;
    bool m_exeDirWritable;
};
