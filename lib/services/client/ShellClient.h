#pragma once
// clsShell of orcmcls.dll through its dual interface; errors raise forms::RuntimeError.
// Window objects are passed as IDispatch (the member reads hwnd, Left, Top, Width, Height late-bound).

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "Toolcraft.h"
#include "lib/comserver/ComPtr.h"

namespace services::client {

class Shell {
public:
    // Creates the class by its identifier; error 429 when it cannot be created.
    static Shell Create();

    void ShowInTaskBar(HWND hwnd, bool state) const;
    std::optional<std::string> Folders(const std::string& title, IDispatch* callingForm) const;
    std::string GetWindowsDir() const;
    std::string GetTmpPath() const;
    std::string GetSystemPath() const;
    std::string UserName() const;
    void CloseApp(const std::string& appName) const;
    void FormStayOnTop(IDispatch* form, bool onTop) const;
    bool StartMenLnkCreate(const std::string& menuPath, const std::string& name, const std::string& linkPath,
                           const std::string& lineArgs) const;
    bool StartMenuLinkChk(const std::string& path, const std::string& shtCtName) const;
    void StartMenuLnkDel(const std::string& path, const std::string& shtCtName) const;
    bool StartMenuCreateFldr(const std::string& path) const;
    void StartMenuDelFldr(const std::string& path) const;
    bool QuickStart() const;
    bool QuickStartShCutMak(const std::string& path, const std::string& shCutName) const;
    void CreateDesktopIcon(const std::string& shCutName, const std::string& path) const;
    void RunFile(const std::string& file, const std::string& filePath, std::int32_t runStyle) const;
    void BMPonMenu(IDispatch* form, IDispatch* picBoxUnchecked, IDispatch* picBoxChecked, std::int32_t menuPos,
                   std::int32_t menuItem) const;
    void SetDesktopImage(const std::string& path, const std::string& tile) const;
    std::int32_t ShowProperties(const std::string& fileName, HWND owner) const;

private:
    explicit Shell(comserver::ComPtr<_clsShell> object) : object_(std::move(object)) {}
    comserver::ComPtr<_clsShell> object_;
};

}  // namespace services::client
