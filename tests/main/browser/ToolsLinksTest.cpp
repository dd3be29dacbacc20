// The wallpaper, the readme and the web links on the real window: the
// recorder program is the prefix's handler for text files and web and mail addresses, so what the shell
// really starts is seen, and the wallpaper file is read byte by byte.
#include "tests/main/browser/MenusFixture.h"

#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/WholeFile.h"
#include "tests/main/core/FakeBrowsers.h"
#include "tests/main/core/Recorder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

using menustest::Menus;

std::optional<std::string> ClassValue(const std::string& key) {
    char value[1024] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(value);
}

// The default value of a key under the classes root set for the object's life, then put back as it was.
class ClassOverride {
public:
    ClassOverride(std::string key, const std::string& value) : key_(std::move(key)), previous_(ClassValue(key_)) {
        RegSetKeyValueA(HKEY_CLASSES_ROOT, key_.c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size() + 1));
    }
    ~ClassOverride() {
        if (previous_) {
            RegSetKeyValueA(HKEY_CLASSES_ROOT, key_.c_str(), nullptr, REG_SZ, previous_->c_str(),
                            static_cast<DWORD>(previous_->size() + 1));
        } else {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, key_.c_str());
        }
    }
    ClassOverride(const ClassOverride&) = delete;
    ClassOverride& operator=(const ClassOverride&) = delete;

private:
    std::string key_;
    std::optional<std::string> previous_;
};

std::string DesktopValue(const char* name) {
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\desktop", name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return "<none>";
    return value;
}

std::uint32_t Le32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Processes the shell starts for a text file and for web and mail addresses are the recorder.
class Handlers : public Menus {
protected:
    void SetUp() override {
        Menus::SetUp();
        if (HasFatalFailure()) return;
        const std::string command = "\"" + coretest::RecorderProgram() + "\" \"%1\"";
        overrides_.emplace_back(std::make_unique<ClassOverride>(".txt", "QVTestText"));
        for (const char* key : {"QVTestText", "http", "https", "mailto"}) {
            overrides_.emplace_back(std::make_unique<ClassOverride>(std::string(key) + "\\shell\\open\\command", command));
        }
    }
    void TearDown() override {
        overrides_.clear();
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "QVTestText");
        Menus::TearDown();
    }
    std::string Started(const std::string& argument) const {
        return "\"" + coretest::RecorderProgram() + "\" \"" + argument + "\"";
    }

    const coretest::Recorder recorder_{folder_ / "started.txt"};
    std::vector<std::unique_ptr<ClassOverride>> overrides_;
};

TEST_F(Handlers, WebAndMailLinksReachTheirHandlersWhole) {
    auto& w = Window();
    struct Row {
        const char* name;
        std::function<void()> command;
        std::string address;
    };
    const std::string query = "http://mine.example/page?x=1&y=two%20words";
    const Row rows[] = {
        {"my site with a query", [&] { w.mnuMyWebs(0).SetTag(query); w.mnuMyWebs_Click(0); }, query},
        {"an imaging site", [&] { w.mnuImgWebs(0).SetCaption("Secure"); w.mnuImgWebs(0).SetTag("https://secure.example/");
                                  w.mnuImgWebs_Click(0); }, "https://secure.example/"},
        {"a mail address in capitals", [&] { w.mnuMyWebs(0).SetTag("MAILTO:someone@example.com"); w.mnuMyWebs_Click(0); },
         "MAILTO:someone@example.com"},
        {"the support mailbox", [&] { w.mnuMail_Click(); }, "Mailto:support@quillview.example"},
        {"the product's home page", [&] { w.mnuHomepage_Click(); }, "http://www.quillview.example/"},
    };
    // A refused tag first: it starts nothing, so the first line recorded is the first row's.
    w.mnuMyWebs(0).SetCaption("Refused");
    w.mnuMyWebs(0).SetTag("notepad.exe");
    answers_.ExpectMsgBox("This link cannot be opened, it is no web or mail address:\r\n\r\nnotepad.exe",
                          forms::mb::Exclamation, forms::App::Title(), forms::answer::Ok);
    w.mnuMyWebs_Click(0);
    std::size_t expected = 0;
    for (const Row& row : rows) {
        row.command();
        const auto lines = recorder_.WaitForLines(++expected);
        ASSERT_EQ(lines.size(), expected) << row.name;
        EXPECT_EQ(lines.back(), Started(row.address)) << row.name;
    }
    EXPECT_EQ(answers_.Remaining(), 0u);
}

TEST_F(Handlers, ReadmeOpensWithTheTextProgramOrIsMissed) {
    auto& w = Window();
    answers_.ExpectMsgBox("The Readme file (Readme.txt) was not found!", forms::mb::Exclamation, "File not found",
                          forms::answer::Ok);
    w.mnuReadme_Click();
    EXPECT_EQ(answers_.Remaining(), 0u);

    const std::string readme = program_ + "\\Readme.txt";
    forms::ReplaceWholeFile(readme, "read me");
    w.mnuReadme_Click();
    const auto lines = recorder_.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u) << "only the second click started anything";
    // The shell hands the name on as given, with the program folder as the working folder, or qualified.
    const std::string line = forms::LCase(lines[0]);
    EXPECT_TRUE(line == forms::LCase(Started("Readme.txt")) || line == forms::LCase(Started(readme))) << lines[0];
}

class Wallpaper : public Menus {
protected:
    void SetUp() override {
        Menus::SetUp();
        char current[MAX_PATH * 2] = {};
        SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof current, current, 0);
        previous_ = current;
        previousTile_ = DesktopValue("TileWallpaper");
    }
    void TearDown() override {
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\desktop", "TileWallpaper", REG_SZ, previousTile_.c_str(),
                        static_cast<DWORD>(previousTile_.size() + 1));
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, previous_.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
        Menus::TearDown();
    }
    std::string previous_;
    std::string previousTile_;
};

