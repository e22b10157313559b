#pragma once
// The component's root object: hands out a new runner per creation.

#include "runner/clsexecute_interface.h"

#include <QtCore/QObject>

namespace quorvel {

class TolvanePlugin : public QObject, public ClassFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "{05F7A3DF-820C-455E-92A2-4CAE5FA51CB5}" FILE "tolvane.json")
    Q_INTERFACES(quorvel::ClassFactory)

  public:
    QObject* CreateInstance() override;
};

}  // namespace quorvel
