// The browser-tools panel's commands and caption bar, and the bindings of this group's controls: the splitter
// (Splitter.cpp), the scroll bars (Scrolling.cpp) and the picture area's mouse (MouseModes.cpp).
#include "main/browser/DisplayGeometry.h"
#include "main/browser/frmQuillview.h"
#include "main/core/clsIface.h"
#include "platform/runtime/OleColor.h"

namespace {

constexpr forms::OleColor kHighlighted = forms::color::ActiveCaption;
constexpr forms::OleColor kNormal = forms::color::InactiveCaption;

}  // namespace

void frmQuillview::BindWindowEvents() {
    mnuBrowseTools.Click = [this] { mnuBrowseTools_Click(); };
    mnuFileseekToggle.Click = [this] { mnuFileseekToggle_Click(); };
    mnuBTDock.Click = [this] { mnuBTDock_Click(); };

    SoftBttn1.Click = [this] { SoftBttn1_Click(); };
    stbBTRefresh.Click = [this] { stbBTRefresh_Click(); };
    sbtToggleDock.Click = [this] { sbtToggleDock_Click(); };
    sbtCloseFileseek.Click = [this] { sbtCloseFileseek_Click(); };
    // The buttons' two notifications light the caption bar they sit on.
    for (forms::SoftButton* button : {&SoftBttn1, &stbBTRefresh, &sbtToggleDock}) {
        button->GotFocus = [this] { lblBTfiles.SetBackColor(kHighlighted); };
        button->LostFocus = [this] { lblBTfiles.SetBackColor(kNormal); };
    }
    sbtCloseFileseek.GotFocus = [this] { lblBTFiles2.SetBackColor(kHighlighted); };
    sbtCloseFileseek.LostFocus = [this] { lblBTFiles2.SetBackColor(kNormal); };

    imgBrowserTools.OnEach([this](forms::Image& image) {
        image.Click = [this, i = image.Index()] { imgBrowserTools_Click(i); };
    });
    lblBTCap.Click = [this] { lblBTCap_Click(); };
    lblBTfiles.Click = [this] { lblBTfiles_Click(); };
    Label3.Click = [this] { Label3_Click(); };
    lblBTFiles2.Click = [this] { lblBTFiles2_Click(); };
    Text1.Change = [this] { Text1_Change(); };

    imgSplitter.MouseDown = [this](int b, int s, float x, float y) { imgSplitter_MouseDown(b, s, x, y); };
    imgSplitter.MouseMove = [this](int b, int s, float x, float y) { imgSplitter_MouseMove(b, s, x, y); };
    imgSplitter.MouseUp = [this](int b, int s, float x, float y) { imgSplitter_MouseUp(b, s, x, y); };

    HScroll1.Change = [this] { HScroll1_Change(); };
    HScroll1.Scroll = [this] { HScroll1_Scroll(); };
    VScroll1.Change = [this] { VScroll1_Change(); };
    VScroll1.Scroll = [this] { VScroll1_Scroll(); };
    HScroll1.GotFocus = [this] { HScroll1_GotFocus(); };
    VScroll1.GotFocus = [this] { VScroll1_GotFocus(); };

    Image1.MouseDown = [this](int b, int s, float x, float y) { Image1_MouseDown(b, s, x, y); };
    Image1.MouseMove = [this](int b, int s, float x, float y) { Image1_MouseMove(b, s, x, y); };
    Image1.MouseUp = [this](int b, int s, float x, float y) { Image1_MouseUp(b, s, x, y); };
    Image1.DblClick = [this] { Image1_DblClick(); };
    aniImg.MouseUp = [this](int b, int s, float x, float y) { aniImg_MouseUp(b, s, x, y); };
}

void frmQuillview::mnuBrowseTools_Click() { mInterface->SetBrowserTools(mInterface->BrowserTools() == 1 ? 0 : 1); }

void frmQuillview::mnuBTDock_Click() {
    mInterface->SetBrowserToolsDockMode(mInterface->BrowserToolsDockMode() == 0 ? 1 : 0);
}

void frmQuillview::mnuFileseekToggle_Click() {
    mInterface->SetFileseekToggle(mInterface->FileseekToggle() == 1 ? 0 : 1);
}

void frmQuillview::SoftBttn1_Click() { mInterface->SetBrowserTools(1); }

void frmQuillview::stbBTRefresh_Click() { Toolbar_Click(3); }

void frmQuillview::sbtToggleDock_Click() {
    // The width the panel has now is what the other side gets.
    mInterface->SetBrowserToolsWidth(browser::ToDesignPx(FraFiles.Width()));
    mInterface->SetBrowserToolsDockMode(mInterface->BrowserToolsDockMode() == 0 ? 1 : 0);
    File1.SetFocus();
}

void frmQuillview::sbtCloseFileseek_Click() { mInterface->SetFileseekToggle(1); }

void frmQuillview::imgBrowserTools_Click(int Index) {
    if (Index == 2) {
        txtSearch.SetFocus();
    } else {
        ftvDirs.SetFocus();
    }
}

void frmQuillview::lblBTCap_Click() { ftvDirs.SetFocus(); }
void frmQuillview::lblBTfiles_Click() { ftvDirs.SetFocus(); }
void frmQuillview::Label3_Click() { txtSearch.SetFocus(); }
void frmQuillview::lblBTFiles2_Click() { txtSearch.SetFocus(); }

// Icons cannot be put on the clipboard as pictures of their own. The loader writes the extension in lower
// case, so only those two spellings are meant.
void frmQuillview::Text1_Change() {
    const std::string extension = Text1.Text();
    mnuCopy.SetEnabled(extension != "ico" && extension != "ICO");
}
