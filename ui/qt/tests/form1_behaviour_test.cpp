// What the window's controls do: selection on focus, the above-0 rule when the
// focus leaves a box, the rewritten texts, the standard check boxes, the
// instructions, the publisher link and the refusals of the input check.

#include <QtCore/QFile>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include "calc/run/tests/fake_launcher.h"
#include "ui/publisher.h"
#include "ui/qt/form1.h"
#include "ui/qt/tests/window_fixture.h"

using namespace quorvel;
using namespace quorvel::test_support;

namespace {
const QString kInvalid = QStringLiteral("无效数据!");
}

class Form1BehaviourTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> appDir_;
    Recorder recorder_;
    std::shared_ptr<FakeLauncher> launcher_;
    std::unique_ptr<Form1> form_;

    QLineEdit* Box(int index) {
        return Find<QLineEdit>(*form_, qPrintable(QStringLiteral("Text1_%1").arg(index)));
    }
    QWidget* Control(const char* name) { return Find<QWidget>(*form_, name); }

    // Puts the focus into the box with a click and types over its text.
    void Type(int index, const QString& text) {
        Click(*form_, Box(index));
        QCOMPARE(form_->focusWidget(), Box(index));
        Box(index)->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(Box(index), Qt::Key_Delete);
        } else {
            QTest::keyClicks(Box(index), text);
        }
        QCOMPARE(Box(index)->text(), text);
    }

  private slots:
    void init() {
        appDir_ = std::make_unique<QTemporaryDir>();
        recorder_ = Recorder();
        launcher_ = std::make_shared<FakeLauncher>(
            [](const LaunchCall&) -> Result<std::int32_t> { return 0; });
        form_ = std::make_unique<Form1>(RecordingServices(appDir_->path(), recorder_, launcher_));
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() {
        form_.reset();
        appDir_.reset();
    }

    void focusSelectsTheNumber() {
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(Box(0)->selectedText(), QStringLiteral("15"));
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(Box(1)->selectedText(), QStringLiteral("100"));
        PressKey(*form_, Qt::Key_Tab);
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(Box(3)->selectedText(), QStringLiteral("10"));
        for (int i = 0; i < 3; ++i) PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(Box(4)->selectedText(), QStringLiteral("0.5"));
        // A length box too short for its unit selects nothing rather than failing.
        Box(0)->setText(QStringLiteral("5"));
        Box(0)->setFocus(Qt::BacktabFocusReason);
        QCOMPARE(Box(0)->selectedText(), QString());
        QVERIFY(recorder_.messages.isEmpty());
    }

    void invalidNumberHoldsTheFocus_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        for (int index : {0, 3, 4}) {
            for (const char* text : {"0", "0.0", "-2", "abc", "", "1e-50"}) {
                QTest::newRow(qPrintable(QStringLiteral("Text1_%1 '%2'").arg(index).arg(text)))
                    << index << QString::fromLatin1(text);
            }
        }
    }

    void invalidNumberHoldsTheFocus() {
        QFETCH(int, index);
        QFETCH(QString, text);
        Type(index, text);
        auto* daily = Find<QCheckBox>(*form_, "Check1_1");

        Click(*form_, Control("Command1_0"));  // Run
        Click(*form_, Control("Command1_2"));  // Exit
        PressKey(*form_, Qt::Key_Tab);
        PressKey(*form_, Qt::Key_Backtab);
        ClickCheckBox(*form_, daily);
        Click(*form_, Control("Combo1_0"));
        Click(*form_, Box(index == 0 ? 1 : 0));

        QCOMPARE(recorder_.messages, QStringList(7, kInvalid));
        QCOMPARE(form_->focusWidget(), Box(index));
        QCOMPARE(Box(index)->text(), text);
        QVERIFY(launcher_->calls.empty());
        QVERIFY(form_->isVisible());
        QVERIFY(!daily->isChecked());
        QCOMPARE(Find<QPushButton>(*form_, "Command1_0")->text(), QStringLiteral("运行"));

        // Corrected, the box lets the focus go and the next click acts.
        Box(index)->setText(QStringLiteral("7"));
        ClickCheckBox(*form_, daily);
        QVERIFY(daily->isChecked());
        QCOMPARE(recorder_.messages.size(), 7);
    }

    void clicksThatMoveNoFocusAreNotValidated() {
        Type(0, QStringLiteral("0"));
        Click(*form_, Control("Label1_0"));
        Click(*form_, Control("Frame1"), QPoint(4, 4));
        Click(*form_, Box(5));  // disabled
        Click(*form_, Box(0));
        QVERIFY(recorder_.messages.isEmpty());
        // A label never takes the focus, so the publisher link still opens.
        Click(*form_, Control("Label2_1"));
        QCOMPARE(recorder_.opened.size(), 1);
        QVERIFY(recorder_.messages.isEmpty());
        QCOMPARE(Box(0)->text(), QStringLiteral("0"));
    }

    void closeBoxDoesNotValidate() {
        Type(0, QStringLiteral("0"));
        QVERIFY(form_->close());
        QVERIFY(!form_->isVisible());
        QVERIFY(recorder_.messages.isEmpty());
    }

    void textIsRewrittenWhenTheFocusLeaves_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rewritten");
        QTest::newRow("blanks and a trailing zero") << 0 << " 2.50 "
                                                    << "2.5 m";
        QTest::newRow("leading zero") << 0 << "015"
                                      << "15 m";
        QTest::newRow("unit added") << 0 << "15"
                                    << "15 m";
        QTest::newRow("trailing letters") << 3 << "12abc"
                                          << "12";
        QTest::newRow("unit dropped in a value box") << 4 << "5 m"
                                                     << "5";
        QTest::newRow("comma ends the number") << 1 << "1,5"
                                               << "1 m";
        QTest::newRow("exponent") << 2 << "1e3"
                                  << "1000 m";
        QTest::newRow("blank inside") << 3 << "1 000"
                                      << "1000";
        QTest::newRow("fifteen digits") << 3 << "0.1234567890123456789"
                                        << "0.123456789012346";
        QTest::newRow("beyond single range stays for the check") << 3 << "1e999"
                                                                 << "1e999";
    }

    void textIsRewrittenWhenTheFocusLeaves() {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, rewritten);
        Type(index, typed);
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(Box(index)->text(), rewritten);
        QVERIFY(form_->focusWidget() != Box(index));
        QVERIFY(recorder_.messages.isEmpty());
    }

    void textIsRewrittenWhenAClickTakesTheFocus() {
        Type(1, QStringLiteral("020.0"));
        Click(*form_, Box(2));
        QCOMPARE(Box(1)->text(), QStringLiteral("20 m"));
        QCOMPARE(form_->focusWidget(), Box(2));
    }

    void checkBoxesSwitchTheirBoxes() {
        auto* hourly = Find<QCheckBox>(*form_, "Check1_0");
        auto* daily = Find<QCheckBox>(*form_, "Check1_1");
        ClickCheckBox(*form_, daily);
        QVERIFY(daily->isChecked());
        QVERIFY(Box(5)->isEnabled());
        ClickCheckBox(*form_, daily);
        QVERIFY(!Box(5)->isEnabled());
        QCOMPARE(Box(5)->text(), QStringLiteral("0.15"));
        ClickCheckBox(*form_, hourly);
        QVERIFY(!Box(4)->isEnabled());
        QCOMPARE(Box(4)->text(), QStringLiteral("0.5"));
        // Only the checked state makes the box usable, not the grayed one.
        hourly->setTristate(true);
        hourly->setCheckState(Qt::PartiallyChecked);
        QVERIFY(!Box(4)->isEnabled());
        hourly->setCheckState(Qt::Checked);
        QVERIFY(Box(4)->isEnabled());
    }

    void instructionsOpenOnlyWhenTheFileExists() {
        Click(*form_, Control("Command1_1"));
        QVERIFY(recorder_.opened.isEmpty());
        QDir(appDir_->path()).mkdir(QStringLiteral("说明.txt"));  // a directory does not count
        Click(*form_, Control("Command1_1"));
        QVERIFY(recorder_.opened.isEmpty());
        QDir(appDir_->path()).rmdir(QStringLiteral("说明.txt"));

        QFile file(appDir_->filePath(QStringLiteral("说明.TXT")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        Click(*form_, Control("Command1_1"));
        QCOMPARE(recorder_.opened.size(), 1);
        QCOMPARE(recorder_.opened[0], QUrl::fromLocalFile(file.fileName()));
        QVERIFY(recorder_.messages.isEmpty());
        QVERIFY(form_->isVisible());
    }

    void onlyTheLaboratoryLabelOpensTheWebAddress() {
        Click(*form_, Control("Label2_0"));
        Click(*form_, Control("Label2_2"));
        QVERIFY(recorder_.opened.isEmpty());
        Click(*form_, Control("Label2_1"));
        QCOMPARE(recorder_.opened, QList<QUrl>{QUrl(QString::fromLatin1(kPublisherWebAddress))});
    }

    void exitClosesTheWindow() {
        Click(*form_, Control("Command1_2"));
        QVERIFY(!form_->isVisible());
    }

    void checkRefusalsMoveTheFocusAndStartNothing() {
        ClickCheckBox(*form_, Control("Check1_0"));
        Click(*form_, Control("Command1_0"));
        QCOMPARE(recorder_.messages, QStringList{QStringLiteral("未设置评价标准!")});
        QCOMPARE(FocusName(*form_), QStringLiteral("Check1_0"));

        ClickCheckBox(*form_, Control("Check1_0"));
        Type(1, QStringLiteral("5"));
        Click(*form_, Control("Command1_0"));
        QCOMPARE(recorder_.messages.size(), 2);
        QCOMPARE(
            recorder_.messages[1],
            QStringLiteral("要求面源的两条边长度比值不能超过10，超出这个限制的宜分成多个面源!"));
        QCOMPARE(FocusName(*form_), QStringLiteral("Text1_1"));
        QVERIFY(launcher_->calls.empty());
        QCOMPARE(Find<QPushButton>(*form_, "Command1_0")->text(), QStringLiteral("运行"));
        QVERIFY(!form_->testAttribute(Qt::WA_SetCursor));
    }

    void valuesBeyondSingleRangeAreRefusedAtRun() {
        Type(3, QStringLiteral("1e39"));
        Click(*form_, Control("Command1_0"));
        QCOMPARE(recorder_.messages.size(), 1);
        QVERIFY(recorder_.messages[0] != kInvalid);
        QCOMPARE(FocusName(*form_), QStringLiteral("Text1_3"));
        QVERIFY(launcher_->calls.empty());
    }
};

QTEST_MAIN(Form1BehaviourTest)
#include "form1_behaviour_test.moc"
