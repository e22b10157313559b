// Test component: the runner's CLSID, but its objects lack _clsExecute.
#include "runner/clsexecute_interface.h"

#include <QtCore/QObject>

class NoInterfacePlugin : public QObject, public quorvel::ClassFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "{05F7A3DF-820C-455E-92A2-4CAE5FA51CB5}" FILE "runner_clsid_plugin.json")
    Q_INTERFACES(quorvel::ClassFactory)

  public:
    QObject* CreateInstance() override { return new QObject(); }
};

#include "nointerface_plugin.moc"
