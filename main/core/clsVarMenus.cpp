#include "main/core/clsVarMenus.h"

#include "main/core/MenuListFile.h"

#include "platform/runtime/MsgBox.h"
#include "platform/forms/InputBox.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileErrors.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace {

using menulist::HoldsLineBreakOrMarker;
using menulist::kMarker;
constexpr std::int32_t kNoDataFile = forms::ObjectError + 354;

// Files are UTF-8 as the programs write them; a line in the older Windows code page is read converted.
std::string AsUtf8(std::string line) {
    if (forms::IsValidText(line, CP_UTF8)) return line;
    return forms::FromWide(forms::ToWide(line, 1252), CP_UTF8);
}

std::string ReadWholeFile(const std::string& path) {
    const forms::UniqueKernelHandle file(forms::NullIfInvalid(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) forms::RaiseLastFileError();
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    for (;;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) forms::RaiseLastFileError();
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

void LoadingFailed(const std::string& dataFile, std::int32_t number) {
    forms::MsgBox("An error occured while loading the list file '" + dataFile + "'!", forms::mb::Critical,
                  "Error: " + std::to_string(number));
}

}  // namespace

forms::ControlArray<forms::Menu>& clsVarMenus::Items() const {
    if (!MenuItems) throw forms::RuntimeError(forms::err::ObjectNotSet);
    return *MenuItems;
}

void clsVarMenus::LoadMenu() {
    if (DataFile.empty()) {
        throw forms::RuntimeError(kNoDataFile, "No Data file set, set a data file before loading items");
    }
    auto& menu = Items();
    const std::string path = forms::UserFileToRead(DataFile);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;

    if (reportedFor_ != path) {
        reportedFor_ = path;
        badLineReported_ = false;
    }
    menulist::Parsed parsed;
    try {
        parsed = menulist::Parse(ReadWholeFile(path), AsUtf8);
    } catch (const forms::RuntimeError& e) {
        LoadingFailed(DataFile, e.Number());
        return;
    }
    if (parsed.badLine && !badLineReported_) {
        badLineReported_ = true;
        LoadingFailed(DataFile, forms::err::InvalidProcedureCall);
    }

    const auto& items = parsed.items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = static_cast<int>(i);
        if (index > 0 && !menu.Exists(index)) menu.Load(index);
        forms::Menu& element = menu(index);
        element.SetCaption(items[i].name);
        element.SetTag(items[i].value);
    }
}

void clsVarMenus::ReloadMenu() {
    forms::IgnoringErrors([&] {
        auto& menu = Items();
        const int lower = menu.LBound();
        menu(lower).SetCaption({});
        menu(lower).SetTag({});
        for (const int index : menu.Indexes()) {
            if (index > lower) forms::IgnoringErrors([&] { menu.Unload(index); });
        }
    });
    forms::IgnoringErrors([&] { LoadMenu(); });
}

void clsVarMenus::SaveMenu() {
    if (DataFile.empty()) {
        throw forms::RuntimeError(kNoDataFile, "No Data file set, set a data file before saving items");
    }
    auto& menu = Items();
    std::string text;
    for (const int index : menu.Indexes()) {
        const forms::Menu& element = menu(index);
        if (element.Caption().empty() && element.Tag().empty()) continue;
        text += element.Tag();
        text += kMarker;
        text += element.Caption();
        text += "\r\n";
    }
    const std::string target = forms::UserFileToWrite(DataFile);
    const std::string shipped = forms::JoinPath(forms::ProgramFolder(), DataFile);
    if (text.empty()) {
        // An emptied list stays empty: with a shipped default beside the program an empty copy of the
        // user's own keeps the default from coming back.
        const DWORD attributes = GetFileAttributesA(shipped.c_str());
        if (shipped == target || attributes == INVALID_FILE_ATTRIBUTES) {
            DeleteDataFile();
            return;
        }
    }

    try {
        forms::ReplaceWholeFile(target, text);
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox("An error occured while saving the list file '" + DataFile + "'!", forms::mb::Critical,
                      "Error: " + std::to_string(e.Number()));
    }
}

