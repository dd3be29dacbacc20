// File-type associations under the classes root, with the undo file. Each test uses an extension and a
// ProgID of its own and removes them afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lib/services/FileIo.h"
#include "platform/runtime/WholeFile.h"
#include "lib/services/clsReg_n_FileAssoc.h"
#include "platform/runtime/ReplacingFile.h"

using services::clsReg_n_FileAssoc;

namespace {

constexpr std::int32_t kClasses = clsReg_n_FileAssoc::ClassesRoot;
constexpr const char* kHeader = "*****PLEASE DO NOT DELETE THIS FILE*****\r\n";

class AssociationTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string id = std::to_string(GetCurrentProcessId()) + "_" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ext = ".qvt" + std::to_string(GetCurrentProcessId() % 100000);
        progId = "QuillviewTest.Image" + std::to_string(GetCurrentProcessId());
        otherProgId = "QuillviewTest.Other" + std::to_string(GetCurrentProcessId());
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "qvassoc_" + id;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& key : {ext, ext.substr(1), progId, otherProgId})
            RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
        const std::string undo = UndoFile();
        SetFileAttributesA(undo.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string UndoFile() const { return clsReg_n_FileAssoc::UndoFilePath(folder, ext); }
    std::string Default(const std::string& key) const { return registry.getstring(kClasses, key).value_or("<none>"); }
    void Associate(const std::string& id, const std::string& exe) {
        registry.CreateAssociation(id, "Test image", "image/x-test", ext, "Open", "C:\\App", exe, ".exe",
                                   "C:\\App\\" + exe + ".exe,3");
    }
    void WriteUndoFile(const std::string& bytes) const { forms::ReplaceWholeFile(UndoFile(), bytes); }

    clsReg_n_FileAssoc registry;
    std::string ext, progId, otherProgId, folder;
};

TEST_F(AssociationTest, CreateWritesTheLayoutAndTheTestReadsIt) {
    Associate(progId, "prog");
    EXPECT_EQ(Default(ext), progId);
    EXPECT_EQ(registry.getstring(kClasses, ext, "Content Type"), "image/x-test");
    EXPECT_EQ(Default(progId), "Test image");
    EXPECT_EQ(Default(progId + "\\DefaultIcon"), "C:\\App\\prog.exe,3");
    EXPECT_EQ(Default(progId + "\\Shell\\Open\\Command"), "C:\\App\\prog.exe %1");
    EXPECT_TRUE(registry.Associated(progId, "C:\\App", "prog", ".exe", "Open", ext));
    EXPECT_FALSE(registry.Associated(otherProgId, "C:\\App", "prog", ".exe", "Open", ext));
}

TEST_F(AssociationTest, ExtensionWithoutDotIsWrittenWithOneButReadAsGiven) {
    registry.CreateAssociation(progId, "Test image", "", ext.substr(1), "Open", "C:\\App", "prog", ".exe", "");
    EXPECT_EQ(Default(ext), progId);
    EXPECT_EQ(registry.getstring(kClasses, ext, "Content Type"), std::nullopt);
    EXPECT_FALSE(registry.Associated(progId, "C:\\App", "prog", ".exe", "Open", ext.substr(1)));
    EXPECT_TRUE(registry.Associated(progId, "C:\\App", "prog", ".exe", "Open", ext));
}

TEST_F(AssociationTest, AssociatedIsAnExactCaseSensitivePrefixTest) {
    registry.savestring(kClasses, ext, "", progId);
    struct Case {
        const char* command;
        bool associated;
    };
    const Case cases[] = {
        {"C:\\App\\prog.exe %1", true},
        {"C:\\App\\prog.exe", true},
        {"c:\\app\\prog.exe %1", false},
        {"\"C:\\App\\prog.exe\" \"%1\"", false},
        {"C:\\App\\pro", false},
    };
    for (const Case& c : cases) {
        registry.savestring(kClasses, progId + "\\Shell\\Open\\Command", "", c.command);
        EXPECT_EQ(registry.Associated(progId, "C:\\App", "prog", ".exe", "Open", ext), c.associated) << c.command;
    }
}

