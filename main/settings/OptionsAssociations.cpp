// The 13 file-type associations of the Advanced page. Ticking makes the program the opener of a type and
// keeps the earlier association as undo data first; clearing brings the earlier one back, or lets the user
// pick another program when the undo data is gone. A type is never left half made: a take-over without undo
// data does not start, and one the registry refused is put back as it was.
#include "main/settings/options.h"

#include "lib/services/client/FileAssocClient.h"
#include "main/core/AssociationTypes.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"

#include <windows.h>

namespace {

constexpr std::int32_t kPathFileAccessError = 75;
constexpr std::int32_t kPermissionDenied = 70;

std::string Folder() { return forms::ProgramFolder(); }
std::string Exe() { return forms::App::EXEName(); }

bool Ours(const filetypes::FileType& type) {
    return Module1::gFileAssoc().Associated(type.properName, Folder(), Exe(), ".exe", "Open", type.extension);
}

void MakeOurs(const filetypes::FileType& type) {
    Module1::gFileAssoc().CreateAssociation(type.properName, type.description, "Image", type.extension, "Open",
                                            Folder(), Exe(), ".exe", type.Icon());
}

void StoreChoice(const filetypes::FileType& type, bool ticked) {
    forms::SaveSetting(settingsnames::kApp, "Options", type.Key(), ticked ? "1" : "0");
}

[[noreturn]] void Refused(const filetypes::FileType& type, const std::string& what) {
    throw forms::RuntimeError(kPermissionDenied, "The " + std::string(type.code) + " file type " + what +
                                                     ": the registry refused the change.");
}

}  // namespace

bool options::IsAssociated(const filetypes::FileType& type) { return Ours(type); }

void options::SetAssociation(const filetypes::FileType& type) {
    auto& registry = Module1::gFileAssoc();
    const std::string folder = Folder();
    if (AssociationBox(type.code).Value() == 1) {
        if (Ours(type)) {
            StoreChoice(type, true);
            return;
        }
        if (!registry.CreateUndoAssDat(type.extension, type.properName, "Open", folder)) {
            StoreChoice(type, false);
            throw forms::RuntimeError(kPathFileAccessError,
                                      "The " + std::string(type.code) +
                                          " file type was not associated with Quillview, as its earlier association "
                                          "could not be kept: " +
                                          registry.GetLastErrorMsg());
        }
        forms::IgnoringErrors([&] { MakeOurs(type); });
        const bool ours = Ours(type);
        StoreChoice(type, ours);
        if (ours) return;
        // Whatever part was written goes back to what the undo file holds.
        forms::IgnoringErrors([&] { registry.UndoAssociation(folder, type.extension); });
        Refused(type, "could not be associated with Quillview");
    }

    StoreChoice(type, false);
    if (!Ours(type)) return;  // another program's association is never touched
    if (registry.UndoAssociation(folder, type.extension)) return;
    const std::string code = type.code;
    const int answer = forms::MsgBox(
        "Cannot unassociate the " + code +
            " file format, the 'Undo' data is either corrupted or missing, would you like to choose another "
            "program for " +
            code + " files now? Click Yes to browse for a program, click No to stick with Quillview as the default " +
            code + " file application.",
        forms::mb::YesNo, "Error in Unassociating!");
    if (answer != forms::answer::Yes) return;
    if (!registry.ShowPrograms("Browse for programs",
                               "Please browse for a new default " + code + " file format application.", "*.exe"))
        return;
    const std::string programFolder = registry.ProgramFP();
    const std::string programFile = registry.ProgramFN();
    forms::IgnoringErrors([&] {
        registry.CreateAssociation(type.properName, type.description, "Image", type.extension, "Open", programFolder,
                                   programFile, "", programFolder + "\\" + programFile);
    });
    if (!registry.Associated(type.properName, programFolder, programFile, "", "Open", type.extension)) {
        // As after No: the type keeps working with the program.
        forms::IgnoringErrors([&] { MakeOurs(type); });
        Refused(type, "could not be given to " + programFile);
    }
    // A damaged record left from before would be kept as the user's earlier association: it goes, so that the
    // new one records the chosen program.
    const std::string stale = folder + "\\" + type.extension + "_undo.dat";
    SetFileAttributesA(stale.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(stale.c_str());
    registry.CreateUndoAssDat(type.extension, type.properName, "Open", folder);
}

void options::SetAssociationBoxes(int value) {
    for (const char* code : {"GIF", "JPG", "WMF", "EMF", "ICO", "CUR", "BMP", "PCT", "TGA", "PNG", "EPS", "PCX", "TIF"}) {
        forms::CheckBox& box = AssociationBox(code);
        // A hidden box (PCX when the program cannot read it) is left as it stands.
        if (box.Visible()) box.SetValue(value);
    }
}

void options::cmdCheckall_Click() { SetAssociationBoxes(1); }

void options::cmdCheckNone_Click() { SetAssociationBoxes(0); }