void clsVarMenus::DelMenuItem(std::int32_t Index) {
    auto& menu = Items();
    const int upper = menu.UBound();
    for (int i = Index; i <= upper; ++i) {
        if (i + 1 <= upper) {
            menu(i).SetCaption(menu(i + 1).Caption());
            menu(i).SetTag(menu(i + 1).Tag());
        } else if (i > menu.LBound()) {
            menu.Unload(i);
        } else {
            menu(i).SetCaption({});
            menu(i).SetTag({});
        }
    }
}

std::string clsVarMenus::RenameItem(std::int32_t Index) {
    forms::Menu& element = Items()(Index);
    const std::string answer = forms::InputBox("Please enter the new name", "Change Name", element.Caption());
    if (forms::Trim(answer).empty()) return {};
    if (HoldsLineBreakOrMarker(answer)) {
        forms::MsgBox("The name " + answer + " cannot be stored in the list.", forms::mb::Exclamation, "Error");
        return {};
    }
    element.SetCaption(answer);
    return answer;
}

void clsVarMenus::FillListBox(std::int32_t Fill) {
    if (Fill < 0 || Fill > 2) return;
    auto& menu = Items();
    const bool names = Fill == 0 || Fill == 2;
    const bool tags = Fill == 1 || Fill == 2;
    if ((names && !NameList) || (tags && !TagList)) throw forms::RuntimeError(forms::err::ObjectNotSet);
    if (names) NameList->Clear();
    if (tags) TagList->Clear();
    for (const int index : menu.Indexes()) {
        const forms::Menu& element = menu(index);
        if (names && !element.Caption().empty()) NameList->AddItem(element.Caption());
        if (tags && !element.Tag().empty()) TagList->AddItem(element.Tag());
    }
}

std::int32_t clsVarMenus::AddItem(std::string strName, std::string strTag, bool& Fail) {
    auto& menu = Items();
    const std::string name = forms::Trim(strName);
    const std::string tag = forms::Trim(strTag);
    for (const int index : menu.Indexes()) {
        const forms::Menu& element = menu(index);
        if (forms::Trim(element.Tag()) == tag) {
            forms::MsgBox("This is already in the menu as '" + element.Caption() + "'.", forms::mb::Exclamation,
                          "Error");
            Fail = true;
            return 0;
        }
        if (forms::Trim(element.Caption()) == name) {
            forms::MsgBox("The name " + strName + " is taken.", forms::mb::Exclamation, "Error");
            Fail = true;
            return 0;
        }
    }
    // One item is one line of the file: what would break the line or move the marker cannot be stored.
    if (HoldsLineBreakOrMarker(strName) || HoldsLineBreakOrMarker(strTag)) {
        const bool badName = HoldsLineBreakOrMarker(strName);
        forms::MsgBox((badName ? "The name " + strName : "The value " + strTag) + " cannot be stored in the list.",
                      forms::mb::Exclamation, "Error");
        Fail = true;
        return 0;
    }
    const int lower = menu.LBound();
    int n = lower;
    if (!menu(lower).Caption().empty()) {
        n = menu.UBound() + 1;
        menu.Load(n);
    }
    menu(n).SetCaption(strName);
    menu(n).SetTag(strTag);
    return n;
}

bool clsVarMenus::InArray(const std::string& strChk, bool ChkTag) const {
    auto& menu = Items();
    for (const int index : menu.Indexes()) {
        const forms::Menu& element = menu(index);
        if ((ChkTag ? element.Tag() : element.Caption()) == strChk) return true;
    }
    return false;
}

void clsVarMenus::DeleteDataFile() const {
    const std::string path = forms::JoinPath(forms::UserDataFolder(), DataFile);
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(path.c_str());
}
