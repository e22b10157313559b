#include "runner/executable_lookup.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <unistd.h>

namespace quorvel {
namespace {

bool IsExecutableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

QString FindExactOrCaseless(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    if (IsExecutableFile(path)) {
        return QFileInfo(path).absoluteFilePath();
    }
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QDir dir = info.dir();
    if (name.isEmpty() || !dir.exists()) {
        return {};
    }
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            const QString candidate = dir.absoluteFilePath(entry);
            if (IsExecutableFile(candidate)) {
                return candidate;
            }
        }
    }
    return {};
}

}  // namespace

QString FindExecutableFile(const QString& path) {
    QString found = FindExactOrCaseless(path);
    if (found.isEmpty() && path.contains(u'\\')) {
        found = FindExactOrCaseless(QString(path).replace(u'\\', u'/'));
    }
    return found;
}

QString LocateProgram(const QString& name, const QStringList& searchDirs) {
    if (name.isEmpty()) {
        return {};
    }
    if (name.contains(u'/') || name.contains(u'\\')) {
        return FindExecutableFile(name);
    }
    for (const QString& dir : searchDirs) {
        if (dir.isEmpty()) {
            continue;
        }
        const QString found = FindExecutableFile(dir + u'/' + name);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

WorkingDirectory ResolveWorkingDirectory(const QString& dir) {
    if (dir.isEmpty()) {
        return {true, QString()};
    }
    if (QFileInfo(dir).isDir()) {
        return {true, QFileInfo(dir).absoluteFilePath()};
    }
    const QString slashed = QString(dir).replace(u'\\', u'/');
    if (slashed != dir && QFileInfo(slashed).isDir()) {
        return {true, QFileInfo(slashed).absoluteFilePath()};
    }
    return {false, QString()};
}

}  // namespace quorvel
