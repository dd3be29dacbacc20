#pragma once
// The running module: its folder, file name, title and version. In a component library the module is the
// library itself, found from an address of its own code, so Path is "the folder of this library's own file".

#include <windows.h>

#include <string>

namespace forms {

class App {
public:
    // The module's folder without a trailing "\", except at a drive root ("C:\").
    static std::string Path();
    // The module's file name without its extension.
    static std::string EXEName();
    // The module's full file name.
    static std::string FileName();

    // Each program sets its own at start ("Quillview", "QuillviewUpdate"); until then, EXEName.
    static std::string Title();
    static void SetTitle(std::string title);

    // From the module's VERSIONINFO (FILEVERSION major,minor,0,revision), unless the program set them.
    static int Major();
    static int Minor();
    static int Revision();
    static void SetVersion(int major, int minor, int revision);

    static HINSTANCE hInstance();
};

}  // namespace forms
