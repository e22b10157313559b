// Test component: the runner's CLSID, but the library cannot be loaded, as it
// needs a variable that no library defines.
#include "runner/clsexecute_interface.h"

#include <QtCore/QObject>

extern int tolvane_test_undefined_variable;

class UnloadablePlugin : public QObject, public quorvel::ClassFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "{05F7A3DF-820C-455E-92A2-4CAE5FA51CB5}" FILE "runner_clsid_plugin.json")
    Q_INTERFACES(quorvel::ClassFactory)

  public:
    QObject* CreateInstance() override {
        ++tolvane_test_undefined_variable;
        return new QObject();
    }
};

#include "unloadable_plugin.moc"
