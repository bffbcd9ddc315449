#include "app/appfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
// Trying to create a file is the only reliable answer (ACLs, read-only
// mounts, Program Files virtualisation off).
bool canWriteIn(const QString &dir)
{
    QTemporaryFile probe(dir + QStringLiteral("/.talvo-write-probe-XXXXXX"));
    return probe.open();
}
}  // namespace

AppFiles::AppFiles(QString exeDir, QString baseName, QString userDir, bool exeDirWritable)
    : m_exeDir(std::move(exeDir))
    , m_baseName(std::move(baseName))
    , m_userDir(std::move(userDir))
    , m_exeDirWritable(exeDirWritable)
{}

AppFiles AppFiles::forExecutable()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    QString base = exe.fileName();
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    const QString exeDir = exe.absolutePath();
    QString userDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    userDir += QStringLiteral("/TalvoEditZ");
    return AppFiles(exeDir, base, userDir, canWriteIn(exeDir));
}

AppFiles AppFiles::inDirectory(const QString &dir, const QString &baseName)
{
    return AppFiles(dir, baseName, dir, true);
}

QString AppFiles::readPath(const QString &fileName) const
{
    if (!m_exeDirWritable) {
        const QString user = m_userDir + QLatin1Char('/') + fileName;
        if (QFileInfo::exists(user))
            return user;
    }
    return m_exeDir + QLatin1Char('/') + fileName;
}

QString AppFiles::writePath(const QString &fileName) const
{
    if (m_exeDirWritable)
        return m_exeDir + QLatin1Char('/') + fileName;
    QDir().mkpath(m_userDir);
    return m_userDir + QLatin1Char('/') + fileName;
}
