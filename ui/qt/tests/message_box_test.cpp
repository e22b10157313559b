// The program's real message box, and a refused focus move that really opens
// it: the box takes the focus away and gives it back, and the typed text must
// come through that round trip unchanged.

#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "ui/qt/desktop_services.h"
#include "ui/qt/form1.h"
#include "ui/qt/tests/window_fixture.h"

using namespace quorvel;
using namespace quorvel::test_support;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    qsizetype buttons = 0;
    bool okButton = false;
    bool modal = false;
};

// Looks at every message box that opens, then presses its button.
class BoxCloser : public QObject {
public:
    BoxCloser() {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            seen << SeenBox{box->windowTitle(), box->text(), box->icon(), box->buttons().size(),
                            box->button(QMessageBox::Ok) != nullptr, box->isModal()};
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start();
    }
    QList<SeenBox> seen;

private:
    QTimer timer_;
};

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxHasOneOkButtonNoIconAndTheProgramsTitle() {
        const WindowServices services = DesktopServices();
        QCOMPARE(services.appDir, QCoreApplication::applicationDirPath());
        QWidget parent;
        parent.show();
        BoxCloser closer;
        services.showMessage(&parent, QStringLiteral("无效数据!"));
        QCOMPARE(closer.seen.size(), 1);
        const SeenBox& box = closer.seen[0];
        QCOMPARE(box.title, QStringLiteral("Quorvel"));
        QCOMPARE(box.text, QStringLiteral("无效数据!"));
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, qsizetype{1});
        QVERIFY(box.okButton);
        QVERIFY(box.modal);
    }

    void refusedFocusMoveSurvivesTheMessageBoxRoundTrip() {
        WindowServices services = DesktopServices();
        QTemporaryDir appDir;
        services.appDir = appDir.path();
        Form1 form(services);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* height = Find<QLineEdit>(form, "Text1_0");
        Click(form, height);
        height->selectAll();
        QTest::keyClicks(height, QStringLiteral("abc"));

        BoxCloser closer;
        Click(form, Find<QPushButton>(form, "Command1_0"));
        PressKey(form, Qt::Key_Tab);

        QCOMPARE(closer.seen.size(), 2);
        QCOMPARE(closer.seen[0].text, QStringLiteral("无效数据!"));
        QCOMPARE(form.focusWidget(), height);
        QCOMPARE(height->text(), QStringLiteral("abc"));
        QVERIFY(!form.IsBusy());
        QCOMPARE(Find<QPushButton>(form, "Command1_0")->text(), QStringLiteral("运行"));
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
