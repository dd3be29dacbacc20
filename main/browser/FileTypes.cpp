// The File Types menu: which picture types the file list shows.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "lib/imgEditbuf/Client.h"
#include "platform/runtime/ErrorSteps.h"

namespace {

struct FileType {
    const char* caption;
    const char* patterns;
};

constexpr FileType kTypes[] = {
    {"BMP", "*.bmp;"},   {"Jpeg", "*.jpg;*.jpe;*.jpeg;"}, {"GIF", "*.gif;"}, {"TIFF", "*.tif;*.tiff;"},
    {"PCX", "*.pcx;"},   {"PNG", "*.png;"},               {"WMF", "*.wmf;"}, {"EMF", "*.emf;"},
    {"PICT", "*.pct;"},  {"TGA", "*.tga;"},               {"EPS", "*.eps;"}, {"DIB", "*.dib;"},
    {"RLE", "*.rle;"},   {"Cursors", "*.cur;"},           {"Icons", "*.ico;"},
};
constexpr int kPcx = 4;

}  // namespace

void frmQuillview::mnuFiletypesSort(bool Loadmnus) {
    if (!Loadmnus) return;
    mnuFTs(0).SetCaption(kTypes[0].caption);
    mnuFTs(0).SetTag(kTypes[0].patterns);
    mnuFTs(0).SetChecked(true);
    for (int i = 1; i < static_cast<int>(std::size(kTypes)); ++i) {
        if (!mnuFTs.Exists(i)) mnuFTs.Load(i);
    }
    for (int i = 1; i < static_cast<int>(std::size(kTypes)); ++i) {
        mnuFTs(i).SetCaption(kTypes[i].caption);
        mnuFTs(i).SetChecked(true);
        mnuFTs(i).SetTag(kTypes[i].patterns);
    }
}

std::string frmQuillview::SetPattern() {
    std::string pattern;
    for (int i = mnuFTs.LBound(); i <= mnuFTs.UBound(); ++i) {
        if (mnuFTs.Exists(i) && mnuFTs(i).Checked()) pattern += mnuFTs(i).Tag();
    }
    // None checked: no pattern, and the list shows no file.
    if (!pattern.empty()) pattern.pop_back();
    return pattern;
}

bool frmQuillview::CheckPCXSupportResult() {
    // The picture library's own decoder reads PCX: the type is offered while that library can be created.
    bool available = false;
    forms::IgnoringErrors([&] {
        Module1::NewImgEditCtlBuf();
        available = true;
    });
    if (available) return true;
    forms::IgnoringErrors([&] { mnuFTs(kPcx).SetChecked(false); });
    forms::IgnoringErrors([&] { mnuFTs(kPcx).SetVisible(false); });
    forms::IgnoringErrors([&] { File1.SetPattern(SetPattern()); });
    return false;
}

void frmQuillview::mnuImages_Click() {
    for (int i = mnuFTs.LBound(); i <= mnuFTs.UBound(); ++i) {
        if (mnuFTs.Exists(i) && mnuFTs(i).Visible()) mnuFTs(i).SetChecked(true);
    }
    File1.SetPattern(SetPattern());
}

void frmQuillview::mnuFTs_Click(int Index) {
    mnuFTs(Index).SetChecked(!mnuFTs(Index).Checked());
    File1.SetPattern(SetPattern());
    File1.Refresh();
    // A picture the user kept (saved at the question, or Cancel) keeps its path, so the file commands still
    // act on its file.
    if (ClosePicture()) Module1::gCurrentImagePath.clear();
}
