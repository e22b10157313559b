#include "runner/component_loader.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonObject>
#include <QtCore/QLibrary>
#include <QtCore/QPluginLoader>

using namespace Qt::StringLiterals;

namespace quorvel {
namespace {

const QString kMissingText = u"找不到进程运行组件Tolvane, 它应该在本程序同一目录!"_s;
const QString kForeignText = u"进程运行组件Tolvane的类标识不符!"_s;
const QString kLoadFailedText = u"不能加载进程运行组件Tolvane!"_s;
const QString kNoInterfaceText = u"进程运行组件Tolvane不提供_clsExecute接口!"_s;

struct PluginScan {
    QString match;         // the plugin with the runner's CLSID
    bool foreign = false;  // a runner plugin with another CLSID was seen
};

// Reads only the metadata of each shared library; no code is loaded.
PluginScan ScanPlugins(const QDir& dir) {
    PluginScan scan;
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        if (!QLibrary::isLibrary(file.fileName())) {
            continue;
        }
        const QJsonObject meta = QPluginLoader(file.absoluteFilePath()).metaData();
        if (meta.isEmpty()) {
            continue;
        }
        const QJsonObject data = meta.value(u"MetaData"_s).toObject();
        const QString clsid = data.value(u"Class"_s).toObject().value(u"CLSID"_s).toString();
        if (clsid.compare(QLatin1StringView(tolvane::kClsId), Qt::CaseInsensitive) == 0) {
            scan.match = file.absoluteFilePath();
            return scan;
        }
        const QString library = data.value(u"TypeLibrary"_s).toObject().value(u"Name"_s).toString();
        if (library == QLatin1StringView(tolvane::kTypeLibraryName) ||
            meta.value(u"IID"_s).toString() == QLatin1StringView(tolvane::kClassFactoryIid)) {
            scan.foreign = true;
        }
    }
    return scan;
}

CreatedRunner Failure(const QString& text) {
    CreatedRunner result;
    result.error = text;
    return result;
}

}  // namespace

CreatedRunner CreateClsExecute(const QString& appDir) {
    const QDir dir(appDir);
    if (appDir.isEmpty() || !dir.exists()) {
        return Failure(kMissingText);
    }
    const PluginScan scan = ScanPlugins(dir);
    if (scan.match.isEmpty()) {
        return Failure(scan.foreign ? kForeignText : kMissingText);
    }

    // The loaded library stays loaded: objects it created may outlive any
    // loader, and the next calculation creates its object from it again.
    QPluginLoader loader(scan.match);
    QObject* root = loader.instance();
    if (root == nullptr) {
        return Failure(kLoadFailedText + u" ("_s + loader.errorString() + u')');
    }
    auto* factory = qobject_cast<ClassFactory*>(root);
    if (factory == nullptr) {
        return Failure(kNoInterfaceText);
    }
    std::unique_ptr<QObject> object(factory->CreateInstance());
    auto* execute = qobject_cast<_clsExecute*>(object.get());
    if (execute == nullptr) {
        return Failure(kNoInterfaceText);
    }
    CreatedRunner result;
    result.execute = execute;
    result.control = qobject_cast<_clsExecuteControl*>(object.get());
    result.object = std::move(object);
    return result;
}

}  // namespace quorvel
