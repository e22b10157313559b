// The window as it opens: its frame, every control's place, text and state,
// the tab order, the names screen readers read, fonts, colours and images.

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

#include "ui/publisher.h"
#include "ui/qt/form1.h"
#include "ui/qt/tests/window_fixture.h"
#include "ui/qt/window_art.h"

using namespace quorvel;
using namespace quorvel::test_support;

class Form1LayoutTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir appDir_;
    Recorder recorder_;
    std::unique_ptr<Form1> form_;

    QRect Twips(int left, int top, int width, int height) const {
        const int x = form_->Pixels(left);
        const int y = form_->Pixels(top);
        return QRect(x, y, form_->Pixels(left + width) - x, form_->Pixels(top + height) - y);
    }

  private slots:
    void init() {
        recorder_ = Recorder();
        form_ = std::make_unique<Form1>(RecordingServices(appDir_.path(), recorder_, nullptr));
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() { form_.reset(); }

    void windowFrame() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Quorvel标准计算程序(Ver1.2)"));
        const QSize client(form_->Pixels(8460), form_->Pixels(4680));
        QCOMPARE(form_->size(), client);
        QCOMPARE(form_->minimumSize(), client);
        QCOMPARE(form_->maximumSize(), client);
        QCOMPARE(form_->Pixels(1440), form_->logicalDpiX());
        const Qt::WindowFlags flags = form_->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(form_->windowIcon().availableSizes().contains(QSize(32, 32)));
        QVERIFY(form_->windowIcon().availableSizes().contains(QSize(16, 16)));
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<bool>("autoSized");
        auto row = [](const char* name, const char* container, const QString& text,
                      const char* tooltip, QRect twips, bool autoSized = false) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container)
                                << text << QString::fromUtf8(tooltip) << twips << autoSized;
        };
        row("Label2_0", "Form1", QString::fromStdU16String(kPublisherOrganisation), "",
            {3000, 120, 2340, 180}, true);
        row("Label2_1", "Form1", QString::fromStdU16String(kPublisherLaboratory), "",
            {2880, 360, 2310, 210}, true);
        row("Label2_2", "Form1", "发布", "", {5160, 360, 420, 210}, true);
        row("Frame1", "Form1", "参数设定", "", {30, 720, 3705, 3495});
        row("Label1_0", "Frame1", "面源有效高度:", "", {180, 300, 1170, 180}, true);
        row("Text1_0", "Frame1", "15 m", "[0,999]", {1380, 240, 1155, 270});
        row("Label1_1", "Frame1", "面源    宽度:", "", {180, 540, 1170, 180}, true);
        row("Text1_1", "Frame1", "100 m", ">0", {1380, 480, 1155, 270});
        row("Label1_2", "Frame1", "面源    长度:", "", {180, 780, 1170, 180}, true);
        row("Text1_2", "Frame1", "100 m", ">0", {1380, 720, 1155, 270});
        row("Label1_3", "Frame1", "污染物排放率:", "", {180, 1050, 1170, 180}, true);
        row("Text1_3", "Frame1", "10", ">0", {1380, 990, 1155, 300});
        row("Combo1_0", "Frame1", "g/s", "", {2520, 990, 1095, 300});
        row("Check1_0", "Frame1", "小时评价标准(mg/m^3)", "", {180, 1350, 2175, 225});
        row("Text1_4", "Frame1", "0.5", ">0", {1350, 1560, 1155, 300});
        row("Check1_1", "Frame1", "日均评价标准(mg/m^3)", "", {180, 1890, 2175, 225});
        row("Text1_5", "Frame1", "0.15", ">0", {1350, 2100, 1155, 300});
        row("Label1_4", "Frame1", "项目所在位置:", "", {180, 2700, 1170, 180}, true);
        row("Combo1_1", "Frame1", "城市", "", {1350, 2640, 1155, 300});
        row("Frame2", "Form1", "计算结果", "", {3810, 720, 4605, 3495});
        row("Command1_0", "Frame2", "运行", "", {1620, 210, 1335, 345});
        row("Text2", "Frame2", "", "", {60, 570, 4455, 2835});
        row("Command2", "Form1", "计算书", "", {810, 4290, 1605, 345});
        row("Command1_2", "Form1", "退出", "", {2610, 4290, 1605, 345});
        row("Command1_1", "Form1", "使用说明", "", {4410, 4290, 1605, 345});
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QString, text);
        QFETCH(QString, tooltip);
        QFETCH(QRect, twips);
        QFETCH(bool, autoSized);
        auto* control = form_->findChild<QWidget*>(name);
        QVERIFY(control != nullptr);
        QCOMPARE(control->parentWidget()->objectName(), container);
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
        if (auto* box = qobject_cast<QLineEdit*>(control)) shown = box->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control)) shown = button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(control)) shown = frame->title();
        if (auto* list = qobject_cast<QComboBox*>(control)) shown = list->currentText();
        if (auto* result = qobject_cast<QPlainTextEdit*>(control)) shown = result->toPlainText();
        QCOMPARE(shown, text);
        QCOMPARE(control->toolTip(), tooltip);
        const QRect expected = Twips(twips.x(), twips.y(), twips.width(), twips.height());
        if (autoSized) {
            QCOMPARE(control->pos(), expected.topLeft());
            QCOMPARE(control->size(), control->sizeHint());
        } else {
            QCOMPARE(control->geometry(), expected);
        }
    }

    void startStates() {
        QVERIFY(Find<QCheckBox>(*form_, "Check1_0")->isChecked());
        QVERIFY(!Find<QCheckBox>(*form_, "Check1_1")->isChecked());
        QVERIFY(Find<QLineEdit>(*form_, "Text1_4")->isEnabled());
        QVERIFY(!Find<QLineEdit>(*form_, "Text1_5")->isEnabled());
        QVERIFY(!Find<QLabel>(*form_, "Label1_4")->isVisible());
        auto* location = Find<QComboBox>(*form_, "Combo1_1");
        QVERIFY(!location->isVisible());
        QCOMPARE(location->count(), 2);
        QCOMPARE(location->itemText(0), QStringLiteral("农村"));
        QCOMPARE(location->currentIndex(), 1);
        auto* units = Find<QComboBox>(*form_, "Combo1_0");
        QCOMPARE(units->count(), 3);
        QCOMPARE(units->itemText(0), QStringLiteral("g/s"));
        QCOMPARE(units->itemText(1), QStringLiteral("kg/hr"));
        QCOMPARE(units->itemText(2), QStringLiteral("t/a"));
        QCOMPARE(units->currentIndex(), 0);
        QVERIFY(!units->isEditable());
        QVERIFY(!location->isEditable());
        for (int i = 0; i < 3; ++i) QCOMPARE(units->itemData(i).toInt(), 0);
        QCOMPARE(FocusName(*form_), QStringLiteral("Command1_1"));
        QVERIFY(!form_->IsBusy());
    }

    void tabOrderWrapsAndSkipsWhatTakesNoFocus() {
        const QStringList expected = {
            "Text1_0",  "Text1_1",    "Text1_2", "Text1_3",    "Combo1_0", "Check1_0",  "Text1_4",
            "Check1_1", "Command1_0", "Text2",   "Command1_2", "Command3", "Command1_1"};
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            PressKey(*form_, Qt::Key_Tab);
            visited << FocusName(*form_);
        }
        QCOMPARE(visited, expected);
        PressKey(*form_, Qt::Key_Backtab);
        QCOMPARE(FocusName(*form_), QStringLiteral("Command3"));
        // With the daily standard chosen, its box joins the order after its check box.
        Find<QCheckBox>(*form_, "Check1_1")->setChecked(true);
        Find<QCheckBox>(*form_, "Check1_1")->setFocus();
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(FocusName(*form_), QStringLiteral("Text1_5"));
        PressKey(*form_, Qt::Key_Tab);
        QCOMPARE(FocusName(*form_), QStringLiteral("Command1_0"));
    }

    void accessibleNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessible");
        QTest::newRow("height") << "Text1_0"
                                << "面源有效高度:";
        QTest::newRow("width") << "Text1_1"
                               << "面源    宽度:";
        QTest::newRow("length") << "Text1_2"
                                << "面源    长度:";
        QTest::newRow("rate") << "Text1_3"
                              << "污染物排放率:";
        QTest::newRow("unit") << "Combo1_0"
                              << "污染物排放率:";
        QTest::newRow("hourly") << "Text1_4"
                                << "小时评价标准(mg/m^3)";
        QTest::newRow("daily") << "Text1_5"
                               << "日均评价标准(mg/m^3)";
        QTest::newRow("run") << "Command1_0"
                             << "运行";
        QTest::newRow("instructions") << "Command1_1"
                                      << "使用说明";
        QTest::newRow("exit") << "Command1_2"
                              << "退出";
        QTest::newRow("result") << "Text2"
                                << "计算结果";
    }

    void accessibleNames() {
        QFETCH(QString, name);
        QFETCH(QString, accessible);
        auto* control = form_->findChild<QWidget*>(name);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        QVERIFY(face != nullptr);
        // On this platform a list reports its current entry as its name and
        // its label through a relation; the widget carries the label's text.
        if (qobject_cast<QComboBox*>(control) != nullptr) {
            QCOMPARE(control->accessibleName(), accessible);
        } else {
            QCOMPARE(face->text(QAccessible::Name), accessible);
        }
    }

    void rowLabelsAreBuddiesOfTheirBoxes() {
        for (int i = 0; i < 4; ++i) {
            auto* label = Find<QLabel>(*form_, qPrintable(QStringLiteral("Label1_%1").arg(i)));
            QCOMPARE(label->buddy()->objectName(), QStringLiteral("Text1_%1").arg(i));
        }
        QCOMPARE(Find<QLabel>(*form_, "Label1_4")->buddy()->objectName(),
                 QStringLiteral("Combo1_1"));
    }

    void resultBoxShowsLinesButTakesNoTyping() {
        auto* result = Find<QPlainTextEdit>(*form_, "Text2");
        QVERIFY(result->isReadOnly());
        QCOMPARE(result->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(result->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(result->palette().color(QPalette::Text),
                 result->palette().color(QPalette::Highlight));
        result->setFocus();
        QTest::keyClicks(result, QStringLiteral("abc"));
        QCOMPARE(result->toPlainText(), QString());
        result->setPlainText(QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(result->document()->blockCount(), 3);
    }

    void publisherLabels() {
        auto* laboratory = Find<QLabel>(*form_, "Label2_1");
        auto* published = Find<QLabel>(*form_, "Label2_2");
        for (QLabel* label : {laboratory, published}) {
            QCOMPARE(label->font().pointSizeF(), 10.5);
            QCOMPARE(label->font().families().value(0), QStringLiteral("宋体"));
            QVERIFY(!label->font().bold());
            QCOMPARE(label->palette().color(QPalette::WindowText),
                     label->palette().color(QPalette::Highlight));
        }
        QVERIFY(laboratory->font().underline());
        QVERIFY(!published->font().underline());
        QCOMPARE(laboratory->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(laboratory->cursor().hotSpot(), QPoint(12, 1));
        QCOMPARE(laboratory->cursor().pixmap().size(), QSize(32, 32));
        QVERIFY(!Find<QLabel>(*form_, "Label2_0")->testAttribute(Qt::WA_SetCursor));
        QVERIFY(!published->testAttribute(Qt::WA_SetCursor));
        QVERIFY(!Find<QLabel>(*form_, "Label1_0")->testAttribute(Qt::WA_SetCursor));
    }

    void imagesHaveTheirSizesAndColours() {
        for (int size : {32, 16}) {
            const QImage icon = ApplicationIconImage(size);
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.colorCount() <= 16);
            QCOMPARE(icon.format(), QImage::Format_Indexed8);
        }
        const QImage hand = HandCursorImage();
        QCOMPARE(hand.size(), QSize(32, 32));
        // The hot spot lies on the finger, not on the transparent background.
        QCOMPARE(qAlpha(hand.pixel(12, 1)), 255);
        QCOMPARE(qAlpha(hand.pixel(0, 0)), 0);
    }
};

QTEST_MAIN(Form1LayoutTest)
#include "form1_layout_test.moc"
