#pragma once
// The COM face of clsShell: window objects are read late-bound (hwnd, Left, Top, Width, Height).

#include <windows.h>

#include "Toolcraft.h"
#include "lib/comserver/Dispatch.h"

namespace services {

class clsShellObject final : public comserver::Dispatch<_clsShell> {
public:
    clsShellObject() : Dispatch(IID__clsShell, "Toolcraft.clsShell") {}

    HRESULT STDMETHODCALLTYPE ShowInTaskBar(LONG hwnd, VARIANT_BOOL bState) noexcept override;
    HRESULT STDMETHODCALLTYPE Folders(BSTR* Title, IDispatch** callingform, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetWindowsDir(BSTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTmpPath(BSTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE GetSystemPath(VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE UserName(BSTR* result) noexcept override;
    HRESULT STDMETHODCALLTYPE CloseApp(BSTR* AppName, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE FormStayOnTop(IDispatch** frmForm, VARIANT_BOOL* fOnTop) noexcept override;
    HRESULT STDMETHODCALLTYPE StartMenLnkCreate(BSTR* MenuPath, BSTR* Name, BSTR* LinkPath, BSTR* LineArgs,
                                                VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE StartMenuLinkChk(BSTR* Path, BSTR* ShtCtName, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE StartMenuLnkDel(BSTR* Path, BSTR* ShtCtName, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE StartMenuCreateFldr(BSTR* Path, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE StartMenuDelFldr(BSTR* Path) noexcept override;
    HRESULT STDMETHODCALLTYPE QuickStart(VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE QuickStartShCutMak(BSTR* Path, BSTR* ShCutName, VARIANT_BOOL* result) noexcept override;
    HRESULT STDMETHODCALLTYPE CreateDesktopIcon(BSTR* ShCutName, BSTR* Path, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE RunFile(BSTR file, BSTR* FilePath, RunStyles* RunStyle) noexcept override;
    HRESULT STDMETHODCALLTYPE BMPonMenu(IDispatch** cForm, IDispatch** PicBoxUnchk, IDispatch** PicBoxChkd,
                                        LONG* MenuPos, LONG* MenuItem, VARIANT* result) noexcept override;
    HRESULT STDMETHODCALLTYPE SetDesktopImage(BSTR Path, BSTR* Tile) noexcept override;
    HRESULT STDMETHODCALLTYPE ShowProperties(BSTR* FileName, LONG* OwnerhWnd, LONG* result) noexcept override;
};

}  // namespace services
