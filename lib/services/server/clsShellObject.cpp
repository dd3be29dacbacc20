#include "lib/services/server/clsShellObject.h"

#include "lib/comserver/Arguments.h"
#include "lib/comserver/LateBound.h"
#include "lib/services/clsShell.h"

namespace services {

using namespace comserver;

namespace {

HWND HandleOf(LONG value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

LateBound ObjectOf(IDispatch** p) { return LateBound(ComPtr<IDispatch>(Ref(p))); }

HWND WindowOf(const LateBound& window) { return HandleOf(window.Get("hwnd").ToLong()); }

// A picture box's picture handle (its Picture object's Handle).
HBITMAP PictureHandleOf(const LateBound& pictureBox) {
    const LateBound picture(pictureBox.Get("Picture").ToObject());
    return reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(picture.Get("Handle").ToLong()));
}

}  // namespace

HRESULT clsShellObject::ShowInTaskBar(LONG hwnd, VARIANT_BOOL bState) noexcept {
    return Guard([&] { clsShell::ShowInTaskBar(HandleOf(hwnd), IsTrue(bState)); });
}

HRESULT clsShellObject::Folders(BSTR* Title, IDispatch** callingform, VARIANT* result) noexcept {
    return Guard([&] {
        const HWND owner = WindowOf(ObjectOf(callingform));
        const auto folder = clsShell::Folders(TextOf(Title), owner);
        if (folder) Return(result, Variant(*folder));
        else ReturnEmpty(result);
    });
}

HRESULT clsShellObject::GetWindowsDir(BSTR* result) noexcept {
    return Guard([&] { ReturnText(result, clsShell::GetWindowsDir()); });
}

HRESULT clsShellObject::GetTmpPath(BSTR* result) noexcept {
    return Guard([&] { ReturnText(result, clsShell::GetTmpPath()); });
}

HRESULT clsShellObject::GetSystemPath(VARIANT* result) noexcept {
    return Guard([&] { Return(result, Variant(clsShell::GetSystemPath())); });
}

HRESULT clsShellObject::UserName(BSTR* result) noexcept {
    return Guard([&] { ReturnText(result, clsShell::UserName()); });
}

HRESULT clsShellObject::CloseApp(BSTR* AppName, VARIANT* result) noexcept {
    return Guard([&] {
        clsShell::CloseApp(TextOf(AppName));
        ReturnEmpty(result);
    });
}

HRESULT clsShellObject::FormStayOnTop(IDispatch** frmForm, VARIANT_BOOL* fOnTop) noexcept {
    return Guard([&] {
        const LateBound form = ObjectOf(frmForm);
        clsShell::WindowPlacement w;
        w.hwnd = WindowOf(form);
        w.left = form.Get("Left").ToDouble();
        w.top = form.Get("Top").ToDouble();
        w.width = form.Get("Width").ToDouble();
        w.height = form.Get("Height").ToDouble();
        clsShell::FormStayOnTop(w, BoolOf(fOnTop));
    });
}

HRESULT clsShellObject::StartMenLnkCreate(BSTR* MenuPath, BSTR* Name, BSTR* LinkPath, BSTR* LineArgs,
                                          VARIANT_BOOL* result) noexcept {
    return Guard([&] {
        ReturnBool(result, clsShell::StartMenLnkCreate(TextOf(MenuPath), TextOf(Name), TextOf(LinkPath),
                                                       TextOf(LineArgs)));
    });
}

HRESULT clsShellObject::StartMenuLinkChk(BSTR* Path, BSTR* ShtCtName, VARIANT_BOOL* result) noexcept {
    return Guard([&] { ReturnBool(result, clsShell::StartMenuLinkChk(TextOf(Path), TextOf(ShtCtName))); });
}

HRESULT clsShellObject::StartMenuLnkDel(BSTR* Path, BSTR* ShtCtName, VARIANT* result) noexcept {
    return Guard([&] {
        clsShell::StartMenuLnkDel(TextOf(Path), TextOf(ShtCtName));
        ReturnEmpty(result);
    });
}

HRESULT clsShellObject::StartMenuCreateFldr(BSTR* Path, VARIANT_BOOL* result) noexcept {
    return Guard([&] { ReturnBool(result, clsShell::StartMenuCreateFldr(TextOf(Path))); });
}

HRESULT clsShellObject::StartMenuDelFldr(BSTR* Path) noexcept {
    return Guard([&] { clsShell::StartMenuDelFldr(TextOf(Path)); });
}

HRESULT clsShellObject::QuickStart(VARIANT_BOOL* result) noexcept {
    return Guard([&] { ReturnBool(result, clsShell::QuickStart()); });
}

HRESULT clsShellObject::QuickStartShCutMak(BSTR* Path, BSTR* ShCutName, VARIANT_BOOL* result) noexcept {
    return Guard([&] { ReturnBool(result, clsShell::QuickStartShCutMak(TextOf(Path), TextOf(ShCutName))); });
}

HRESULT clsShellObject::CreateDesktopIcon(BSTR* ShCutName, BSTR* Path, VARIANT* result) noexcept {
    return Guard([&] {
        clsShell::CreateDesktopIcon(TextOf(ShCutName), TextOf(Path));
        ReturnEmpty(result);
    });
}

HRESULT clsShellObject::RunFile(BSTR file, BSTR* FilePath, RunStyles* RunStyle) noexcept {
    return Guard([&] { clsShell::RunFile(ToString(file), TextOf(FilePath), Ref(RunStyle)); });
}

HRESULT clsShellObject::BMPonMenu(IDispatch** cForm, IDispatch** PicBoxUnchk, IDispatch** PicBoxChkd, LONG* MenuPos,
                                  LONG* MenuItem, VARIANT* result) noexcept {
    return Guard([&] {
        clsShell::BMPonMenu(WindowOf(ObjectOf(cForm)), PictureHandleOf(ObjectOf(PicBoxUnchk)),
                            PictureHandleOf(ObjectOf(PicBoxChkd)), Ref(MenuPos), Ref(MenuItem));
        ReturnEmpty(result);
    });
}

HRESULT clsShellObject::SetDesktopImage(BSTR Path, BSTR* Tile) noexcept {
    return Guard([&] { clsShell::SetDesktopImage(ToString(Path), TextOf(Tile)); });
}

HRESULT clsShellObject::ShowProperties(BSTR* FileName, LONG* OwnerhWnd, LONG* result) noexcept {
    return Guard([&] { Ref(result) = clsShell::ShowProperties(TextOf(FileName), HandleOf(Ref(OwnerhWnd))); });
}

}  // namespace services
