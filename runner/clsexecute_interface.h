#pragma once
// The process runner's programmatic interface and component identity.
//
// The runner is a Qt plugin in the application directory. Its root object is a
// class factory (ClassFactory); every CreateInstance() hands out a new object
// that implements _clsExecute and _clsExecuteControl. The caller owns that
// object and deletes it after the run. Callers bind by the identity below,
// which the plugin also carries in its metadata.

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QtPlugin>

#include <cstdint>

#include "runner/tolvane_identity.h"

namespace quorvel {

// Booleans that cross the component boundary are 16-bit, True = -1.
using VbBoolean = std::int16_t;
inline constexpr VbBoolean kVbTrue = -1;
inline constexpr VbBoolean kVbFalse = 0;

// Show states of the new process (platform SW_ values).
inline constexpr std::int16_t kSwHide = 0;
inline constexpr std::int16_t kSwShowNormal = 1;

// Starts a command line as a new process and returns once it has ended, while
// the caller's pending Qt events keep being processed.
class _clsExecute {
  public:
    virtual ~_clsExecute() = default;

    // True (non-zero): run the command line unchanged. False: run it in a
    // terminal window whose shell stays open after the command has ended.
    // Assignment only; the default of a new object is True.
    virtual void AutoCloseWindow(const VbBoolean& YesorNo) = 0;

    // Runs cmdline in CurDir (empty: the caller's working directory) and waits
    // for it to end. Returns 1 when the process was created (it has ended by
    // now), 0 when it could not be created.
    virtual std::int32_t Shell(const QString& cmdline, const QString& CurDir = QString(),
                               const std::int16_t& SW_show = kSwShowNormal) = 0;
};

// Lets the owner end a running child, for instance when the user closes the
// window during a run.
class _clsExecuteControl {
  public:
    virtual ~_clsExecuteControl() = default;

    // Sends the child of a pending Shell call SIGTERM, then SIGKILL when it has
    // not ended after a short grace period; the pending Shell call returns once
    // the child has ended. Returns at once: 1 when a child was running, else 0.
    // Call it on the thread that called Shell, e.g. from an event handler.
    virtual std::int32_t Terminate() = 0;
};

// The plugin's root object.
class ClassFactory {
  public:
    virtual ~ClassFactory() = default;

    // A new runner object without parent; the caller owns it.
    virtual QObject* CreateInstance() = 0;
};

}  // namespace quorvel

Q_DECLARE_INTERFACE(quorvel::_clsExecute, "{6934DABC-1940-4002-8C0C-9267D304485A}")
Q_DECLARE_INTERFACE(quorvel::_clsExecuteControl, "{71EDFD75-A01E-4E1E-8757-6CF4D388F8C4}")
Q_DECLARE_INTERFACE(quorvel::ClassFactory, "{05F7A3DF-820C-455E-92A2-4CAE5FA51CB5}")
