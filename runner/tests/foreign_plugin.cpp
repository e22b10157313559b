// Test component: a runner factory that carries another CLSID.
#include "runner/clsexecute_interface.h"

#include <QtCore/QObject>

class ForeignPlugin : public QObject, public quorvel::ClassFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "{05F7A3DF-820C-455E-92A2-4CAE5FA51CB5}" FILE "foreign_plugin.json")
    Q_INTERFACES(quorvel::ClassFactory)

  public:
    QObject* CreateInstance() override { return new QObject(); }
};

#include "foreign_plugin.moc"
