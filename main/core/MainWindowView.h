#pragma once
// What the core's routines reach of the main window, and nothing more: the main window provides it, and a
// test form provides it instead, so that those routines run without the whole browser.

#include "platform/forms/ControlArray.h"
#include "platform/forms/Menu.h"

namespace Module1 {

class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    // The favourites menu's items: caption = name, tag = folder; element 0 always exists.
    virtual forms::ControlArray<forms::Menu>& FavouritesMenu() = 0;
};

// The view in use: the one a test installed, else the main window's default instance.
MainWindowView& MainWindow();

// Installs a view for its lifetime and puts the previous one back afterwards.
class ScopedMainWindowView {
public:
    explicit ScopedMainWindowView(MainWindowView& view) noexcept;
    ~ScopedMainWindowView();
    ScopedMainWindowView(const ScopedMainWindowView&) = delete;
    ScopedMainWindowView& operator=(const ScopedMainWindowView&) = delete;

private:
    MainWindowView* previous_;
};

}  // namespace Module1
