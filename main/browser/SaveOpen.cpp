// File > Save and File > Open: the shown picture to a file of the user's choice, and a picture from anywhere
// shown by taking the lists to it.
#include "lib/imgEditbuf/Client.h"
#include "lib/services/client/ComdlgClient.h"
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/windows/frmJpegQual.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

#include <initializer_list>

namespace {

enum class Writer { Jpeg, Picture, None };

// How a picture of one type is offered and written, by the filter index the dialog returns.
struct SaveChoice {
    const char* extension;  // appended when the name has none of `accepted`
    std::initializer_list<const char*> accepted;
    Writer writer;
};

struct SaveType {
    forms::PictureType type;
    const char* filter;
    SaveChoice first;
    SaveChoice second;
};

const SaveType kSaveTypes[] = {
    {forms::PictureType::Bitmap, "Jpeg (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp",
     {"jpg", {"jpg", "jpeg", "jpe"}, Writer::Jpeg}, {"bmp", {"bmp", "dib"}, Writer::Picture}},
    {forms::PictureType::EnhMetafile, "Enhanced MetaFile (*.emf)|*.emf", {"emf", {"emf"}, Writer::Picture}, {}},
    {forms::PictureType::Metafile, "Windows MetaFile (*.wmf)|*.wmf", {"wmf", {"wmf"}, Writer::Picture}, {}},
    {forms::PictureType::Icon, "Icon (*.ico)|*.ico", {"ico", {"ico"}, Writer::Picture}, {}},
};

constexpr const char* kSaveTitle = "Save Image as...";

// The text after the last "." of the file's own name, in lower case; "" when it has none.
std::string ExtensionOf(const std::string& path) {
    const std::string name = forms::FileNameOf(path);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : forms::LCase(name.substr(dot + 1));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether one wildcard of a ";"-separated pattern is "*.<extension>".
bool PatternLists(const std::string& pattern, const std::string& extension) {
    for (const std::string& part : forms::Split(pattern, ";")) {
        if (forms::TextEquals(forms::Trim(part), "*." + extension)) return true;
    }
    return false;
}

// Takes the drive, folder and file lists to the folder of a file.
void GoToFolderOf(frmQuillview& w, const std::string& path) {
    const std::string folder = forms::FolderOf(path);
    const std::string root = forms::RootOf(folder);
    // A share has no drive to choose.
    if (root.size() == 3) w.Drive1.SetDrive(root);
    w.Dir1.SetPath(folder);
}

void ReportSaveError(const forms::RuntimeError& e) {
    // A JPEG writer that cannot be created at all means to the user what a missing one means.
    if (e.Number() == 48 || e.Number() == forms::err::CannotCreateObject) {
        forms::MsgBox("The Jpeg save component installed with Quillview is not present on the system: cannot save "
                      "to jpegs.\r\nPlease reinstall Quillview to restore the component\r\nError Message Reported "
                      "by System follows: " +
                      e.Description());
    } else {
        forms::MsgBox(e.Description() + ", error number: " + std::to_string(e.Number()), forms::mb::Critical);
    }
}

}  // namespace

void frmQuillview::mnuSave_Click() {
    try {
        const forms::StdPicture picture = Image1.Picture();
        const SaveType* kind = nullptr;
        for (const SaveType& t : kSaveTypes) {
            if (picture && picture.Type() == t.type) kind = &t;
        }
        if (!kind) return;

        services::client::CommonDialogs::SaveFileArgs args;
        args.fileName.clear();
        args.overWritePrompt = true;
        args.filter = kind->filter;
        args.filterIndex = 0;
        args.initDir = Dir1.Path();
        args.dlgTitle = kSaveTitle;
        args.defaultExt.clear();
        args.owner = HandleToLong(hWnd());
        args.flags = 0;
        if (!Module1::gComdlg().VBGetSaveFileName(args)) return;
        std::string name = args.fileName;
        if (forms::Trim(name).empty()) return;

        const SaveChoice* choice = args.filterIndex == 1 ? &kind->first
                                   : args.filterIndex == 2 && kind->second.extension ? &kind->second
                                                                                      : nullptr;
        bool written = false;
        if (choice) {
            bool named = false;
            for (const char* accepted : choice->accepted) named = named || ExtensionOf(name) == accepted;
            if (!named) {
                name += std::string(".") + choice->extension;
                // The dialog's own overwrite question saw the name without the extension.
                if (Exists(name) &&
                    forms::MsgBox("The file " + name + " already exists. Do you want to replace it?",
                                  forms::mb::YesNo | forms::mb::Exclamation, kSaveTitle) != forms::answer::Yes) {
                    return;
                }
            }
            if (choice->writer == Writer::Jpeg) {
                bool cancelled = false;
                const std::int32_t quality = forms::Default<frmJpegQual>().GetQualVal(cancelled);
                if (!cancelled && quality >= 1) {
                    const imgbuf::client::ImgEditCtlBuf writer = Module1::NewImgEditCtlBuf();
                    Module1::gImageSaved = writer.SaveToJpeg(name, picture.Disp(), quality);
                    written = Module1::gImageSaved;
                }
            } else {
                forms::SavePicture(picture, name);
                Module1::gImageSaved = true;
                written = true;
            }
        }

        GoToFolderOf(*this, name);
        const std::string fileName = forms::FileNameOf(name);
        const std::string extension = ExtensionOf(fileName);
        // A type the list hides is shown by its check mark and the pattern alone: the File Types command would
        // close the picture just saved.
        if (!extension.empty() && !PatternLists(File1.Pattern(), extension)) {
            for (int i = mnuFTs.LBound(); i <= mnuFTs.UBound(); ++i) {
                if (mnuFTs.Exists(i) && PatternLists(mnuFTs(i).Tag(), extension)) mnuFTs(i).SetChecked(true);
            }
            File1.SetPattern(SetPattern());
        }
        File1.Refresh();
        for (int i = 0; i < File1.ListCount(); ++i) {
            if (!forms::TextEquals(File1.List(i), fileName)) continue;
            if (written) {
                // The window shows the file now on disk, under its name.
                File1.SetListIndex(i);
            } else {
                const browser::SuppressFileClick suppress;
                File1.SetListIndex(i);
            }
            break;
        }
        if (Module1::gImageSaved) {
            ImageSaved();
        } else {
            ImageStatic();
        }
    } catch (const forms::RuntimeError& e) {
        ReportSaveError(e);
    }
}

void frmQuillview::mnuOpen_Click() {
    services::client::CommonDialogs::OpenFileArgs args;
    args.fileName.clear();
    args.fileMustExist = true;
    args.multiSelect = false;
    args.readOnly = false;
    args.hideReadOnly = true;
    args.filter = "Selected Types|" + File1.Pattern();
    args.filterIndex = 1;
    args.initDir = Dir1.Path();
    args.dlgTitle = "Quillview - Open Image...";
    args.defaultExt.clear();
    args.owner = HandleToLong(hWnd());
    args.flags = 0;
    if (!Module1::gComdlg().VBGetOpenFileName(args) || args.fileName.empty()) return;
    GoToFolderOf(*this, args.fileName);
    const std::string fileName = forms::FileNameOf(args.fileName);
    browser::DeselectFile(File1);
    for (int i = 0; i < File1.ListCount(); ++i) {
        // The name as the user gave it: another letter case opens the folder but chooses nothing.
        if (File1.List(i) == fileName) {
            File1.SetListIndex(i);
            break;
        }
    }
}
