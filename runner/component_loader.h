#pragma once
// Creates the process runner by its class identifier, once per calculation.

#include "runner/clsexecute_interface.h"

#include <QtCore/QObject>
#include <QtCore/QString>

#include <memory>

namespace quorvel {

// A runner object created through the component system. On success `object`
// owns the new object and `execute` (and, when the component offers it,
// `control`) point into it; on failure both are null and `error` says why.
struct CreatedRunner {
    std::unique_ptr<QObject> object;
    _clsExecute* execute = nullptr;
    _clsExecuteControl* control = nullptr;
    QString error;

    bool ok() const { return execute != nullptr; }
};

// Finds, in `appDir`, the plugin whose metadata carries the runner's CLSID,
// loads it and asks its factory for a new object with the _clsExecute
// interface. Only that plugin's code is loaded. Never throws; a missing,
// unloadable, foreign or incomplete component gives an error text.
CreatedRunner CreateClsExecute(const QString& appDir);

}  // namespace quorvel
