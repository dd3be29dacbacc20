#pragma once
// The system image list's small icons as the folder tree paints them itself. Drawn through the tree view's
// own image list, each icon costs the tree view several round trips to the window system per row painted
// (under Wine, more than the rest of the row), so the tree is given a list without images, which keeps
// the icon's room in every row, and paints each icon from a copy kept once per process.

#include "platform/runtime/OwnedHandles.h"

#include <commctrl.h>

#include <unordered_map>

namespace forms {

using UniqueImageList = UniqueHandle<HIMAGELIST, &ImageList_Destroy>;

class FolderIcons {
public:
    // The process's one copy; the system image list is asked for on first use.
    static FolderIcons& Shared();
    FolderIcons(const FolderIcons&) = delete;
    FolderIcons& operator=(const FolderIcons&) = delete;

    // A list of the icons' size without images: given to a tree view, it gives the rows their icon room
    // and draws nothing.
    HIMAGELIST Room() const noexcept { return room_.get(); }
    SIZE Size() const noexcept { return size_; }
    // The system image list's icon `index` with its top left at (x, y), blended over what is there; nothing
    // for an index the list does not have.
    void Draw(HDC dc, int index, int x, int y);

private:
    FolderIcons();
    // The icon as premultiplied 32-bit pixels in a drawing surface of its own, or an empty one.
    BitmapDC Copy(int index) const;

    HIMAGELIST system_ = nullptr;  // the shell's, never destroyed
    UniqueImageList room_;
    SIZE size_{16, 16};
    std::unordered_map<int, BitmapDC> copies_;
};

}  // namespace forms
