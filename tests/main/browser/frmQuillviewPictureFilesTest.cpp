// Pictures handed to the running window as a second start hands them on: JPEGs an outside encoder wrote in
// other colour layouts show their colours on the window, and a file our structure check refuses gets the
// invalid-picture box while the window goes on taking the next file.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/EarlierStart.h"
#include "tests/main/TestBitmap.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

frmQuillview& Window() { return forms::Default<frmQuillview>(); }

// A file of the data folder (the Unix path as Wine's Z: drive shows it).
std::string DataFile(const char* name) {
    std::string path = std::string("Z:") + std::getenv("QV_BROWSER_DATA") + "/" + name;
    for (auto& c : path) if (c == '/') c = '\\';
    return path;
}

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        Module1::gCommandLine.clear();
        qvtest::StoreAnEarlierStartOfThisVersion();
        Window().Load();
    }
    void TearDown() override { Window().Unload(); }

    // As a second start with the file passes it on.
    static void HandIn(const std::string& path) {
        const std::string bytes = "\"" + path + "\"";
        COPYDATASTRUCT record{0, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
        SendMessageA(Window().hWnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "PictureFiles"};
    const forms::UserPathsOverride paths_{std::nullopt, folder_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
};

// What the picture box shows at a pixel of the picture, read from the window once it has painted.
COLORREF Shown(HWND box, int x, int y, int width, int height) {
    RedrawWindow(GetAncestor(box, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    RECT client{};
    GetClientRect(box, &client);
    const HDC dc = GetDC(box);
    // The centre of the pixel, whatever the display mode's scale.
    const COLORREF c = GetPixel(dc, (2 * x + 1) * client.right / (2 * width), (2 * y + 1) * client.bottom / (2 * height));
    ReleaseDC(box, dc);
    return c & 0xFFFFFF;
}

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 4 && std::abs(GetGValue(a) - GetGValue(b)) <= 4 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 4;
}

TEST_F(PictureFiles, JpegsOfEveryColourLayoutShowTheColoursAnOutsideDecoderReads) {
    struct Point {
        int x, y;
        COLORREF colour;
    };
    struct Case {
        const char* file;
        std::vector<Point> points;  // as ImageMagick reads the file
    };
    const std::vector<Case> cases = {
        {"gray.jpg", {{0, 0, RGB(0, 0, 0)}, {15, 1, RGB(36, 36, 36)}, {8, 3, RGB(109, 109, 109)},
                      {0, 5, RGB(181, 181, 181)}, {15, 7, RGB(255, 255, 255)}}},
        {"ycck.jpg", {{0, 0, RGB(200, 40, 61)}, {7, 4, RGB(200, 40, 61)}, {8, 3, RGB(30, 150, 220)},
                      {15, 7, RGB(30, 150, 220)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = folder_ / c.file;
        ASSERT_TRUE(CopyFileA(DataFile(c.file).c_str(), path.c_str(), FALSE));
        HandIn(path);
        frmQuillview& w = Window();
        ASSERT_EQ(w.Caption(), std::string("Quillview - ") + c.file);
        EXPECT_EQ(Module1::gImageWidth, 16);
        EXPECT_EQ(Module1::gImageHeight, 8);
        for (const Point& p : c.points) {
            const COLORREF seen = Shown(w.Image1.hWnd(), p.x, p.y, 16, 8);
            EXPECT_TRUE(Near(seen, p.colour)) << "at " << p.x << ", " << p.y << ": " << std::hex << seen;
        }
    }
}

// A GIF of one pixel per frame; without a table it is what makes the system's codec read address 0.
Bytes Gif(unsigned width, unsigned height, bool table, int frames) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    const auto u16 = [&b](unsigned v) {
        b.push_back(static_cast<std::uint8_t>(v & 0xFF));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    u16(width);
    u16(height);
    b.insert(b.end(), {static_cast<std::uint8_t>(table ? 0x80 : 0), 0, 0});
    if (table) b.insert(b.end(), {0xFF, 0, 0, 0, 0, 0xFF});
    for (int i = 0; i < frames; ++i) {
        b.insert(b.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0});
        b.insert(b.end(), {0x02, 0x02, 0x44, 0x01, 0x00});
    }
    b.push_back(0x3B);
    return b;
}

TEST_F(PictureFiles, AFileTheStructureCheckRefusesGetsTheBoxAndTheNextFileShows) {
    const Bytes crashing = Gif(1, 1, false, 2);
    Bytes cut = Gif(1, 1, true, 1);
    cut.resize(cut.size() - 3);
    struct Case {
        const char* what;
        const char* file;
        Bytes bytes;  // empty: the data folder's file of that name (make-hostile.py)
    };
    const std::vector<Case> cases = {
        {"two frames, neither a global nor a local colour table", "notable.gif", crashing},
        {"that file under a bitmap's name", "notable.bmp", crashing},
        {"image data running past the end", "cut.gif", cut},
        {"a canvas beyond what the loader holds", "huge.gif", Gif(65535, 65535, true, 1)},
        {"a cursor whose image runs past the file", "sizehuge.cur", {}},
        {"a metafile selecting past its object table", "select.wmf", {}},
        {"an enhanced metafile deleting past its handle table", "delete.emf", {}},
        {"an enhanced metafile record of size 0", "record0.emf", {}},
    };
    const std::string good = folder_ / "good.bmp";
    ASSERT_TRUE(qvtest::WriteBitmap(good));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder_ / c.file;
        if (c.bytes.empty()) {
            ASSERT_TRUE(CopyFileA(DataFile(c.file).c_str(), path.c_str(), FALSE));
        } else {
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
        }
        answers_.ExpectMsgBox("The file " + path + " is an invalid or unknown image format. The file extension "
                              "indicates it should be supported, it may have an incorrect extension",
                              forms::mb::OkOnly, forms::App::Title(), forms::answer::Ok);
        HandIn(path);
        EXPECT_EQ(answers_.Remaining(), 0u);
        frmQuillview& w = Window();
        EXPECT_EQ(w.Caption(), "Quillview - Vivid Imaging") << "the logo";
        HandIn(good);
        EXPECT_EQ(w.Caption(), "Quillview - good.bmp");
        EXPECT_EQ(Module1::gImageWidth, 4);
    }
}

}  // namespace
