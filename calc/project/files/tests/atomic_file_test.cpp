#include "calc/project/files/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "calc/project/files/tests/scratch_folder.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using project::test_support::ReadBytes;
using project::test_support::ScratchFolder;
using project::test_support::WriteBytes;

bool Contains(const std::u16string& text, std::string_view part) {
    return ToUtf8(text).find(part) != std::string::npos;
}

TEST(WriteFileAtomically, WritesANewFileAndLeavesNothingElse) {
    ScratchFolder folder;
    const fs::path file = folder.path() / PathFromText(u"项目.qvproj");
    const Status written = WriteFileAtomically(file, "{\n}\n");
    ASSERT_TRUE(written.ok()) << ToUtf8(written.error());
    EXPECT_EQ(ReadBytes(file), "{\n}\n");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"项目.qvproj"});
}

TEST(WriteFileAtomically, ReplacesAnOldFileWhole) {
    ScratchFolder folder;
    const fs::path file = folder.path() / "a.qvproj";
    WriteBytes(file, std::string(10000, 'x'));
    ASSERT_TRUE(WriteFileAtomically(file, "short").ok());
    EXPECT_EQ(ReadBytes(file), "short");
    ASSERT_TRUE(WriteFileAtomically(file, "").ok());
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.qvproj"});
}

TEST(WriteFileAtomically, AnInterruptedSaveLeavesTheOldFileAndNoTemporaryFile) {
    ScratchFolder folder;
    const fs::path file = folder.path() / "a.qvproj";
    WriteBytes(file, "old content");
    bool temporaryWasThere = false;
    const Status written = WriteFileAtomically(file, "new content", [&] {
        // The new content is on the disk beside the old file by now.
        temporaryWasThere = folder.Names().size() == 2;
        return Status(Fail(u"模拟的中断"));
    });
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(temporaryWasThere);
    EXPECT_TRUE(Contains(written.error(), "无法保存文件: ")) << ToUtf8(written.error());
    EXPECT_TRUE(Contains(written.error(), file.string())) << ToUtf8(written.error());
    EXPECT_TRUE(Contains(written.error(), "（模拟的中断）")) << ToUtf8(written.error());
    EXPECT_TRUE(Contains(written.error(), "原文件没有改动")) << ToUtf8(written.error());
    EXPECT_EQ(ReadBytes(file), "old content");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.qvproj"});
}

TEST(WriteFileAtomically, AnInterruptedFirstSaveLeavesNoFile) {
    ScratchFolder folder;
    const fs::path file = folder.path() / "a.qvproj";
    const Status written =
        WriteFileAtomically(file, "new", [] { return Status(Fail(u"模拟的中断")); });
    ASSERT_FALSE(written.ok());
    EXPECT_FALSE(Contains(written.error(), "原文件没有改动")) << ToUtf8(written.error());
    EXPECT_TRUE(folder.Names().empty());
}

TEST(WriteFileAtomically, AMissingFolderGivesThePathAndTheReason) {
    ScratchFolder folder;
    const fs::path file = folder.path() / "missing" / "a.qvproj";
    const Status written = WriteFileAtomically(file, "content");
    ASSERT_FALSE(written.ok());
    const std::string error = ToUtf8(written.error());
    EXPECT_NE(error.find("无法保存文件: " + file.string() + "（路径不存在）"), std::string::npos)
        << error;
    EXPECT_TRUE(folder.Names().empty());
}

TEST(WriteFileAtomically, AFolderInThePlaceOfTheFileIsNotReplaced) {
    ScratchFolder folder;
    const fs::path file = folder.path() / "a.qvproj";
    fs::create_directory(file);
    WriteBytes(file / "inside", "kept");
    const Status written = WriteFileAtomically(file, "content");
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(Contains(written.error(), "（这是一个文件夹）")) << ToUtf8(written.error());
    EXPECT_EQ(ReadBytes(file / "inside"), "kept");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.qvproj"});
}

#ifndef _WIN32
mode_t ModeOf(const fs::path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0);
    return status.st_mode & 07777;
}

TEST(WriteFileAtomically, ANewFileHasTheModeOfAnyNewFileAndAReplacedOneKeepsItsOwn) {
    ScratchFolder folder;
    const mode_t mask = ::umask(022);
    const fs::path file = folder.path() / "a.qvproj";
    ASSERT_TRUE(WriteFileAtomically(file, "1").ok());
    EXPECT_EQ(ModeOf(file), 0644u);

    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(file, "2").ok());
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_EQ(ReadBytes(file), "2");
    ::umask(mask);
}

TEST(WriteFileAtomically, SavingThroughALinkReplacesTheFileAndKeepsTheLink) {
    ScratchFolder folder;
    const fs::path file = folder.path() / "real.qvproj";
    const fs::path link = folder.path() / "link.qvproj";
    WriteBytes(file, "old");
    fs::create_symlink("real.qvproj", link);
    ASSERT_TRUE(WriteFileAtomically(link, "new").ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"link.qvproj", "real.qvproj"}));
}

TEST(WriteFileAtomically, AFolderWithoutWritePermissionGivesTheReason) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write anywhere";
    ScratchFolder folder;
    const fs::path file = folder.path() / "a.qvproj";
    WriteBytes(file, "old");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const Status written = WriteFileAtomically(file, "new");
    ::chmod(folder.path().c_str(), 0755);
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(Contains(written.error(), "（没有写入权限），原文件没有改动"))
        << ToUtf8(written.error());
    EXPECT_EQ(ReadBytes(file), "old");
}
#endif

}  // namespace
}  // namespace quorvel
