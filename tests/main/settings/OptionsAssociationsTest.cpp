// The Advanced page's associations over the real classes root, with other programs owning some types: what
// ticking and clearing a box and saving leave in the registry, the undo files and the store.
#include "tests/main/settings/OptionsFixture.h"

#include "platform/runtime/WholeFile.h"
#include "tests/lib/services/DialogDriver.h"

#include <gtest/gtest.h>

namespace optionstest {
namespace {

using forms::answer::No;
using forms::answer::Ok;
using forms::answer::Yes;
using qvtest::SetDefault;

constexpr std::int32_t kClasses = static_cast<std::int32_t>(0x80000000u);
constexpr char kUndoHeader[] = "*****PLEASE DO NOT DELETE THIS FILE*****\r\n";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Another program owns the extension: its key names progId, whose entry opens the files with command.
void Owner(const std::string& extension, const std::string& progId, const std::string& command,
           const char* contentType = nullptr) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, extension.c_str());
    SetDefault(extension, progId);
    if (contentType) SetDefault(extension, contentType, "Content Type");
    SetDefault(progId, "Another program's picture");
    SetDefault(progId + "\\DefaultIcon", "C:\\Other\\other.exe,2");
    SetDefault(progId + "\\Shell\\Open\\Command", command);
}

// Only the values of a subtree: an emptied key the undo leaves behind holds nothing the shell reads.
Tree Values(const std::string& key) {
    Tree values;
    for (const auto& [path, value] : ReadTree(HKEY_CLASSES_ROOT, key))
        if (path.find('|') != std::string::npos) values[path] = value;
    return values;
}

class Associations : public OptionsTest {
protected:
    bool Ours(const filetypes::FileType& type) const {
        return Module1::gFileAssoc().Associated(type.properName, forms::ProgramFolder(), Program(), ".exe", "Open",
                                                type.extension);
    }
    bool Ours(const char* code) const { return Ours(*filetypes::FindFileType(code)); }
    void MakeOurs(const char* code) const {
        const auto& type = *filetypes::FindFileType(code);
        Module1::gFileAssoc().CreateAssociation(type.properName, type.description, "Image", type.extension, "Open",
                                                forms::ProgramFolder(), Program(), ".exe", type.Icon());
    }
    // Shows the window, sets the boxes, presses OK; the window closes only when nothing failed.
    void SaveWith(const std::function<void(options&)>& boxes, bool closes = true) {
        WhileShown([&] {
            boxes(Window());
            Window().cmdOK.SetValue(true);
            EXPECT_EQ(Window().IsLoaded(), !closes);
        });
    }
};

