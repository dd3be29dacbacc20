#include "tests/main/browser/FileCommandsFixture.h"

#include "platform/runtime/OwnedHandles.h"

#include <shlobj.h>


namespace filecommands {

std::string ReadAll(const std::string& path) {
    std::string bytes;
    const forms::UniqueKernelHandle file(
        forms::NullIfInvalid(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)));
    if (!file) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

namespace {

void Walk(const std::string& folder, const std::string& relative, bool deep,
          const std::function<void(const std::string&, const std::string&)>& file) {
    WIN32_FIND_DATAA data;
    const forms::UniqueFind find(forms::NullIfInvalid(FindFirstFileA((folder + "\\*").c_str(), &data)));
    if (!find) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            file(folder + "\\" + name, path);
        } else if (deep) {
            Walk(folder + "\\" + name, path, deep, file);
        }
    } while (FindNextFileA(find.get(), &data));
}

std::string TitleOf(HWND hwnd) {
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    return title;
}

}  // namespace

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    Walk(folder, "", false, [&](const std::string&, const std::string& name) { names.push_back(name); });
    return names;
}

std::map<std::string, std::string> FilesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    Walk(folder, "", true, [&](const std::string& full, const std::string& relative) {
        files[relative] = ReadAll(full);
    });
    return files;
}

void RemoveFromTrash(const std::string& name) {
    const std::string trash = TrashFiles();
    std::string item = trash + "\\" + name;
    item.append(2, '\0');
    SHFILEOPSTRUCTA request{};
    request.wFunc = FO_DELETE;
    request.pFrom = item.c_str();
    request.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&request);
    DeleteFileA((trash.substr(0, trash.size() - 5) + "info\\" + name + ".trashinfo").c_str());
}

void WhenShown(forms::Form& form, std::function<void()> act, int tries) {
    formstest::Later([&form, act, tries] {
        if (form.IsLoaded() && IsWindowVisible(form.hWnd())) {
            act();
        } else if (tries > 0) {
            WhenShown(form, act, tries - 1);
        }
    });
}

void ChooseInBrowser(const std::string& folder) {
    auto& browse = forms::Default<frmBrowse>();
    WhenShown(browse, [&browse, folder] {
        browse.ftvDirs.SetPath(folder);
        browse.Command2.SetValue(true);
    });
}

DialogDriver::Action Press(int button) {
    return [button](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    };
}

DialogDriver::Action SelectFolder(const std::string& folder) {
    return [folder](HWND dialog) {
        // The tree may still be filling in when the dialog first shows: select, let the tree's own messages
        // run, select again, and only then confirm.
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        formstest::PumpPosted();
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        DialogDriver::Confirm(dialog);
    };
}

namespace {
thread_local DialogScript* g_script = nullptr;
}

DialogScript::DialogScript(std::vector<DialogDriver::Action> actions, HWND keep, DWORD limitMs)
    : actions_(std::move(actions)), keep_(keep), deadline_(GetTickCount() + limitMs) {
    g_script = this;
    timer_ = SetTimer(nullptr, 0, 50, &DialogScript::Tick);
}

DialogScript::~DialogScript() {
    KillTimer(nullptr, timer_);
    g_script = nullptr;
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script) g_script->Step();
}

void DialogScript::Step() {
    if (static_cast<LONG>(GetTickCount() - deadline_) >= 0) {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM self) -> BOOL {
                auto& script = *reinterpret_cast<DialogScript*>(self);
                if (hwnd == script.keep_ || !IsWindowVisible(hwnd)) return TRUE;
                char cls[32] = {};
                GetClassNameA(hwnd, cls, sizeof cls);
                script.hung_.push_back(TitleOf(hwnd));
                if (lstrcmpA(cls, "#32770") == 0) {
                    DialogDriver::Cancel(hwnd);
                } else {
                    PostMessageA(hwnd, WM_CLOSE, 0, 0);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
        return;
    }
    const HWND dialog = DialogDriver::ThreadDialog();
    if (!dialog) {
        last_ = nullptr;
        return;
    }
    const std::string title = TitleOf(dialog);
    // The dialog acted on is closing.
    if (dialog == last_ && title == lastTitle_) return;
    // Let the dialog finish its initialisation first: act on the tick after the one that found it.
    if (++ticks_ < 2) return;
    ticks_ = 0;
    last_ = dialog;
    lastTitle_ = title;
    if (next_ < actions_.size()) {
        answered_.push_back(title);
        actions_[next_++](dialog);
    } else {
        unexpected_.push_back(title);
        DialogDriver::Cancel(dialog);
    }
}

void FileCommandsTest::SetUp() {
    ASSERT_TRUE(services_.Registered());
    forms::SaveSetting("Quillview", "current_version", "major", std::to_string(forms::App::Major()));
    forms::SaveSetting("Quillview", "current_version", "minor", std::to_string(forms::App::Minor()));
    forms::SaveSetting("Quillview", "current_version", "rev", std::to_string(forms::App::Revision()));
    Window().LoadWithoutStartUp();
    Window().ShowLogo();
}

void FileCommandsTest::TearDown() {
    Window().Unload();
    forms::Default<frmBrowse>().Unload();
}

std::string FileCommandsTest::Folder(const std::string& name, const std::vector<std::string>& files) {
    const std::string folder = temp_ / name;
    CreateDirectoryA(folder.c_str(), nullptr);
    int shade = 1;
    for (const std::string& file : files) {
        EXPECT_TRUE(qvtest::WriteBitmap(folder + "\\" + file, 2 + shade, 2, 0x010203u * shade));
        originals_[file] = ReadAll(folder + "\\" + file);
        ++shade;
    }
    return folder;
}

FileCommandsTest::RowFolders FileCommandsTest::MakeRowFolders(const std::string& base,
                                                              const std::vector<std::string>& files) {
    CreateDirectoryA((temp_ / base).c_str(), nullptr);
    RowFolders made{Folder(base + "\\pics", files), temp_ / (base + "\\dst")};
    CreateDirectoryA(made.dst.c_str(), nullptr);
    return made;
}

void FileCommandsTest::GoTo(const std::string& folder) {
    Window().Dir1.SetPath(folder);
    Window().File1.SetPath(folder);
}

}  // namespace filecommands
