#include "main/core/MainWindowView.h"

#include "main/browser/frmQuillview.h"

namespace Module1 {
namespace {

MainWindowView*& Installed() {
    static MainWindowView* view = nullptr;
    return view;
}

}  // namespace

MainWindowView& MainWindow() {
    if (MainWindowView* view = Installed()) return *view;
    return forms::Default<frmQuillview>();
}

ScopedMainWindowView::ScopedMainWindowView(MainWindowView& view) noexcept : previous_(Installed()) {
    Installed() = &view;
}

ScopedMainWindowView::~ScopedMainWindowView() { Installed() = previous_; }

}  // namespace Module1