TEST_F(Associations, EachStateAndActionOfATypeAsTheTableSays) {
    const std::string other = "C:\\Other\\other.exe \"%1\"";
    struct Row {
        const char* name;
        bool ownedBefore;  // the program's at the start (with an undo file when it took the type over here)
        bool tick;         // the box when OK is pressed
        bool ownedAfter;
        const char* key;
    };
    const Row rows[] = {
        {"another's, left clear", false, false, false, "0"},
        {"another's, ticked", false, true, true, "1"},
        {"ours, left ticked", true, true, true, "1"},
        {"ours, cleared with its undo data", true, false, false, "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Owner(".jpg", "QuillviewTest.OtherJpg", other, "image/jpeg");
        const Tree before = Values(".jpg");
        const Tree ownerBefore = Values("QuillviewTest.OtherJpg");
        if (row.ownedBefore) SaveWith([](options& w) { w.chkJPGass.SetValue(1); });
        ASSERT_EQ(Ours("JPG"), row.ownedBefore);
        const std::string undoBefore = row.ownedBefore ? forms::ReadWholeFile(UndoFile(".jpg")) : "";

        WhileShown([&] {
            EXPECT_EQ(Window().chkJPGass.Value(), row.ownedBefore ? 1 : 0) << "the box shows the live state";
            Window().chkJPGass.SetValue(row.tick ? 1 : 0);
            Window().cmdOK.SetValue(true);
        });
        EXPECT_EQ(Ours("JPG"), row.ownedAfter);
        EXPECT_EQ(Stored("Options", "JPGassc"), row.key);
        EXPECT_EQ(Values("QuillviewTest.OtherJpg"), ownerBefore) << "the owner's entry is never written";
        if (row.ownedAfter) {
            ASSERT_TRUE(Exists(UndoFile(".jpg")));
            const std::string undo = forms::ReadWholeFile(UndoFile(".jpg"));
            EXPECT_EQ(undo.substr(0, sizeof kUndoHeader - 1), kUndoHeader);
            EXPECT_NE(undo.find("~pn$QuillviewTest.OtherJpg\r\n"), std::string::npos);
            if (row.ownedBefore) {
                EXPECT_EQ(undo, undoBefore) << "an owned type is not taken over again";
            }
        } else {
            EXPECT_FALSE(Exists(UndoFile(".jpg")));
            EXPECT_EQ(Values(".jpg"), before);
        }
        SetFileAttributesA(UndoFile(".jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(UndoFile(".jpg").c_str());
    }
}

TEST_F(Associations, AllThirteenTakenOverAndUndoneGiveTheOwnersKeysBackExactly) {
    Owner(".jpg", "QuillviewTest.OtherJpg", "C:\\Other\\other.exe %1", "image/jpeg");
    // An owner under the very name the program uses, with a second verb, and without a content type.
    Owner(".png", "PNG", "C:\\Other\\png.exe \"%1\"");
    SetDefault("PNG\\Shell\\Print\\Command", "C:\\Other\\png.exe /p \"%1\"");
    std::map<std::string, Tree> before;
    for (const auto& type : filetypes::kFileTypes) before[type.extension] = Values(type.extension);
    const Tree jpgOwner = Values("QuillviewTest.OtherJpg");
    const Tree pngOwner = Values("PNG");

    SaveWith([](options& w) { w.cmdCheckall.SetValue(true); });
    for (const auto& type : filetypes::kFileTypes) {
        EXPECT_TRUE(Ours(type)) << type.code;
        EXPECT_EQ(Stored("Options", type.Key().c_str()), "1") << type.code;
        ASSERT_TRUE(Exists(UndoFile(type.extension))) << type.code;
        EXPECT_EQ(forms::ReadWholeFile(UndoFile(type.extension)).substr(0, sizeof kUndoHeader - 1), kUndoHeader);
        EXPECT_EQ(GetFileAttributesA(UndoFile(type.extension).c_str()) & 3u, 3u) << "read-only and hidden";
    }
    const auto& ico = *filetypes::FindFileType("ICO");
    EXPECT_EQ(Module1::gFileAssoc().getstring(kClasses, "Icon\\DefaultIcon"), "%1");
    EXPECT_EQ(Module1::gFileAssoc().getstring(kClasses, std::string(ico.extension), "Content Type"),
              "Image");
    EXPECT_EQ(Module1::gFileAssoc().getstring(kClasses, "Bitmap\\DefaultIcon"), Module1::gIconBMP);
    EXPECT_EQ(Module1::gFileAssoc().getstring(kClasses, "GIF"), "Compuserve GIF");

    SaveWith([](options& w) { w.cmdCheckNone.SetValue(true); });
    for (const auto& type : filetypes::kFileTypes) {
        EXPECT_FALSE(Ours(type)) << type.code;
        EXPECT_EQ(Stored("Options", type.Key().c_str()), "0") << type.code;
        EXPECT_FALSE(Exists(UndoFile(type.extension))) << type.code;
        EXPECT_EQ(Values(type.extension), before[type.extension]) << type.code;
    }
    EXPECT_EQ(Values("QuillviewTest.OtherJpg"), jpgOwner);
    EXPECT_EQ(Values("PNG"), pngOwner) << "the second verb stays, no content type is gained";
}

TEST_F(Associations, CheckAllAndNoneLeaveAHiddenPcxBoxAndItsTypeAlone) {
    Main().mnuFTs(4).SetVisible(false);
    MakeOurs("PCX");
    SaveWith([](options& w) {
        EXPECT_FALSE(w.chkPCXass.Visible());
        EXPECT_EQ(w.chkPCXass.Value(), 1);
        w.cmdCheckNone.SetValue(true);
        EXPECT_EQ(w.chkPCXass.Value(), 1);
        EXPECT_EQ(w.chkGIFass.Value(), 0);
    });
    EXPECT_TRUE(Ours("PCX"));
    EXPECT_EQ(Stored("Options", "PCXassc"), "1");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".pcx");
    SaveWith([](options& w) {
        w.cmdCheckall.SetValue(true);
        EXPECT_EQ(w.chkPCXass.Value(), 0);
        EXPECT_EQ(w.chkTIFass.Value(), 1);
    });
    EXPECT_FALSE(Ours("PCX"));
    EXPECT_TRUE(Ours("TIF"));
}

TEST_F(Associations, AnOwnedTypeWithoutUndoDataOffersAnotherProgram) {
    const std::string viewer = ProgramDir() + "\\viewer.exe";
    temp_.Write("Program\\viewer.exe", "MZ");
    const std::string prompt =
        "Cannot unassociate the TIF file format, the 'Undo' data is either corrupted or missing, would you like to "
        "choose another program for TIF files now? Click Yes to browse for a program, click No to stick with "
        "Quillview as the default TIF file application.";
    struct Row {
        const char* name;
        int answer;
        bool choose;  // in the program dialog: a program, else Cancel
        bool stillOurs;
    };
    const Row rows[] = {
        {"No", No, false, true},
        {"Yes, then the dialog cancelled", Yes, false, true},
        {"Yes, then a program chosen", Yes, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeOurs("TIF");  // made by the start-up's upkeep: no undo data
        formstest::Script script;
        script->ExpectMsgBox(prompt, forms::mb::YesNo, "Error in Unassociating!", row.answer);
        std::unique_ptr<DialogDriver> driver;
        SaveWith([&](options& w) {
            if (row.answer == Yes)
                driver = std::make_unique<DialogDriver>(row.choose ? DialogDriver::EnterFileName(viewer)
                                                                   : DialogDriver::Action(DialogDriver::Cancel));
            w.chkTIFass.SetValue(0);
        });
        EXPECT_EQ(script->Remaining(), 0u);
        if (driver) {
            EXPECT_TRUE(driver->Acted());
            EXPECT_EQ(driver->Title(), "Browse for programs");
        }
        EXPECT_EQ(Ours("TIF"), row.stillOurs);
        EXPECT_EQ(Stored("Options", "TIFassc"), "0");
        if (row.choose) {
            EXPECT_EQ(Module1::gFileAssoc().getstring(kClasses, "Tiff\\Shell\\Open\\Command"),
                      viewer + " %1");
            EXPECT_EQ(Module1::gFileAssoc().getstring(kClasses, "Tiff\\DefaultIcon"), viewer);
            ASSERT_TRUE(Exists(UndoFile(".tif")));
            EXPECT_NE(forms::ReadWholeFile(UndoFile(".tif")).find("~ph$" + viewer + " %1\r\n"), std::string::npos)
                << "the undo data now records the chosen program";
        } else {
            EXPECT_FALSE(Exists(UndoFile(".tif")));
        }
    }
}

TEST_F(Associations, NoTakeOverWithoutUndoDataAndNoneLeftHalfMade) {
    Owner(".bmp", "QuillviewTest.OtherBmp", "C:\\Other\\bmp.exe %1", "image/bmp");
    const Tree before = Values(".bmp");
    // A folder of the undo file's name: the earlier association cannot be kept.
    ASSERT_TRUE(CreateDirectoryA(UndoFile(".bmp").c_str(), nullptr));
    ASSERT_FALSE(Module1::gFileAssoc().CreateUndoAssDat(".bmp", "Bitmap", "Open", ProgramDir()));
    const std::string why = Module1::gFileAssoc().GetLastErrorMsg();
    {
        formstest::Script script;
        script->ExpectMsgBox("The BMP file type was not associated with Quillview, as its earlier association could "
                             "not be kept: " + why + " ErrorNumber: 75",
                             forms::mb::OkOnly, "Quillview", Ok);
        SaveWith([](options& w) { w.chkBMPass.SetValue(1); }, false);
        EXPECT_EQ(script->Remaining(), 0u);
    }
    EXPECT_FALSE(Ours("BMP"));
    EXPECT_EQ(Values(".bmp"), before);
    EXPECT_EQ(Stored("Options", "BMPassc"), "0") << "the start-up would renew a 1 without undo data";
    RemoveDirectoryA(UndoFile(".bmp").c_str());

    // A file type entry that refuses its subkeys (volatile): the take-over cannot be completed.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Bitmap");
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "Bitmap", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &volatileKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);
    {
        formstest::Script script;
        script->ExpectMsgBox("The BMP file type could not be associated with Quillview: the registry refused the "
                             "change. ErrorNumber: 70",
                             forms::mb::OkOnly, "Quillview", Ok);
        SaveWith([](options& w) { w.chkBMPass.SetValue(1); }, false);
        EXPECT_EQ(script->Remaining(), 0u);
    }
    EXPECT_FALSE(Ours("BMP"));
    EXPECT_EQ(Values(".bmp"), before) << "the earlier association is back";
    EXPECT_EQ(Stored("Options", "BMPassc"), "0");
    EXPECT_FALSE(Exists(UndoFile(".bmp")));
}

}  // namespace
}  // namespace optionstest
