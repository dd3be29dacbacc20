#include "main/core/MainWindowView.h"

#include "main/browser/frmQuillview.h"
#include "platform/runtime/RuntimeError.h"

namespace Module1 {
namespace {

MainWindowView*& Installed() {
    static MainWindowView* view = nullptr;
    return view;
}

}  // namespace

namespace {

[[noreturn]] void NotProvided() { throw forms::RuntimeError(forms::err::ObjectLacksMember); }

}  // namespace

forms::Form& MainWindowView::LoaderWindow() { NotProvided(); }
forms::PictureBox& MainWindowView::PictureArea() { NotProvided(); }
forms::PictureBox& MainWindowView::PictureHolder() { NotProvided(); }
forms::TextBox& MainWindowView::ExtensionBox() { NotProvided(); }
std::string MainWindowView::FolderPath() { NotProvided(); }
std::string MainWindowView::SelectedFileName() { NotProvided(); }
void MainWindowView::RefreshFileList() { NotProvided(); }
void MainWindowView::ClearFileListSelection() { NotProvided(); }
void MainWindowView::AddStatusPanel(const std::string&) { NotProvided(); }
void MainWindowView::SetStatusPanelText(const std::string&, const std::string&) { NotProvided(); }
std::string MainWindowView::StatusPanelText(const std::string&) { NotProvided(); }
void MainWindowView::SetStatusPanelWidth(const std::string&, float) { NotProvided(); }
void MainWindowView::SetScrollRange(bool, std::optional<std::int32_t>) { NotProvided(); }
void MainWindowView::EnablePictureMenus() { NotProvided(); }
void MainWindowView::PictureShown() { NotProvided(); }
bool MainWindowView::LogoShown() { NotProvided(); }
void MainWindowView::SetLogoShown(bool) { NotProvided(); }
std::int32_t MainWindowView::DisplayMode() { NotProvided(); }
bool MainWindowView::Tiled() { NotProvided(); }
void MainWindowView::DoColour() { NotProvided(); }
void MainWindowView::DisplayImage() { NotProvided(); }
void MainWindowView::ShowLogo() { NotProvided(); }
void MainWindowView::ImageSaved() { NotProvided(); }
void MainWindowView::ImageStatic() { NotProvided(); }
void MainWindowView::CheckPCXSupport() { NotProvided(); }

MainWindowView& MainWindow() {
    if (MainWindowView* view = Installed()) return *view;
    return forms::Default<frmQuillview>();
}

ScopedMainWindowView::ScopedMainWindowView(MainWindowView& view) noexcept : previous_(Installed()) {
    Installed() = &view;
}

ScopedMainWindowView::~ScopedMainWindowView() { Installed() = previous_; }

}  // namespace Module1
