// Creating the runner through the component system, and refusing components
// that are missing, broken, foreign or incomplete.
#include "runner/component_loader.h"
#include "runner/tests/qt_app.h"
#include "runner/tests/test_files.h"

#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonObject>
#include <QtCore/QPluginLoader>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace quorvel {
namespace {

using testing::CopyExecutable;
using testing::WriteTextFile;

class LoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::EnsureQtApp();
        ASSERT_TRUE(temp_.isValid());
    }
    static QString TestPlugin(const QString& kind) {
        const QDir dir(QString(TOLVANE_TEST_PLUGIN_DIR) + u'/' + kind);
        const QStringList files = dir.entryList({u"*.so"_s}, QDir::Files);
        return files.isEmpty() ? QString() : dir.absoluteFilePath(files.front());
    }
    static void ExpectFailure(const CreatedRunner& created) {
        EXPECT_FALSE(created.ok());
        EXPECT_EQ(created.object, nullptr);
        EXPECT_EQ(created.execute, nullptr);
        EXPECT_EQ(created.control, nullptr);
        EXPECT_FALSE(created.error.isEmpty());
    }

    QTemporaryDir temp_;
};

TEST_F(LoaderTest, CreatesANewRunnerByClsidEachTime) {
    CreatedRunner first = CreateClsExecute(TOLVANE_APP_DIR);
    ASSERT_TRUE(first.ok()) << first.error.toStdString();
    EXPECT_TRUE(first.error.isEmpty());
    ASSERT_NE(first.control, nullptr);
    CreatedRunner second = CreateClsExecute(TOLVANE_APP_DIR);
    ASSERT_TRUE(second.ok()) << second.error.toStdString();
    EXPECT_NE(first.object.get(), second.object.get());

    // The created object does the work; it starts with AutoCloseWindow True.
    first.execute->AutoCloseWindow(kVbTrue);
    EXPECT_EQ(first.execute->Shell(TOLVANE_PROBE, temp_.path(), kSwHide), 1);
    EXPECT_TRUE(QFileInfo::exists(temp_.path() + u"/probe.txt"_s));
    EXPECT_EQ(second.execute->Shell(QString(TOLVANE_SLEEPER) + u" 10"_s), 1);
    EXPECT_EQ(first.control->Terminate(), 0);
}

TEST_F(LoaderTest, CarriesTheComponentIdentity) {
    const QDir appDir(TOLVANE_APP_DIR);
    QJsonObject meta;
    for (const QFileInfo& file : appDir.entryInfoList(QDir::Files)) {
        const QJsonObject candidate = QPluginLoader(file.absoluteFilePath()).metaData();
        if (candidate.value(u"MetaData"_s)[u"TypeLibrary"_s][u"Name"_s] == u"Tolvane"_s) {
            meta = candidate.value(u"MetaData"_s).toObject();
        }
    }
    ASSERT_FALSE(meta.isEmpty());
    EXPECT_EQ(meta[u"TypeLibrary"_s][u"LIBID"_s], QLatin1StringView(tolvane::kLibId));
    EXPECT_EQ(meta[u"TypeLibrary"_s][u"Version"_s], u"1.0"_s);
    EXPECT_EQ(meta[u"Class"_s][u"Name"_s], u"clsExecute"_s);
    EXPECT_EQ(meta[u"Class"_s][u"CLSID"_s], QLatin1StringView(tolvane::kClsId));
    EXPECT_EQ(meta[u"Class"_s][u"ProgID"_s], u"Tolvane.clsExecute"_s);
    EXPECT_EQ(meta[u"Class"_s][u"ThreadingModel"_s], u"Apartment"_s);
    EXPECT_EQ(meta[u"Interfaces"_s][0][u"Name"_s], u"_clsExecute"_s);
    EXPECT_EQ(meta[u"Interfaces"_s][0][u"IID"_s],
              QLatin1StringView(qobject_interface_iid<_clsExecute*>()));
}

TEST_F(LoaderTest, MissingOrCorruptComponentIsAnError) {
    ExpectFailure(CreateClsExecute(temp_.path() + u"/no such dir"_s));
    ExpectFailure(CreateClsExecute(u""_s));
    ExpectFailure(CreateClsExecute(temp_.path()));

    ASSERT_TRUE(WriteTextFile(temp_.path() + u"/libTolvane.so"_s,
                              "\x7f"
                              "ELF garbage"));
    ASSERT_TRUE(WriteTextFile(temp_.path() + u"/libEmpty.so"_s, ""));
    const CreatedRunner created = CreateClsExecute(temp_.path());
    ExpectFailure(created);
    EXPECT_TRUE(created.error.contains(u"找不到"_s)) << created.error.toStdString();
}

TEST_F(LoaderTest, ForeignUnloadableOrIncompleteComponentIsAnError) {
    const QString foreign = TestPlugin(u"foreign"_s);
    const QString unloadable = TestPlugin(u"unloadable"_s);
    const QString incomplete = TestPlugin(u"nointerface"_s);
    ASSERT_FALSE(foreign.isEmpty());
    ASSERT_FALSE(unloadable.isEmpty());
    ASSERT_FALSE(incomplete.isEmpty());

    CreatedRunner created = CreateClsExecute(QFileInfo(foreign).path());
    ExpectFailure(created);
    EXPECT_TRUE(created.error.contains(u"类标识"_s)) << created.error.toStdString();

    created = CreateClsExecute(QFileInfo(unloadable).path());
    ExpectFailure(created);
    EXPECT_TRUE(created.error.contains(u"不能加载"_s)) << created.error.toStdString();

    created = CreateClsExecute(QFileInfo(incomplete).path());
    ExpectFailure(created);
    EXPECT_TRUE(created.error.contains(u"_clsExecute"_s)) << created.error.toStdString();
}

TEST_F(LoaderTest, ForeignPluginsBesideTheComponentAreSkipped) {
    const QString dir = temp_.path() + u"/app"_s;
    ASSERT_FALSE(CopyExecutable(TestPlugin(u"foreign"_s), dir, u"libAaa.so"_s).isEmpty());
    ASSERT_TRUE(WriteTextFile(dir + u"/libBbb.so"_s, "garbage"));
    QString component;
    for (const QFileInfo& file :
         QDir(TOLVANE_APP_DIR).entryInfoList({u"*Tolvane*"_s}, QDir::Files)) {
        component = file.absoluteFilePath();
    }
    ASSERT_FALSE(component.isEmpty());
    ASSERT_FALSE(CopyExecutable(component, dir, u"libTolvane.so"_s).isEmpty());
    const CreatedRunner created = CreateClsExecute(dir);
    EXPECT_TRUE(created.ok()) << created.error.toStdString();
}

}  // namespace
}  // namespace quorvel
