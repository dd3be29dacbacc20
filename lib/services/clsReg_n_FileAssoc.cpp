#include "lib/services/clsReg_n_FileAssoc.h"

#include <windows.h>


#include "lib/comserver/Module.h"
#include "lib/services/Comdlg.h"
#include "lib/services/FileIo.h"
#include "lib/services/UndoRecord.h"
#include "platform/runtime/WholeFile.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/RuntimeError.h"

namespace services {

namespace {

constexpr const char* CrLf = "\r\n";

HKEY RootOf(std::int32_t hkey) { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(hkey)); }

// A trailing "\" names the same key ("<ProgID>\DefaultIcon\").
std::string KeyPath(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

using Key = forms::UniqueKey;


LONG CreateKey(std::int32_t root, const std::string& path, Key& key) {
    return RegCreateKeyExA(RootOf(root), KeyPath(path).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                           key.put(), nullptr);
}

LONG OpenKey(std::int32_t root, const std::string& path, REGSAM access, Key& key) {
    return RegOpenKeyExA(RootOf(root), KeyPath(path).c_str(), 0, access, key.put());
}

// Writes a REG_SZ value and says whether the registry took it.
bool WriteString(std::int32_t root, const std::string& path, const std::string& name, const std::string& data) {
    Key key;
    if (CreateKey(root, path, key) != ERROR_SUCCESS) return false;
    // The size includes the terminating NUL, as the registry's documentation asks of string data.
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

// Puts back a value an undo record holds: an empty one stands for a value there was none of, so it goes
// (a missing key or value is already so). True when the registry is as the record says.
bool RestoreString(std::int32_t root, const std::string& path, const std::string& name, const std::string& data) {
    if (!data.empty()) return WriteString(root, path, name, data);
    Key key;
    const LONG opened = OpenKey(root, path, KEY_SET_VALUE, key);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const LONG deleted = RegDeleteValueA(key.get(), name.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

std::string TextOf(const std::optional<std::string>& value) { return value.value_or(std::string()); }

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

std::string clsReg_n_FileAssoc::UndoFilePath(const std::string& folder, const std::string& ftExtension) {
    return folder + "\\" + ftExtension + "_undo.dat";
}

void clsReg_n_FileAssoc::savekey(std::int32_t hkey, const std::string& path) const {
    Key key;
    CreateKey(hkey, path, key);
}

std::optional<std::string> clsReg_n_FileAssoc::getstring(std::int32_t hkey, const std::string& path,
                                                         const std::string& value) const {
    Key key;
    if (OpenKey(hkey, path, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::string buffer(size, ' ');
    if (size > 0 && RegQueryValueExA(key.get(), value.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    const size_t nul = buffer.find('\0');
    if (nul != std::string::npos) buffer.resize(nul);
    return buffer;
}

void clsReg_n_FileAssoc::savestring(std::int32_t hkey, const std::string& path, const std::string& value,
                                    const std::string& data) const {
    WriteString(hkey, path, value, data);
}

std::int32_t clsReg_n_FileAssoc::getdword(std::int32_t hkey, const std::string& path,
                                          const std::string& valueName) const {
    Key key;
    if (OpenKey(hkey, path, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return 0;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    return static_cast<std::int32_t>(data);
}

void clsReg_n_FileAssoc::SaveDword(std::int32_t hkey, const std::string& path, const std::string& valueName,
                                   std::int32_t data) const {
    Key key;
    if (CreateKey(hkey, path, key) != ERROR_SUCCESS) return;
    const auto bits = static_cast<DWORD>(data);
    RegSetValueExA(key.get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&bits), sizeof bits);
}

void clsReg_n_FileAssoc::DeleteKey(std::int32_t hkey, const std::string& key) const {
    RegDeleteKeyA(RootOf(hkey), KeyPath(key).c_str());
}

void clsReg_n_FileAssoc::DeleteValue(std::int32_t hkey, const std::string& path, const std::string& value) const {
    Key key;
    if (OpenKey(hkey, path, KEY_SET_VALUE, key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key.get(), value.c_str());
}

bool clsReg_n_FileAssoc::Associated(const std::string& properFTName, const std::string& appPath,
                                    const std::string& exeName, const std::string& extension,
                                    const std::string& action, const std::string& ftExtension) const {
    // Exact, case-sensitive comparisons: stored associations were written in exactly this form.
    if (TextOf(getstring(ClassesRoot, ftExtension)) != properFTName) return false;
    const std::string command = TextOf(getstring(ClassesRoot, properFTName + "\\Shell\\" + action + "\\Command"));
    const std::string prefix = appPath + "\\" + exeName + extension;
    return command.compare(0, prefix.size(), prefix) == 0;
}

void clsReg_n_FileAssoc::CreateAssociation(const std::string& properName, const std::string& fullName,
                                           const std::string& contentType, const std::string& extension,
                                           const std::string& action, const std::string& path,
                                           const std::string& exeName, const std::string& extention,
                                           const std::string& defaultIconFP) const {
    // The file-type record has one verb and no icon of its own (icon path empty, index 0: ",0", which is
    // never written); the default icon comes from DefaultIconFP below.
    const std::string ext = (!extension.empty() && extension[0] == '.') ? extension : "." + extension;
    const std::string command = path + "\\" + exeName + extention + " %1";

    WriteString(ClassesRoot, ext, "", properName);
    if (!contentType.empty()) WriteString(ClassesRoot, ext, "Content Type", contentType);
    savekey(ClassesRoot, properName);
    WriteString(ClassesRoot, properName, "", fullName);
    savekey(ClassesRoot, properName + "\\Shell");
    WriteString(ClassesRoot, properName + "\\Shell\\" + action + "\\Command", "", command);
    WriteString(ClassesRoot, properName + "\\DefaultIcon", "", defaultIconFP);
}

bool clsReg_n_FileAssoc::CreateUndoAssDat(const std::string& ftExtension, const std::string& properName,
                                          const std::string& action, const std::string& saveToPath) {
    const std::string path = UndoFilePath(saveToPath, ftExtension);
    try {
        const std::string progId = TextOf(getstring(ClassesRoot, ftExtension));
        const DWORD attributes = GetFileAttributesA(path.c_str());
        const bool exists = FileExists(path);
        // The association is ours already: the file there holds the user's earlier one; keep it.
        if (exists && progId == properName) return true;
        std::string record = std::string(kUndoHeader) + CrLf;
        record += "~ex$" + ftExtension + CrLf;
        record += "~pn$" + progId + CrLf;
        record += "~ct$" + TextOf(getstring(ClassesRoot, ftExtension, "Content Type")) + CrLf;
        if (progId == properName) {
            record += "~fn$" + TextOf(getstring(ClassesRoot, properName)) + CrLf;
            record += "~di$" + TextOf(getstring(ClassesRoot, properName + "\\DefaultIcon\\")) + CrLf;
            record += "~ph$" + TextOf(getstring(ClassesRoot, properName + "\\Shell\\" + action + "\\Command\\")) + CrLf;
            record += "~ac$" + action + CrLf;
        } else {
            record += CrLf;
        }
        // The earlier record is read-only; it goes only when the new one is complete, which then carries the
        // same protection from the start.
        if (exists) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        try {
            forms::ReplaceWholeFile(path, record, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        } catch (const forms::RuntimeError&) {
            if (exists) SetFileAttributesA(path.c_str(), attributes);
            throw;
        }
        return true;
    } catch (const forms::RuntimeError& e) {
        lastError_ = e.Description();
        return false;
    }
}

bool clsReg_n_FileAssoc::UndoAssociation(const std::string& savedToPath, const std::string& ftExtension) {
    const std::string path = UndoFilePath(savedToPath, ftExtension);
    try {
        const UndoRecord record = ParseUndoRecord(forms::ReadWholeFile(path));
        // A truncated or foreign file must not write to the classes root.
        // A full record without a ProgID would write the classes root's own default value.
        const bool progIdMissing = record.Full() && TextOf(record.progId).empty();
        if (!record.header || !record.extension || !SameTextIgnoringCase(*record.extension, ftExtension) ||
            progIdMissing) {
            lastError_ = "The file " + path + " is not an association record of " + ftExtension + ".";
            return false;
        }
        const std::string& ext = *record.extension;
        bool written = RestoreString(ClassesRoot, ext, "", TextOf(record.progId));
        written = RestoreString(ClassesRoot, ext, "Content Type", TextOf(record.contentType)) && written;
        if (record.Full()) {
            const std::string progId = TextOf(record.progId);
            written = RestoreString(ClassesRoot, progId, "", *record.description) && written;
            written = RestoreString(ClassesRoot, progId + "\\DefaultIcon", "", *record.icon) && written;
            written = RestoreString(ClassesRoot, progId + "\\Shell\\" + *record.action + "\\Command", "",
                                    *record.command) &&
                      written;
        }
        if (!written) {
            lastError_ = "The association of " + ext + " could not be restored in the registry.";
            return false;
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return true;
    } catch (const forms::RuntimeError& e) {
        lastError_ = e.Description();
        return false;
    }
}

bool clsReg_n_FileAssoc::ShowPrograms(const std::string& title, const std::string&, const std::string& pattern) {
    Comdlg dialogs;
    Comdlg::OpenFileArgs args;
    args.fileMustExist = true;
    args.multiSelect = false;
    args.readOnly = false;
    args.hideReadOnly = true;
    args.filter = pattern;
    args.filterIndex = 1;
    args.initDir = comserver::Module::Folder();
    args.dlgTitle = title;
    args.owner = -1;
    args.flags = 0;
    if (!dialogs.VBGetOpenFileName(args) || args.fileName.empty() || args.fileTitle.empty()) return false;
    programFN_ = args.fileTitle;
    const size_t slash = args.fileName.find_last_of('\\');
    programFP_ = slash == std::string::npos ? std::string() : args.fileName.substr(0, slash);
    return true;
}

}  // namespace services
