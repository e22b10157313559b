#pragma once
// The Qt application object the runner's event processing needs in tests.

#include <QtCore/QCoreApplication>

namespace quorvel::testing {

inline void EnsureQtApp() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "tolvane_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
}

}  // namespace quorvel::testing
