#include "app/singleinstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QString>

// The lock lives in the per-user runtime directory, so two users of one
// machine each run their own instance; a crashed holder leaves a stale
// lock that the next start takes over (its process no longer exists).
struct SingleInstance::Impl {
    std::unique_ptr<QLockFile> lock;
};

SingleInstance::SingleInstance() : d(std::make_unique<Impl>())
{}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    d->lock = std::make_unique<QLockFile>(dir + QLatin1Char('/') + QLatin1String(kMainWindowClass)
                                          + QStringLiteral(".lock"));
    d->lock->setStaleLockTime(0);  // never stale by age: the program runs for days
    if (d->lock->tryLock(0))
        return true;
    d->lock.reset();
    return false;
}

void SingleInstance::markRunning()
{}
