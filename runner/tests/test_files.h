#pragma once
// File helpers for the runner's tests.

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QString>
#include <QtCore/QStringList>

namespace quorvel::testing {

// Copies `source` to `dir`/`name`, executable. Returns the new path, or an
// empty text on failure.
inline QString CopyExecutable(const QString& source, const QString& dir, const QString& name) {
    if (!QDir().mkpath(dir)) {
        return {};
    }
    const QString target = dir + u'/' + name;
    QFile::remove(target);
    if (!QFile::copy(source, target) ||
        !QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        return {};
    }
    return target;
}

inline bool WriteTextFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromLocal8Bit(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

}  // namespace quorvel::testing
