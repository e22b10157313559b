#pragma once
// What the window tests share: services that record instead of showing or
// opening anything, a window on a scratch application directory, and clicks
// and keys delivered the way the platform delivers them, through the window.

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QWidget>

#include <functional>
#include <memory>

#include "calc/run/tests/fake_launcher.h"
#include "ui/qt/form1.h"

namespace quorvel::test_support {

struct Recorder {
    QStringList messages;
    QList<QUrl> opened;
    // Runs while a message is "shown", to look at the window at that moment.
    std::function<void(const QString&)> onMessage;
};

inline WindowServices RecordingServices(const QString& appDir, Recorder& recorder,
                                        std::shared_ptr<ProcessLauncher> launcher) {
    WindowServices services;
    services.appDir = appDir;
    services.showMessage = [&recorder](QWidget*, const QString& text) {
        recorder.messages << text;
        if (recorder.onMessage) recorder.onMessage(text);
    };
    services.openUrl = [&recorder](const QUrl& url) { recorder.opened << url; };
    services.launcher = std::move(launcher);
    return services;
}

template <class Control>
Control* Find(QWidget& form, const char* name) {
    auto* control = form.findChild<Control*>(QLatin1String(name));
    if (control == nullptr) qFatal("no control %s", name);
    return control;
}

// A left click at `at` (control coordinates; default: the centre), sent to the
// window as the platform sends it.
inline void Click(QWidget& form, QWidget* control, QPoint at = QPoint(-1, -1)) {
    if (at == QPoint(-1, -1)) at = control->rect().center();
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, control->mapTo(&form, at));
}

// Check boxes take clicks on their box and caption, near the left edge.
inline void ClickCheckBox(QWidget& form, QWidget* checkBox) {
    Click(form, checkBox, QPoint(8, checkBox->height() / 2));
}

inline void PressKey(QWidget& form, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(form.windowHandle(), key, modifiers);
}

inline QString FocusName(QWidget& form) {
    QWidget* focused = form.focusWidget();
    return focused ? focused->objectName() : QString();
}

}  // namespace quorvel::test_support
