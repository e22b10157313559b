#pragma once
// Locates executable files the way a file system that ignores letter case
// would, so that "Screen3.exe" finds "SCREEN3.EXE".

#include <QtCore/QString>
#include <QtCore/QStringList>

namespace quorvel {

// The absolute path of the executable regular file `path` names, matching the
// last component without regard to letter case inside its directory; "\" is
// also taken as a directory separator when the literal path names nothing.
// Empty when there is none.
QString FindExecutableFile(const QString& path);

// Looks `name` up: directly when it holds a directory part, otherwise in each
// of `searchDirs` in order. Empty when not found.
QString LocateProgram(const QString& name, const QStringList& searchDirs);

// The directory `dir` names, taking "\" as a separator when the literal text
// names no directory; an empty text stays empty (the caller's directory).
// `ok` is false when no such directory exists.
struct WorkingDirectory {
    bool ok = false;
    QString path;
};
WorkingDirectory ResolveWorkingDirectory(const QString& dir);

}  // namespace quorvel
