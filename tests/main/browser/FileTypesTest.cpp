// The File Types menu of the main window as the start-up builds it: what the menu shows, which files of a
// folder each type lists, and the PCX entry, which goes when the picture buffer library cannot be created.
// Each type is chosen as the menu chooses it (its command to the window) and read back from the real menu and
// the real file list.
#include "tests/main/browser/StartedWindowFixture.h"

#include "tests/main/TestBitmap.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

using browsertest::Window;

struct Type {
    const char* caption;
    const char* tag;
    std::vector<std::string> files;  // of the test folder, those the type lists
};

const Type kTypes[] = {
    {"BMP", "*.bmp;", {"a.bmp"}},
    {"Jpeg", "*.jpg;*.jpe;*.jpeg;", {"a.jpe", "a.jpeg", "a.jpg"}},
    {"GIF", "*.gif;", {"a.gif"}},
    {"TIFF", "*.tif;*.tiff;", {"a.tif", "a.tiff"}},
    {"PCX", "*.pcx;", {"a.pcx"}},
    {"PNG", "*.png;", {"a.png"}},
    {"WMF", "*.wmf;", {"a.wmf"}},
    {"EMF", "*.emf;", {"a.emf"}},
    {"PICT", "*.pct;", {"a.pct"}},
    {"TGA", "*.tga;", {"a.tga"}},
    {"EPS", "*.eps;", {"a.eps"}},
    {"DIB", "*.dib;", {"a.dib"}},
    {"RLE", "*.rle;", {"a.rle"}},
    {"Cursors", "*.cur;", {"a.cur"}},
    {"Icons", "*.ico;", {"a.ico"}},
};
constexpr int kPcx = 4;

// The items of the window's File Types menu as the user sees them: text and check mark.
struct Item {
    std::string text;
    bool checked;
    bool operator==(const Item&) const = default;
};

std::vector<Item> FileTypesMenu() {
    std::vector<Item> items;
    const HMENU bar = GetMenu(Window().hWnd());
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        char text[128] = {};
        GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (std::string(text) != "File T&ypes") continue;
        const HMENU types = GetSubMenu(bar, i);
        for (int j = 0; j < GetMenuItemCount(types); ++j) {
            char item[128] = {};
            GetMenuStringA(types, static_cast<UINT>(j), item, sizeof item, MF_BYPOSITION);
            const UINT state = GetMenuState(types, static_cast<UINT>(j), MF_BYPOSITION);
            items.push_back({(state & MF_SEPARATOR) ? "-" : item, (state & MF_CHECKED) != 0});
        }
    }
    return items;
}

std::vector<std::string> Listed() {
    std::vector<std::string> names;
    for (int i = 0; i < Window().File1.ListCount(); ++i) names.push_back(Window().File1.List(i));
    std::sort(names.begin(), names.end());
    return names;
}

// A menu item chosen, as the menu sends it to the window.
void Choose(const forms::Menu& item) { SendMessageA(Window().hWnd(), WM_COMMAND, MAKEWPARAM(item.Id(), 0), 0); }

