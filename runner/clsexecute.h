#pragma once
// The runner class: starts a command line and waits for it to end.

#include "runner/child_process.h"
#include "runner/clsexecute_interface.h"

#include <QtCore/QObject>
#include <QtCore/QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class ClsExecute : public QObject, public _clsExecute, public _clsExecuteControl {
    Q_OBJECT
    Q_INTERFACES(quorvel::_clsExecute quorvel::_clsExecuteControl)

  public:
    ClsExecute();
    // `searchDirs` replaces the usual program search (for tests).
    explicit ClsExecute(QStringList searchDirs);
    ~ClsExecute() override;

    ClsExecute(const ClsExecute&) = delete;
    ClsExecute& operator=(const ClsExecute&) = delete;

    void AutoCloseWindow(const VbBoolean& YesorNo) override;
    std::int32_t Shell(const QString& cmdline, const QString& CurDir = QString(),
                       const std::int16_t& SW_show = kSwShowNormal) override;
    std::int32_t Terminate() override;

  private:
    void Class_Initialize();
    std::int32_t RunAndWait(const QString& cmdline, const QString& CurDir);

    VbBoolean m_AutoCloseWindow = kVbTrue;
    std::optional<QStringList> searchDirs_;
    std::vector<std::weak_ptr<ChildRun>> runs_;  // pending Shell calls, innermost last
};

}  // namespace quorvel