TEST_F(Wallpaper, EveryPictureBecomesA24BitBitmapInTheUsersFolder) {
    enum class Kind { Bitmap, Icon, Metafile };
    struct Row {
        const char* name;
        Kind kind;
        bool tile;
    };
    constexpr COLORREF colour = RGB(10, 200, 90);
    const Row rows[] = {
        {"a bitmap, centred", Kind::Bitmap, false},
        {"an icon, tiled", Kind::Icon, true},
        {"a metafile, centred", Kind::Metafile, false},
    };
    auto& w = Window();
    const std::string file = folder_ / "user\\QVWallpaper.bmp";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        switch (row.kind) {
        case Kind::Bitmap:
            Module1::ShowImage(forms::StdPicture::FromBitmap(qvtest::PaintedBitmap(9, 5, {{RECT{0, 0, 9, 5}, colour}})));
            break;
        case Kind::Icon: w.Image1.SetPicture(forms::StdPicture::FromIcon(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)))); break;
        case Kind::Metafile: {
            const HDC dc = CreateMetaFileA(nullptr);
            SetWindowExtEx(dc, 40, 20, nullptr);
            Rectangle(dc, 10, 5, 40, 20);
            w.Image1.SetPicture(forms::StdPicture::FromMetafile(CloseMetaFile(dc), 1000, 500));
            break;
        }
        }
        if (row.tile) {
            w.mnuTileImage_Click();
        } else {
            w.mnuCenter_Click();
        }
        const std::string bytes = forms::ReadWholeFile(file);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(Le32(bytes, 2), bytes.size());
        EXPECT_EQ(Le32(bytes, 14), 40u) << "a plain bitmap header";
        const auto width = static_cast<std::int32_t>(Le32(bytes, 18));
        const auto height = static_cast<std::int32_t>(Le32(bytes, 22));
        EXPECT_EQ(bytes[28], 24) << "24 bits a pixel";
        EXPECT_EQ(Le32(bytes, 30), static_cast<std::uint32_t>(BI_RGB));
        ASSERT_GT(width, 0);
        ASSERT_GT(height, 0);
        const std::uint32_t offset = Le32(bytes, 10);
        const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
        EXPECT_EQ(bytes.size(), offset + stride * height);
        const auto pixel = [&](int x, int y) {
            const std::size_t at = offset + static_cast<std::size_t>(height - 1 - y) * stride + x * 3;
            return RGB(bytes[at + 2] & 0xFF, bytes[at + 1] & 0xFF, bytes[at] & 0xFF);
        };
        if (row.kind == Kind::Bitmap) {
            EXPECT_EQ(width, 9);
            EXPECT_EQ(height, 5);
            EXPECT_EQ(pixel(0, 0), colour);
            EXPECT_EQ(pixel(8, 4), colour);
        } else {
            EXPECT_EQ(pixel(0, 0), RGB(255, 255, 255)) << "drawn on white";
        }
        EXPECT_EQ(DesktopValue("Wallpaper"), file);
        EXPECT_EQ(DesktopValue("TileWallpaper"), row.tile ? "1" : "0");
        char applied[MAX_PATH * 2] = {};
        ASSERT_TRUE(SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof applied, applied, 0));
        EXPECT_EQ(std::string(applied), file) << "the desktop was told";
    }
}

TEST_F(Menus, AddLinkOffersThePagesTheBrowsersShow) {
    struct Link {
        bool shown;
        std::string caption, address;
    };
    struct Row {
        const char* name;
        std::vector<std::string> browsers;
        bool moreBrowsers;
        Link links[4];
    };
    const Link untouched{false, "No URL", ""};
    const Row rows[] = {
        {"the first two browsers",
         {"Start - Microsoft Internet Explorer|http://ie.example/page", "News - Netscape|http://news.example/"},
         false,
         {{true, "Start", "http://ie.example/page"}, {true, "News", "http://news.example/"}, untouched, untouched}},
        {"an address that is no web address",
         {"Local - Microsoft Internet Explorer|file:///C:/run.exe", "News - Netscape|javascript:alert(1)"},
         false,
         {{false, "Start", "http://ie.example/page"}, {false, "News", "http://news.example/"}, untouched, untouched}},
        {"the two more browsers",
         {"Pics - NeoPlanet|http://neo.example/", "Gallery - Opera|http://opera.example/"},
         true,
         {{false, "Start", "http://ie.example/page"}, {false, "News", "http://news.example/"},
          {true, "Pics", "http://neo.example/"}, {true, "Gallery", "http://opera.example/"}}},
        {"no browser", {}, true, {{false, "Start", "http://ie.example/page"}, {false, "News", "http://news.example/"},
                                  {false, "Pics", "http://neo.example/"}, {false, "Gallery", "http://opera.example/"}}},
    };
    auto& w = Window();
    for (int i = 1; i <= 3; ++i) w.mnuLink(i).SetCaption("No URL");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const coretest::FakeBrowsers browsers{row.browsers};
        w.SupportMoreBrowsers = row.moreBrowsers;
        w.mnuGoItem_Click();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(w.mnuLink(i).Visible(), row.links[i].shown) << i;
            EXPECT_EQ(w.mnuLink(i).Caption(), row.links[i].caption) << i;
            EXPECT_EQ(w.mnuLink(i).Tag(), row.links[i].address) << i;
        }
    }
    EXPECT_EQ(answers_.Remaining(), 0u);
}

}  // namespace
