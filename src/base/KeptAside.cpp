#include "base/KeptAside.h"

#include "base/AtomicFile.h"

#include <QFile>

#include <cstdio>

namespace {

// Shifts the copies up one number, dropping the oldest, so that copy 0 is free.
void makeRoom(const QString& path) {
    QFile::remove(KeptAside::copyPath(path, KeptAside::maxCopies - 1));
    for (int n = KeptAside::maxCopies - 2; n >= 0; --n) {
        const QByteArray from = QFile::encodeName(KeptAside::copyPath(path, n));
        const QByteArray to = QFile::encodeName(KeptAside::copyPath(path, n + 1));
        std::rename(from.constData(), to.constData()); // a missing one is simply skipped
    }
}

} // namespace

namespace KeptAside {

QString copyPath(const QString& path, int n) {
    return n == 0 ? path + QStringLiteral(".corrupt") : path + QStringLiteral(".corrupt.%1").arg(n);
}

QString keepCopy(const QString& path, const QByteArray& bytes) {
    makeRoom(path);
    const QString aside = copyPath(path, 0);
    return AtomicFile::write(aside, bytes, AtomicFile::ownerOnly) ? aside : QString();
}

QString moveAside(const QString& path) {
    makeRoom(path);
    const QString aside = copyPath(path, 0);
    return std::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) ==
                   0
               ? aside
               : QString();
}

} // namespace KeptAside