TEST_F(AssociationTest, ShortRecordOfAnUnassociatedExtensionAndItsRestore) {
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder));
    EXPECT_EQ(forms::ReadWholeFile(UndoFile()), std::string(kHeader) + "~ex$" + ext + "\r\n~pn$\r\n~ct$\r\n\r\n");
    EXPECT_EQ(GetFileAttributesA(UndoFile().c_str()) & 3u, 3u);

    Associate(progId, "prog");
    ASSERT_TRUE(registry.UndoAssociation(folder, ext)) << registry.GetLastErrorMsg();
    // Nobody owned the extension: it is left with no association value at all, not with empty ones.
    EXPECT_EQ(Default(ext), "<none>");
    EXPECT_EQ(registry.getstring(kClasses, ext, "Content Type"), std::nullopt);
    // Nothing under the ProgID the record names (none) was touched: ours is still there.
    EXPECT_EQ(Default(progId), "Test image");
    EXPECT_FALSE(services::FileExists(UndoFile()));

    // A second restore finds no file.
    EXPECT_FALSE(registry.UndoAssociation(folder, ext));
    EXPECT_EQ(registry.GetLastErrorMsg(), "File not found");
}

TEST_F(AssociationTest, EmptyFieldsOfARecordAreRestoredAsAbsent) {
    // An owner without a content type, description or icon of its own.
    registry.savestring(kClasses, ext, "", progId);
    registry.savestring(kClasses, progId + "\\Shell\\Open\\Command", "", "C:\\Else\\x.exe %1");
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder));
    Associate(progId, "prog");
    ASSERT_TRUE(registry.UndoAssociation(folder, ext)) << registry.GetLastErrorMsg();
    EXPECT_EQ(Default(ext), progId);
    EXPECT_EQ(registry.getstring(kClasses, ext, "Content Type"), std::nullopt);
    EXPECT_EQ(Default(progId), "<none>");
    EXPECT_EQ(Default(progId + "\\DefaultIcon"), "<none>");
    EXPECT_EQ(Default(progId + "\\Shell\\Open\\Command"), "C:\\Else\\x.exe %1");
}

TEST_F(AssociationTest, FullRecordOfOurOwnAssociationAndItsRestore) {
    Associate(progId, "prog");
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder));
    EXPECT_EQ(forms::ReadWholeFile(UndoFile()),
              std::string(kHeader) + "~ex$" + ext + "\r\n~pn$" + progId + "\r\n~ct$image/x-test\r\n" +
                  "~fn$Test image\r\n~di$C:\\App\\prog.exe,3\r\n~ph$C:\\App\\prog.exe %1\r\n~ac$Open\r\n");

    registry.savestring(kClasses, progId, "", "changed");
    registry.savestring(kClasses, progId + "\\Shell\\Open\\Command", "", "C:\\Else\\x.exe %1");
    registry.savestring(kClasses, ext, "", otherProgId);
    ASSERT_TRUE(registry.UndoAssociation(folder, ext)) << registry.GetLastErrorMsg();
    EXPECT_EQ(Default(ext), progId);
    EXPECT_EQ(Default(progId), "Test image");
    EXPECT_EQ(Default(progId + "\\DefaultIcon"), "C:\\App\\prog.exe,3");
    EXPECT_EQ(Default(progId + "\\Shell\\Open\\Command"), "C:\\App\\prog.exe %1");
}

TEST_F(AssociationTest, ExistingRecordIsKeptWhenTheAssociationIsOursAlready) {
    // The user's own association, recorded before we took the type over.
    Associate(otherProgId, "theirs");
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder));
    const std::string earlier = forms::ReadWholeFile(UndoFile());
    Associate(progId, "prog");
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder));
    EXPECT_EQ(forms::ReadWholeFile(UndoFile()), earlier);
    ASSERT_TRUE(registry.UndoAssociation(folder, ext));
    EXPECT_EQ(Default(ext), otherProgId);
}