class FileTypes : public browsertest::StartedWindow {
protected:
    FileTypes() : StartedWindow("FileTypes") {}
    void SetUp() override {
        StartedWindow::SetUp();
        if (HasFatalFailure()) return;
        for (const Type& type : kTypes) {
            for (const std::string& name : type.files) {
                if (name == "a.bmp") ASSERT_TRUE(qvtest::WriteBitmap(folder_ / name, 8, 6, 0x2040C0));
                else folder_.Write(name, "not looked into");
            }
        }
        // Files of no type the menu offers.
        folder_.Write("notes.txt", "x");
        folder_.Write("a.psd", "x");
    }
    static std::vector<std::string> AllFiles(bool withPcx) {
        std::vector<std::string> all;
        for (int i = 0; i < static_cast<int>(std::size(kTypes)); ++i) {
            if (i == kPcx && !withPcx) continue;
            all.insert(all.end(), kTypes[i].files.begin(), kTypes[i].files.end());
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    static std::vector<Item> MenuOfTypes(bool withPcx, std::optional<int> unchecked = std::nullopt) {
        std::vector<Item> items;
        for (int i = 0; i < static_cast<int>(std::size(kTypes)); ++i) {
            if (i == kPcx && !withPcx) continue;
            items.push_back({kTypes[i].caption, i != unchecked});
        }
        items.push_back({"-", false});
        items.push_back({"All Images", false});
        return items;
    }
    const testsupport::RegisteredServer pictures_{RVIMGCTL_DLL};
};

// All fifteen types are offered and checked at the start, each lists the files of its own patterns alone,
// and with none checked the list is empty.
TEST_F(FileTypes, EachTypeListsItsOwnFilesAndNoneCheckedListsNothing) {
    ASSERT_TRUE(pictures_.Registered());
    Start();
    frmQuillview& w = Window();
    ASSERT_EQ(w.File1.Path(), folder_.Path());
    EXPECT_EQ(FileTypesMenu(), MenuOfTypes(true));
    EXPECT_EQ(Listed(), AllFiles(true));

    ASSERT_EQ(w.mnuFTs.Count(), static_cast<int>(std::size(kTypes)));
    for (int i = 0; i < static_cast<int>(std::size(kTypes)); ++i) Choose(w.mnuFTs(i));
    EXPECT_EQ(Listed(), std::vector<std::string>{}) << "nothing checked, nothing listed";

    for (int i = 0; i < static_cast<int>(std::size(kTypes)); ++i) {
        const Type& type = kTypes[i];
        SCOPED_TRACE(type.caption);
        EXPECT_EQ(w.mnuFTs(i).Tag(), type.tag);
        Choose(w.mnuFTs(i));
        EXPECT_TRUE(w.mnuFTs(i).Checked());
        EXPECT_EQ(Listed(), type.files);
        Choose(w.mnuFTs(i));
    }
    EXPECT_EQ(Listed(), std::vector<std::string>{});
    EXPECT_EQ(answers_.Seen().size(), 0u);
}

// Without the picture buffer library (which reads PCX files) the start leaves the PCX entry out of the menu,
// unchecked, and its files out of the list; All Images then checks every entry shown, not the hidden one, and
// keeps the picture shown.
TEST_F(FileTypes, PcxIsOfferedOnlyWithThePictureLibraryAndAllImagesLeavesAHiddenEntryOut) {
    struct Row {
        const char* what;
        bool library;
    };
    const Row rows[] = {{"with the library", true}, {"without the library", false}};
    const int gif = 2;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (!row.library) {
            ASSERT_EQ(testsupport::ServerModule(RVIMGCTL_DLL).Call("DllUnregisterServer"), S_OK);
        }
        Start();
        frmQuillview& w = Window();
        EXPECT_EQ(FileTypesMenu(), MenuOfTypes(row.library));
        EXPECT_EQ(w.mnuFTs(kPcx).Visible(), row.library);
        EXPECT_EQ(w.mnuFTs(kPcx).Checked(), row.library);
        EXPECT_EQ(Listed(), AllFiles(row.library));

        // GIF unchecked, then a picture chosen: All Images brings GIF back and leaves the picture shown.
        Choose(w.mnuFTs(gif));
        ASSERT_EQ(FileTypesMenu(), MenuOfTypes(row.library, gif));
        for (int i = 0; i < w.File1.ListCount(); ++i) {
            if (w.File1.List(i) == "a.bmp") w.File1.SetListIndex(i);
        }
        ASSERT_EQ(w.Caption(), "Quillview - a.bmp");
        Choose(w.mnuImages);
        EXPECT_EQ(FileTypesMenu(), MenuOfTypes(row.library));
        EXPECT_EQ(w.mnuFTs(kPcx).Checked(), row.library) << "a hidden entry keeps its mark";
        EXPECT_EQ(Listed(), AllFiles(row.library));
        EXPECT_EQ(w.Caption(), "Quillview - a.bmp");
        EXPECT_EQ(Module1::gCurrentImagePath, folder_ / "a.bmp");
        w.Unload();
        if (!row.library) {
            ASSERT_EQ(testsupport::ServerModule(RVIMGCTL_DLL).Call("DllRegisterServer"), S_OK);
        }
    }
    EXPECT_EQ(answers_.Seen().size(), 0u);
}

}  // namespace
