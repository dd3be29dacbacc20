#pragma once
// What the tests of the file and folder commands share: the real window on real folders of the test, the
// build tree's trash as the recycle bin, and the dialogs the commands open answered on this thread.
#include "main/browser/frmQuillview.h"
#include "main/windows/frmBrowse.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/lib/services/DialogDriver.h"
#include "tests/main/TestBitmap.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Trash.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace filecommands {

std::string ReadAll(const std::string& path);
// The files directly in a folder, by name.
std::vector<std::string> FilesIn(const std::string& folder);
// Every file below a folder, by its path relative to it, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder);

using qvtest::TrashFiles;
// Takes a file or folder out of the trash, with the record the trash keeps beside it.
void RemoveFromTrash(const std::string& name);

// Acts on a window of the program once it is shown (a modal form runs its own loop meanwhile).
void WhenShown(forms::Form& form, std::function<void()> act, int tries = 500);
// Chooses a folder in the copy and move commands' chooser and confirms it.
void ChooseInBrowser(const std::string& folder);

// Presses a button of the shell's question.
DialogDriver::Action Press(int button);
// Selects a folder in the shell's folder chooser and confirms it.
DialogDriver::Action SelectFolder(const std::string& folder);

// Answers the dialogs of this thread in turn, each with the next action, and keeps a command from hanging: a
// dialog with no action left is cancelled and named in Unexpected(); once the time is up, every window of the
// thread still open but `keep` is cancelled or closed, and named in Hung().
class DialogScript {
public:
    DialogScript(std::vector<DialogDriver::Action> actions, HWND keep, DWORD limitMs = 30000);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // The titles of the dialogs answered by an action, in order.
    const std::vector<std::string>& Answered() const noexcept { return answered_; }
    const std::vector<std::string>& Unexpected() const noexcept { return unexpected_; }
    const std::vector<std::string>& Hung() const noexcept { return hung_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Step();

    std::vector<DialogDriver::Action> actions_;
    std::size_t next_ = 0;
    HWND keep_;
    DWORD deadline_;
    UINT_PTR timer_ = 0;
    HWND last_ = nullptr;
    std::string lastTitle_;
    int ticks_ = 0;
    std::vector<std::string> answered_;
    std::vector<std::string> unexpected_;
    std::vector<std::string> hung_;
};

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static frmQuillview& Window() { return forms::Default<frmQuillview>(); }

    // Makes a folder of pictures, each with bytes of its own (kept in originals_ by name).
    std::string Folder(const std::string& name, const std::vector<std::string>& files);
    // A table row's own folders under temp_: BASE\pics holding the files (as Folder makes them) and an empty
    // BASE\dst.
    struct RowFolders {
        std::string pics, dst;
    };
    RowFolders MakeRowFolders(const std::string& base, const std::vector<std::string>& files);
    void GoTo(const std::string& folder);

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder temp_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "FileCommands"};
    const forms::UserPathsOverride paths_{std::nullopt, temp_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
    std::map<std::string, std::string> originals_;
};

}  // namespace filecommands
