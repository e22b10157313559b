#include "runner/tolvane_plugin.h"

#include "runner/clsexecute.h"

namespace quorvel {

QObject* TolvanePlugin::CreateInstance() { return new ClsExecute(); }

}  // namespace quorvel
