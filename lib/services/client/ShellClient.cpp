#include "lib/services/client/ShellClient.h"

#include "lib/comserver/Bstr.h"
#include "lib/comserver/Variant.h"
#include "lib/services/client/ClientCall.h"

namespace services::client {

using comserver::Bstr;
using comserver::Variant;

namespace {

LONG HandleValue(HWND hwnd) { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(hwnd)); }


}  // namespace

Shell Shell::Create() { return Shell(comserver::CreateInstance<_clsShell>(CLSID_clsShell, IID__clsShell)); }

void Shell::ShowInTaskBar(HWND hwnd, bool state) const {
    Check(object_->ShowInTaskBar(HandleValue(hwnd), comserver::ToVariantBool(state)), object_, IID__clsShell);
}

std::optional<std::string> Shell::Folders(const std::string& title, IDispatch* callingForm) const {
    Bstr text(title);
    IDispatch* form = callingForm;
    Variant result;
    Check(object_->Folders(text.InOut(), &form, result.Put()), object_, IID__clsShell);
    if (result.IsEmpty()) return std::nullopt;
    return result.ToText();
}

std::string Shell::GetWindowsDir() const {
    Bstr result;
    Check(object_->GetWindowsDir(result.Put()), object_, IID__clsShell);
    return result.Text();
}

std::string Shell::GetTmpPath() const {
    Bstr result;
    Check(object_->GetTmpPath(result.Put()), object_, IID__clsShell);
    return result.Text();
}

std::string Shell::GetSystemPath() const {
    Variant result;
    Check(object_->GetSystemPath(result.Put()), object_, IID__clsShell);
    return result.IsEmpty() ? std::string() : result.ToText();
}

std::string Shell::UserName() const {
    Bstr result;
    Check(object_->UserName(result.Put()), object_, IID__clsShell);
    return result.Text();
}

void Shell::CloseApp(const std::string& appName) const {
    Bstr name(appName);
    Variant result;
    Check(object_->CloseApp(name.InOut(), result.Put()), object_, IID__clsShell);
}

void Shell::FormStayOnTop(IDispatch* form, bool onTop) const {
    IDispatch* window = form;
    VARIANT_BOOL top = comserver::ToVariantBool(onTop);
    Check(object_->FormStayOnTop(&window, &top), object_, IID__clsShell);
}

bool Shell::StartMenLnkCreate(const std::string& menuPath, const std::string& name, const std::string& linkPath,
                              const std::string& lineArgs) const {
    Bstr a(menuPath), b(name), c(linkPath), d(lineArgs);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->StartMenLnkCreate(a.InOut(), b.InOut(), c.InOut(), d.InOut(), &result), object_, IID__clsShell);
    return comserver::IsTrue(result);
}

bool Shell::StartMenuLinkChk(const std::string& path, const std::string& shtCtName) const {
    Bstr a(path), b(shtCtName);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->StartMenuLinkChk(a.InOut(), b.InOut(), &result), object_, IID__clsShell);
    return comserver::IsTrue(result);
}

void Shell::StartMenuLnkDel(const std::string& path, const std::string& shtCtName) const {
    Bstr a(path), b(shtCtName);
    Variant result;
    Check(object_->StartMenuLnkDel(a.InOut(), b.InOut(), result.Put()), object_, IID__clsShell);
}

bool Shell::StartMenuCreateFldr(const std::string& path) const {
    Bstr a(path);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->StartMenuCreateFldr(a.InOut(), &result), object_, IID__clsShell);
    return comserver::IsTrue(result);
}

void Shell::StartMenuDelFldr(const std::string& path) const {
    Bstr a(path);
    Check(object_->StartMenuDelFldr(a.InOut()), object_, IID__clsShell);
}

bool Shell::QuickStart() const {
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->QuickStart(&result), object_, IID__clsShell);
    return comserver::IsTrue(result);
}

bool Shell::QuickStartShCutMak(const std::string& path, const std::string& shCutName) const {
    Bstr a(path), b(shCutName);
    VARIANT_BOOL result = VARIANT_FALSE;
    Check(object_->QuickStartShCutMak(a.InOut(), b.InOut(), &result), object_, IID__clsShell);
    return comserver::IsTrue(result);
}

void Shell::CreateDesktopIcon(const std::string& shCutName, const std::string& path) const {
    Bstr a(shCutName), b(path);
    Variant result;
    Check(object_->CreateDesktopIcon(a.InOut(), b.InOut(), result.Put()), object_, IID__clsShell);
}

void Shell::RunFile(const std::string& file, const std::string& filePath, std::int32_t runStyle) const {
    const Bstr a(file);
    Bstr b(filePath);
    RunStyles style = runStyle;
    Check(object_->RunFile(a.Get(), b.InOut(), &style), object_, IID__clsShell);
}

void Shell::BMPonMenu(IDispatch* form, IDispatch* picBoxUnchecked, IDispatch* picBoxChecked, std::int32_t menuPos,
                      std::int32_t menuItem) const {
    IDispatch* a = form;
    IDispatch* b = picBoxUnchecked;
    IDispatch* c = picBoxChecked;
    LONG pos = menuPos;
    LONG item = menuItem;
    Variant result;
    Check(object_->BMPonMenu(&a, &b, &c, &pos, &item, result.Put()), object_, IID__clsShell);
}

void Shell::SetDesktopImage(const std::string& path, const std::string& tile) const {
    const Bstr a(path);
    Bstr b(tile);
    Check(object_->SetDesktopImage(a.Get(), b.InOut()), object_, IID__clsShell);
}

std::int32_t Shell::ShowProperties(const std::string& fileName, HWND owner) const {
    Bstr a(fileName);
    LONG handle = HandleValue(owner);
    LONG result = 0;
    Check(object_->ShowProperties(a.InOut(), &handle, &result), object_, IID__clsShell);
    return result;
}

}  // namespace services::client
