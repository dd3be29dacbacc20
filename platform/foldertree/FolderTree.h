#pragma once
// A folder tree (SysTreeView32) over the shell namespace: the Desktop at the root, with the branch down to
// the selected folder expanded. The nodes are made once the tree is on screen and the message loop is idle,
// or at once when something asks the window for them or the user presses a key or button in it; a folder
// set before then is recorded and reported as selected. A node's children are read when it first expands;
// whether it has any (the "+") and its icon are asked only for nodes being drawn, and removable and network
// drives are not touched until the user opens them. File-system folders sort as the file list does; the shell's own nodes (My Computer, the
// recycle bin) keep the shell's order and report IsFileSystem False.
//
// Member numbers: 0x68030003 Path, 0x6003002D Refresh; events: 14 FolderChange, 22 MouseUp (pixels within
// the tree), 0 GotFocus, 1 LostFocus.

#include "platform/forms/DesignedControl.h"

#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace forms {

// Qualify it as forms::FolderItem where the shell headers are in scope: they declare a FolderItem too.
struct FolderItem {
    bool IsFileSystem = false;
    std::string Path;  // "" for a node outside the file system
    std::string Name;
};

struct FolderTreeDesign {
    FontSpec Font;
};

class FolderTree : public DesignedControl<WindowedControl, FolderTreeDesign> {
public:
    using DesignedControl::DesignedControl;
    ~FolderTree() override;

    // The selected folder; "" while a node outside the file system is selected.
    std::string Path() const;
    // An existing folder in any letter case, with or without a trailing "\", hidden ones too: selected,
    // expanded and scrolled into view; FolderChange runs when the selection moves. A missing folder raises
    // 76 and the selection stays.
    void SetPath(const std::string& path);
    // Reads the opened branches again (a folder that went away gives way to its nearest existing
    // ancestor), then selects the last file-system folder selected.
    void Refresh() override;

    std::function<void(const FolderItem& item)> FolderChange;

    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void WindowGone() override;
    void ResetFromDesign() override;
    ScaleMode EventScale() const override { return ScaleMode::Pixels; }

protected:
    const char* WindowClass() const override { return WC_TREEVIEWA; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override { return WS_EX_CLIENTEDGE; }
    const FontSpec* Font() const override { return &state_.Font; }
    void AfterCreate() override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct PidlDeleter { void operator()(ITEMIDLIST* p) const noexcept { CoTaskMemFree(p); } };
    using Pidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;
    static constexpr int NotAsked = -2;  // an image index the shell has not been asked for
    struct Node {
        HTREEITEM item = nullptr;
        std::string name;
        std::string path;   // file-system nodes: the folder
        Pidl pidl;          // the shell's nodes and the drives: where they are in the namespace (absolute)
        bool fileSystem = false;
        bool viaShell = false;  // children come from the shell rather than the folder's directory
        bool probeLazily = false;  // removable or network: "+" shown without looking
        bool read = false;
        int hasChildren = -1;  // -1 not yet asked
        int image = NotAsked;
        int selectedImage = NotAsked;
    };
    struct Child;  // a child found while reading a node

    LRESULT View(UINT msg, WPARAM wParam, LPARAM lParam) const;
    void Fill();
    std::optional<FolderItem> Reported(const std::string& folder) const;
    void DrawIcons(HDC dc, const RECT& area) const;
    int ImageOf(Node& node, bool open) const;
    Node* NodeOf(HTREEITEM item) const;
    HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, std::unique_ptr<Node> node);
    void ReadChildren(Node& node);
    std::vector<Child> ListChildren(const Node& node) const;
    bool HasSubfolders(Node& node) const;
    HTREEITEM FindChild(HTREEITEM parent, const std::string& path, bool fileSystemOnly);
    HTREEITEM Locate(const std::string& folder, bool addHidden);
    void Reread(HTREEITEM item);
    void ExpandBranch(HTREEITEM item);
    void ScrollIntoView(HTREEITEM item);
    void Changed();
    FolderItem ItemOf(const Node& node) const;

    std::unordered_map<const Node*, std::unique_ptr<Node>> nodes_;
    HTREEITEM root_ = nullptr;
    HTREEITEM selected_ = nullptr;  // as last reported
    std::string lastFileSystemPath_;
    WNDPROC viewProc_ = nullptr;  // the tree view class's own procedure
    int quiet_ = 0;
    bool filled_ = false;
    bool fillDue_ = false;  // the idle fill's timer runs
    std::optional<FolderItem> wanted_;  // set before filling: the folder the selection reports
    int folderImage_ = -1;
    int openFolderImage_ = -1;
};

}  // namespace forms
