#pragma once
// The layout state of the main window's browser tools (folder tree, file list, Fileseek pane), read from the
// settings when the object is made and written back by Release when the main window lets it go.

#include <cstdint>
#include <functional>

class clsIface {
public:
    // Reads the five values; raises no Change.
    clsIface();
    clsIface(const clsIface&) = delete;
    clsIface& operator=(const clsIface&) = delete;

    // 0 shown, 1 hidden.
    std::int32_t BrowserTools() const noexcept { return browserTools_; }
    void SetBrowserTools(std::int32_t value);
    // Panel width; a stored width below 150 loads as 150. Writing it raises no Change.
    std::int32_t BrowserToolsWidth() const noexcept { return width_; }
    void SetBrowserToolsWidth(std::int32_t value) noexcept { width_ = value; }
    // 0 docked at the left, 1 at the right.
    std::int32_t BrowserToolsDockMode() const noexcept { return dockMode_; }
    void SetBrowserToolsDockMode(std::int32_t value);
    // 1 Fileseek pane hidden, anything else shown.
    std::int32_t FileseekToggle() const noexcept { return fileseekToggle_; }
    void SetFileseekToggle(std::int32_t value);
    // 1 folder tree, 0 favourites list.
    std::int32_t BrowserMode() const noexcept { return browserMode_; }
    void SetBrowserMode(std::int32_t value);

    // Raised after every write but the width's, also when the value did not change.
    std::function<void()> Change;

    // Writes the five values back, in the order they were read. The owner calls it when it releases the
    // object at shutdown; destruction alone writes nothing.
    void Release();

private:
    void Changed() const;

    std::int32_t browserMode_ = 1;
    std::int32_t browserTools_ = 0;
    std::int32_t dockMode_ = 1;
    std::int32_t fileseekToggle_ = 0;
    std::int32_t width_ = 150;
};
