#pragma once
// The texts of the start-up checks' boxes, as the tests expect them word for word.

#include <string>

namespace coretest {

inline const char kInformation[] =
    "Quillview Update's job is to work in conjunction with the Windows Installer set-up package you downloaded and "
    "make sure Quillview is updated and maintained on your system. You can use Quillview Update to detect missing "
    "files and fix problems, or you can choose 'repair' from the context menu of the set-up package you downloaded. "
    "This support is to ensure you have reliable running of the software and have instant diagnostics, this and the "
    "support website should make sure if you have problems - you'll find answers fast!";

inline std::string Missing(const std::string& file) {
    return "Cannot find a required component or support file. Filename: " + file +
           ". You will need to reinstall Quillview.\r\nThis normally happens when a file in the installation package "
           "has failed to install, please contact support@quillview.example if problems persist.";
}

}  // namespace coretest