TEST_F(AssociationTest, RecordOfAnotherAssociationReplacesTheProtectedEarlierOne) {
    Associate(otherProgId, "theirs");
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder));
    // The type went to yet another program since: the record is written anew over the read-only, hidden one.
    registry.savestring(kClasses, ext, "", "Someone.Else");
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder)) << registry.GetLastErrorMsg();
    EXPECT_EQ(forms::ReadWholeFile(UndoFile()),
              std::string(kHeader) + "~ex$" + ext + "\r\n~pn$Someone.Else\r\n~ct$image/x-test\r\n\r\n");
    EXPECT_EQ(GetFileAttributesA(UndoFile().c_str()) & 3u, DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
}

TEST_F(AssociationTest, FailedRecordWriteKeepsTheEarlierRecord) {
    Associate(otherProgId, "theirs");
    ASSERT_TRUE(registry.CreateUndoAssDat(ext, progId, "Open", folder));
    const std::string earlier = forms::ReadWholeFile(UndoFile());
    registry.savestring(kClasses, ext, "", "Someone.Else");
    forms::FailReplacingWritesAfter(10);  // the disk fills up half-way through the new record
    const bool written = registry.CreateUndoAssDat(ext, progId, "Open", folder);
    forms::FailReplacingWritesAfter(std::nullopt);
    EXPECT_FALSE(written);
    EXPECT_EQ(registry.GetLastErrorMsg(), "Disk full");
    EXPECT_EQ(forms::ReadWholeFile(UndoFile()), earlier);
    EXPECT_EQ(GetFileAttributesA(UndoFile().c_str()) & 3u, DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file is left";

    EXPECT_FALSE(registry.CreateUndoAssDat(ext, progId, "Open", folder + "\\missing"));
    EXPECT_EQ(registry.GetLastErrorMsg(), "Path not found");
}

TEST_F(AssociationTest, DamagedOrForeignRecordChangesNothing) {
    Associate(progId, "prog");
    const std::optional<std::string> rootDefault = registry.getstring(kClasses, "", "");
    const std::string cases[] = {
        "",                                                          // emptied
        "~ex$" + ext + "\r\n~pn$Evil\r\n",                           // no header
        std::string(kHeader) + "~pn$Evil\r\n",                       // truncated before "~ex$"
        std::string(kHeader) + "~ex$.other\r\n~pn$Evil\r\n~ct$\r\n",  // another type's record
        // a full record without a ProgID: it would write the classes root's own default value
        std::string(kHeader) + "~ex$" + ext + "\r\n~pn$\r\n~ct$\r\n~fn$d\r\n~di$i\r\n~ph$c\r\n~ac$Open\r\n",
    };
    for (const std::string& bytes : cases) {
        WriteUndoFile(bytes);
        EXPECT_FALSE(registry.UndoAssociation(folder, ext)) << bytes;
        EXPECT_NE(registry.GetLastErrorMsg(), "");
        EXPECT_EQ(Default(ext), progId);
        EXPECT_TRUE(services::FileExists(UndoFile()));
        EXPECT_EQ(registry.getstring(kClasses, "", ""), rootDefault) << "the classes root's own default value";
    }
    // The extension compares without regard to case.
    std::string upper = ext;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    WriteUndoFile(std::string(kHeader) + "~ex$" + upper + "\r\n~pn$" + otherProgId + "\r\n~ct$\r\n\r\n");
    EXPECT_TRUE(registry.UndoAssociation(folder, ext)) << registry.GetLastErrorMsg();
    EXPECT_EQ(Default(ext), otherProgId);
}

TEST_F(AssociationTest, FailedRegistryWriteKeepsTheRecord) {
    // A key name longer than the registry allows cannot be written.
    const std::string tooLong(300, 'x');
    WriteUndoFile(std::string(kHeader) + "~ex$" + ext + "\r\n~pn$" + tooLong + "\r\n~ct$\r\n~fn$d\r\n~di$i\r\n" +
                  "~ph$c\r\n~ac$Open\r\n");
    EXPECT_FALSE(registry.UndoAssociation(folder, ext));
    EXPECT_NE(registry.GetLastErrorMsg().find("could not be restored"), std::string::npos);
    EXPECT_TRUE(services::FileExists(UndoFile()));
}

}  // namespace
