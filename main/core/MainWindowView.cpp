#include "main/core/MainWindowView.h"

#include "main/browser/frmQuillview.h"
#include "platform/comctl/StatusBar.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/HScrollBar.h"
#include "platform/forms/controls/VScrollBar.h"
#include "platform/runtime/Conversions.h"
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
forms::ControlArray<forms::Menu>& MainWindowView::FileTypesMenu() { NotProvided(); }
void MainWindowView::SetSupportMoreBrowsers(bool) { NotProvided(); }
forms::PictureBox& MainWindowView::PictureArea() { NotProvided(); }
forms::PictureBox& MainWindowView::PictureHolder() { NotProvided(); }
forms::TextBox& MainWindowView::ExtensionBox() { NotProvided(); }
forms::DirListBox& MainWindowView::FolderList() { NotProvided(); }
forms::FileListBox& MainWindowView::FileList() { NotProvided(); }
forms::VScrollBar& MainWindowView::VerticalScrollBar() { NotProvided(); }
forms::HScrollBar& MainWindowView::HorizontalScrollBar() { NotProvided(); }
forms::DriveListBox& MainWindowView::DriveList() { NotProvided(); }
forms::ListBox& MainWindowView::FileseekResults() { NotProvided(); }
std::string MainWindowView::FolderPath() { return FolderList().Path(); }
std::string MainWindowView::SelectedFileName() { return FileList().FileName(); }
void MainWindowView::RefreshFileList() { FileList().Refresh(); }
void MainWindowView::ClearFileListSelection() { FileList().SetListIndex(-1); }
forms::StatusBar& MainWindowView::StatusPanels() { NotProvided(); }
// At the end, no text or tip, the least width, 64 at least, fixed, shown, a text panel.
void MainWindowView::AddStatusPanel(const std::string& key) {
    StatusPanels().AddPanel(0, "", "", -1, 64, false, true, 0, key);
}
void MainWindowView::SetStatusPanelText(const std::string& key, const std::string& text) {
    StatusPanels().SetPanelText(key, text);
}
std::string MainWindowView::StatusPanelText(const std::string& key) { return StatusPanels().PanelText(key); }
void MainWindowView::SetStatusPanelWidth(const std::string& key, float width) {
    StatusPanels().SetPanelWidth(key, forms::CLng(width));
}
void MainWindowView::SetScrollRange(bool vertical, std::optional<std::int32_t> max) {
    // In the main window's order: the vertical bar's Value before it is enabled, the horizontal bar's after.
    if (vertical) {
        forms::VScrollBar& bar = VerticalScrollBar();
        if (!max) {
            bar.SetEnabled(false);
            return;
        }
        bar.SetMax(*max);
        bar.SetValue(0);
        bar.SetEnabled(true);
    } else {
        forms::HScrollBar& bar = HorizontalScrollBar();
        if (!max) {
            bar.SetEnabled(false);
            return;
        }
        bar.SetMax(*max);
        bar.SetEnabled(true);
        bar.SetValue(0);
    }
}
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
