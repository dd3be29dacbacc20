#include "platform/foldertree/FolderTree.h"

#include "platform/foldertree/FolderIcons.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace forms {

struct FolderTree::Child {
    std::unique_ptr<Node> node;
    std::wstring sortKey;
};

namespace {
constexpr int Unknown = -1;
constexpr UINT_PTR FillTimer = 0x51564654;  // the tree view's own timers have small numbers

std::wstring Wide(const std::string& s) { return ToWide(s); }

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Listed(const WIN32_FIND_DATAW& f) {
    if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (f.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) return false;
    return !(f.cFileName[0] == L'.' && (f.cFileName[1] == 0 || (f.cFileName[1] == L'.' && f.cFileName[2] == 0)));
}

// The shell's name of a child in its folder, "" when it has none.
std::string DisplayName(IShellFolder& folder, PCUITEMID_CHILD child, SHGDNF how) {
    STRRET ret{};
    if (FAILED(folder.GetDisplayNameOf(child, how, &ret))) return {};
    wchar_t* text = nullptr;
    if (FAILED(StrRetToStrW(&ret, child, &text)) || !text) return {};
    std::string name = FromWide(text);
    CoTaskMemFree(text);
    return name;
}

// Removable, optical and network drives are looked at only when the user opens them: a probe can wait for
// a medium or a server.
bool ProbedLazily(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    if (path.size() < 3) return false;
    const std::string root = path.substr(0, 3);
    const UINT type = GetDriveTypeA(root.c_str());
    return path.size() == 3 && (type == DRIVE_REMOVABLE || type == DRIVE_REMOTE || type == DRIVE_CDROM);
}

int ShellImage(PCIDLIST_ABSOLUTE pidl, bool open) {
    SHFILEINFOW info{};
    const UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info, flags)) return -1;
    return info.iIcon;
}

// The folders of a path after its drive root ("C:\\a\\b" gives a, b).
std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (size_t start = 3; start < folder.size();) {
        size_t end = folder.find('\\', start);
        if (end == std::string::npos) end = folder.size();
        if (end > start) names.push_back(folder.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// The Desktop's folder, or "" when it has none.
std::string DesktopFolder() {
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path)) ? path : std::string{};
}

// Whether the two names stand in the file list's order: ordinal, without regard to case.
bool OrdinalLess(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

// A folder as the tree keeps it: full, without a trailing "\" except at a drive root.
std::string Normalised(const std::string& path) {
    char full[MAX_PATH * 4] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return {};
    std::string out(full, n);
    while (out.size() > 3 && (out.back() == '\\' || out.back() == '/')) out.pop_back();
    if (out.size() == 2 && out[1] == ':') out += '\\';
    return out;
}
}  // namespace

FolderTree::~FolderTree() {
    // The window goes while this object is whole: its deletion notifications reach the nodes' owner.
    if (hwnd_) DestroyWindow(hwnd_);
}

DWORD FolderTree::WindowStyle() const {
    return WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
}

void FolderTree::WindowGone() {
    WindowedControl::WindowGone();
    nodes_.clear();
    root_ = selected_ = nullptr;
    filled_ = fillDue_ = false;
}

void FolderTree::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    wanted_.reset();
    lastFileSystemPath_.clear();
}

void FolderTree::AfterCreate() {
    // The nodes wait for Fill: the shell's names and icons for the Desktop and the drives cost more than the
    // rest of a window's controls, and nobody sees them before the window is on screen.
    nodes_.clear();
    root_ = selected_ = nullptr;
    filled_ = fillDue_ = false;
    viewProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd_, GCLP_WNDPROC));
}

void FolderTree::Fill() {
    if (filled_ || !hwnd_) return;
    filled_ = true;
    if (fillDue_) KillTimer(hwnd_, FillTimer);
    fillDue_ = false;
    // The items keep the system image list's indexes; the icons are painted after the rows (NM_CUSTOMDRAW).
    SHFILEINFOA info{};
    SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                   SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    folderImage_ = info.iIcon;
    SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                   SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    openFolderImage_ = info.iIcon;
    View(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FolderIcons::Shared().Room()));

    auto desktop = std::make_unique<Node>();
    PIDLIST_ABSOLUTE pidl = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl);
    desktop->pidl.reset(pidl);
    desktop->viaShell = true;
    desktop->path = DesktopFolder();
    desktop->fileSystem = !desktop->path.empty();
    ComPtr<IShellFolder> root;
    SHGetDesktopFolder(&root);
    if (root && pidl) {
        ComPtr<IShellFolder> parent;
        PCUITEMID_CHILD last = nullptr;
        if (SUCCEEDED(SHBindToParent(pidl, IID_PPV_ARGS(&parent), &last)))
            desktop->name = DisplayName(*parent.Get(), last, SHGDN_NORMAL);
    }
    if (desktop->name.empty()) desktop->name = "Desktop";
    root_ = Insert(TVI_ROOT, TVI_LAST, std::move(desktop));

    // The folder set meanwhile was reported already: its branch is built and selected without a word.
    // Should it have gone since, its nearest existing ancestor stands in.
    std::string target = wanted_ ? wanted_->Path : std::string{};
    wanted_.reset();
    ++quiet_;
    HTREEITEM item = nullptr;
    while (!item && !target.empty()) {
        if (IsFolder(target)) item = Locate(target, true);
        const std::string up = FolderOf(target);
        target = !item && up.size() < target.size() ? up : std::string{};
    }
    if (item) ExpandBranch(item);
    else View(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_));
    // Selected here, too, because the tree would select its first node when it first takes the focus,
    // reporting a folder nobody chose.
    selected_ = item ? item : root_;
    View(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_));
    --quiet_;
    if (item) ScrollIntoView(item);
}

// What the folder's node reports once it exists: the drive as the shell spells it, each folder as the disk
// does; nullopt for a folder the tree cannot show.
std::optional<FolderItem> FolderTree::Reported(const std::string& folder) const {
    if (folder.size() < 3 || folder[1] != ':') return std::nullopt;
    FolderItem item{true, UCase(folder.substr(0, 3)), {}};
    for (const std::string& name : Names(folder)) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW(Wide(JoinPath(item.Path, name)).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return std::nullopt;
        FindClose(search);
        item.Name = FromWide(found.cFileName);
        item.Path = JoinPath(item.Path, item.Name);
    }
    if (!item.Name.empty()) return item;
    // A drive: named as its node under My Computer is.
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHParseDisplayName(Wide(item.Path).c_str(), nullptr, &pidl, 0, nullptr))) return std::nullopt;
    const Pidl drive(pidl);
    ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD last = nullptr;
    if (FAILED(SHBindToParent(drive.get(), IID_PPV_ARGS(&parent), &last))) return std::nullopt;
    item.Name = DisplayName(*parent.Get(), last, SHGDN_INFOLDER);
    return item;
}

LRESULT FolderTree::View(UINT msg, WPARAM wParam, LPARAM lParam) const {
    // Straight to the class's own procedure: the runtime's subclass has no use for the tree's own messages,
    // and its chain costs more than most of them (a window property looked up per message).
    return viewProc_ ? CallWindowProcA(viewProc_, hwnd_, msg, wParam, lParam) : SendMessageA(hwnd_, msg, wParam, lParam);
}

void FolderTree::DrawIcons(HDC dc, const RECT& area) const {
    FolderIcons& icons = FolderIcons::Shared();
    const SIZE size = icons.Size();
    RECT client{};
    GetClientRect(hwnd_, &client);
    for (auto item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)); item;
         item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
        RECT label{};
        std::memcpy(&label, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
        if (!View(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)) || label.top >= client.bottom) break;
        if (label.bottom <= area.top || label.top >= area.bottom) continue;
        Node* n = NodeOf(item);
        if (!n) continue;
        const bool selected = View(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_SELECTED) & TVIS_SELECTED;
        // The icon's room is the image list's width just before the label, as the tree view lays it out.
        icons.Draw(dc, ImageOf(*n, selected), label.left - size.cx, label.top + (label.bottom - label.top - size.cy) / 2);
    }
}

// The shell is asked for a node's icon when the node is first drawn: a few milliseconds each. Plain folders
// share one icon.
int FolderTree::ImageOf(Node& node, bool open) const {
    int& image = open ? node.selectedImage : node.image;
    if (image == NotAsked) image = node.pidl ? ShellImage(node.pidl.get(), open) : open ? openFolderImage_ : folderImage_;
    return image;
}

FolderTree::Node* FolderTree::NodeOf(HTREEITEM item) const {
    if (!item || !hwnd_) return nullptr;
    TVITEMA tv{};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    if (!View(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
    return reinterpret_cast<Node*>(tv.lParam);
}

HTREEITEM FolderTree::Insert(HTREEITEM parent, HTREEITEM after, std::unique_ptr<Node> node) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(node->name.c_str());
    ins.item.cChildren = I_CHILDRENCALLBACK;  // asked only when the node is drawn
    ins.item.iImage = I_IMAGECALLBACK;  // asked when drawn, as the "+" is
    ins.item.iSelectedImage = I_IMAGECALLBACK;
    ins.item.lParam = reinterpret_cast<LPARAM>(node.get());
    const auto item = reinterpret_cast<HTREEITEM>(View(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!item) return nullptr;
    node->item = item;
    const Node* key = node.get();
    nodes_.emplace(key, std::move(node));
    return item;
}

std::vector<FolderTree::Child> FolderTree::ListChildren(const Node& node) const {
    std::vector<Child> out;
    if (node.viaShell) {
        ComPtr<IShellFolder> desktop, folder;
        if (FAILED(SHGetDesktopFolder(&desktop))) return out;
        if (!node.pidl || ILIsEmpty(node.pidl.get())) folder = desktop;
        else if (FAILED(desktop->BindToObject(node.pidl.get(), nullptr, IID_PPV_ARGS(&folder)))) return out;
        ComPtr<IEnumIDList> items;
        if (folder->EnumObjects(hwnd_, SHCONTF_FOLDERS, &items) != S_OK || !items) return out;
        PITEMID_CHILD child = nullptr;
        while (items->Next(1, &child, nullptr) == S_OK) {
            Pidl own(child);
            SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_STREAM;
            PCUITEMID_CHILD one = child;
            if (FAILED(folder->GetAttributesOf(1, &one, &attributes))) continue;
            // A folder that is a file (an archive the shell browses) is no folder of the tree.
            if (!(attributes & SFGAO_FOLDER) || (attributes & SFGAO_STREAM)) continue;
            auto n = std::make_unique<Node>();
            n->name = DisplayName(*folder.Get(), child, SHGDN_INFOLDER);
            Pidl absolute(ILCombine(node.pidl.get(), child));
            if (!absolute) continue;
            wchar_t path[MAX_PATH] = {};
            if ((attributes & SFGAO_FILESYSTEM) && SHGetPathFromIDListW(absolute.get(), path)) {
                n->fileSystem = true;
                n->path = FromWide(path);
                n->probeLazily = ProbedLazily(n->path);
            } else {
                n->viaShell = true;
            }
            n->pidl = std::move(absolute);
            out.push_back(Child{std::move(n), {}});
        }
        return out;  // the shell's order
    }
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = Wide(JoinPath(node.path, "*"));
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchLimitToDirectories,
                                           nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return out;
    do {
        if (!Listed(found)) continue;
        auto n = std::make_unique<Node>();
        n->name = FromWide(found.cFileName);
        n->path = JoinPath(node.path, n->name);
        n->fileSystem = true;
        out.push_back(Child{std::move(n), found.cFileName});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(out.begin(), out.end(), [](const Child& a, const Child& b) { return OrdinalLess(a.sortKey, b.sortKey); });
    return out;
}

bool FolderTree::HasSubfolders(Node& node) const {
    if (node.probeLazily || node.viaShell) return true;
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = Wide(JoinPath(node.path, "*"));
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchLimitToDirectories,
                                           nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool any = false;
    do {
        any = Listed(found);
    } while (!any && FindNextFileW(search, &found));
    FindClose(search);
    return any;
}

void FolderTree::ReadChildren(Node& node) {
    if (node.read) return;
    node.read = true;
    std::vector<Child> children = ListChildren(node);
    // Under a closed node the inserts change nothing on screen. Redraw is turned off only for an open one:
    // turning it back on lays out and redraws the scroll bars, which costs more than thousands of inserts.
    const bool open = View(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node.item), TVIS_EXPANDED) & TVIS_EXPANDED;
    const bool many = open && children.size() > 16;
    if (many) SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    nodes_.reserve(nodes_.size() + children.size());
    for (Child& c : children) Insert(node.item, TVI_LAST, std::move(c.node));
    if (many) SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    node.hasChildren = children.empty() ? 0 : 1;
    TVITEMA tv{};
    tv.mask = TVIF_HANDLE | TVIF_CHILDREN;
    tv.hItem = node.item;
    tv.cChildren = node.hasChildren;
    View(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    if (many) InvalidateRect(hwnd_, nullptr, TRUE);
}

HTREEITEM FolderTree::FindChild(HTREEITEM parent, const std::string& path, bool fileSystemOnly) {
    for (auto item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
         item; item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        const Node* n = NodeOf(item);
        if (!n) continue;
        if (n->fileSystem && TextEquals(n->path, path)) return item;
        (void)fileSystemOnly;
    }
    return nullptr;
}

// The node of a folder, reading the branch down to it; a folder the listing leaves out (a hidden one) is
// added in its place when addHidden holds.
HTREEITEM FolderTree::Locate(const std::string& folder, bool addHidden) {
    if (!root_ || folder.size() < 3 || folder[1] != ':') return nullptr;
    Node* rootNode = NodeOf(root_);
    if (!rootNode) return nullptr;
    ReadChildren(*rootNode);
    // The drive: a child of one of the Desktop's shell nodes (My Computer).
    const std::string drive = folder.substr(0, 3);
    HTREEITEM at = nullptr;
    PIDLIST_ABSOLUTE drivesPidl = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drivesPidl);
    Pidl drives(drivesPidl);
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    for (auto item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root_)));
         item && !at; item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        Node* n = NodeOf(item);
        if (!n || !n->viaShell || n->fileSystem || !n->pidl) continue;
        if (drives && desktop && HRESULT_CODE(desktop->CompareIDs(0, n->pidl.get(), drives.get())) != 0) continue;
        ReadChildren(*n);
        at = FindChild(item, drive, true);
    }
    if (!at) return nullptr;
    std::string path = drive;
    for (const std::string& name : Names(folder)) {
        Node* parent = NodeOf(at);
        if (!parent) return nullptr;
        ReadChildren(*parent);
        const std::string next = JoinPath(path, name);
        HTREEITEM child = FindChild(at, next, true);
        if (!child) {
            if (!addHidden || !IsFolder(next)) return nullptr;
            // Listed under its name on disk, among its siblings in their order.
            WIN32_FIND_DATAW found{};
            const HANDLE search = FindFirstFileW(Wide(next).c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) return nullptr;
            FindClose(search);
            auto n = std::make_unique<Node>();
            n->name = FromWide(found.cFileName);
            n->path = JoinPath(path, n->name);
            n->fileSystem = true;
            HTREEITEM after = TVI_FIRST;
            for (auto item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(at)));
                 item; item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
                const Node* sibling = NodeOf(item);
                if (sibling && OrdinalLess(Wide(sibling->name), found.cFileName)) after = item;
            }
            child = Insert(at, after, std::move(n));
            if (!child) return nullptr;
            parent->hasChildren = 1;
        }
        path = NodeOf(child)->path;
        at = child;
    }
    return at;
}

std::string FolderTree::Path() const {
    Touch();
    // Before filling, the selection is the folder set meanwhile, or the Desktop that Fill will select.
    if (!filled_) return wanted_ ? wanted_->Path : DesktopFolder();
    if (!hwnd_) return {};
    const Node* n = NodeOf(reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_CARET, 0)));
    return n && n->fileSystem ? n->path : std::string{};
}

void FolderTree::SetPath(const std::string& path) {
    Touch();
    const std::string folder = Normalised(path);
    if (folder.empty() || !IsFolder(folder)) throw RuntimeError(err::PathNotFound);
    if (!filled_) {
        // Recorded for Fill, and reported now as the node's selection would be.
        std::optional<FolderItem> item = Reported(folder);
        if (!item) throw RuntimeError(err::PathNotFound);
        const bool moved = !wanted_ || !TextEquals(wanted_->Path, item->Path);
        wanted_ = std::move(item);
        if (!moved || quiet_) return;
        lastFileSystemPath_ = wanted_->Path;
        const FolderItem reported = *wanted_;
        if (FolderChange) Guarded([&] { FolderChange(reported); });
        return;
    }
    ++quiet_;
    const HTREEITEM item = Locate(folder, true);
    if (item) ExpandBranch(item);
    --quiet_;
    if (!item) throw RuntimeError(err::PathNotFound);
    View(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ScrollIntoView(item);
    Changed();
}

void FolderTree::ExpandBranch(HTREEITEM item) {
    // Only the closed ones: each expand makes the tree view lay out all its open rows again, which costs
    // milliseconds once a node below holds thousands of children.
    for (HTREEITEM up = item; up; up = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(up)))) {
        if (!(View(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(up), TVIS_EXPANDED) & TVIS_EXPANDED))
            View(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(up));
    }
}

void FolderTree::ScrollIntoView(HTREEITEM item) {
    // A row already in full view is left alone: the tree view would set its scroll bars again all the same.
    RECT label{}, client{};
    std::memcpy(&label, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
    if (View(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)) && GetClientRect(hwnd_, &client) &&
        label.left >= client.left && label.right <= client.right && label.top >= client.top && label.bottom <= client.bottom)
        return;
    View(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

FolderItem FolderTree::ItemOf(const Node& node) const {
    return FolderItem{node.fileSystem, node.fileSystem ? node.path : std::string{}, node.name};
}

void FolderTree::Changed() {
    if (quiet_ || !hwnd_) return;
    const auto item = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == selected_) return;
    selected_ = item;
    const Node* n = NodeOf(item);
    if (!n) return;
    if (n->fileSystem) lastFileSystemPath_ = n->path;
    const FolderItem reported = ItemOf(*n);
    if (FolderChange) Guarded([&] { FolderChange(reported); });
}

void FolderTree::Reread(HTREEITEM item) {
    Node* node = NodeOf(item);
    if (!node || !node->read) return;
    const UINT state = static_cast<UINT>(View(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
    std::vector<HTREEITEM> existing;
    for (auto c = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
         c; c = reinterpret_cast<HTREEITEM>(View(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c))))
        existing.push_back(c);
    if (!(state & TVIS_EXPANDED)) {
        // A closed branch is read again when it next opens.
        for (HTREEITEM c : existing) View(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));
        node->read = false;
        node->hasChildren = Unknown;
        TVITEMA tv{};
        tv.mask = TVIF_HANDLE | TVIF_CHILDREN;
        tv.hItem = item;
        tv.cChildren = I_CHILDRENCALLBACK;
        View(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        return;
    }
    const auto keyOf = [](const Node& n) { return n.fileSystem ? "f" + UCase(n.path) : "s" + n.name; };
    std::vector<Child> fresh = ListChildren(*node);
    std::unordered_map<std::string, HTREEITEM> kept;
    for (HTREEITEM c : existing) {
        if (const Node* n = NodeOf(c)) kept.emplace(keyOf(*n), c);
    }
    std::unordered_map<std::string, bool> wanted;
    for (const Child& c : fresh) wanted.emplace(keyOf(*c.node), true);
    // Folders that went away, then the new ones in their places.
    for (const auto& [key, c] : kept) {
        if (!wanted.count(key)) View(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));
    }
    HTREEITEM previous = TVI_FIRST;
    std::vector<HTREEITEM> survivors;
    for (Child& c : fresh) {
        const auto found = kept.find(keyOf(*c.node));
        if (found != kept.end()) {
            previous = found->second;
            survivors.push_back(previous);
        } else {
            previous = Insert(item, previous, std::move(c.node));
            if (!previous) previous = TVI_LAST;
        }
    }
    node->hasChildren = fresh.empty() ? 0 : 1;
    TVITEMA tv{};
    tv.mask = TVIF_HANDLE | TVIF_CHILDREN;
    tv.hItem = item;
    tv.cChildren = node->hasChildren;
    View(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    for (HTREEITEM c : survivors) Reread(c);
}

void FolderTree::Refresh() {
    Touch();
    Fill();
    if (!hwnd_ || !root_) return;
    ++quiet_;
    Reread(root_);
    // Back to the last file-system folder, or to its nearest ancestor that still exists.
    std::string target = lastFileSystemPath_;
    while (!target.empty() && !IsFolder(target)) {
        const std::string up = FolderOf(target);
        target = up.size() < target.size() ? up : std::string{};
    }
    HTREEITEM item = target.empty() ? nullptr : Locate(Normalised(target), true);
    if (item) ExpandBranch(item);
    --quiet_;
    if (item) {
        View(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        ScrollIntoView(item);
    }
    Changed();
    WindowedControl::Refresh();
}

bool FolderTree::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_TIMER && wParam == FillTimer) {
        Fill();
        result = 0;
        return true;
    }
    if (!filled_) {
        // On screen: filled once the loop is idle (a timer comes after every paint and posted message).
        // Asked for a node, or pressed by the user: filled first.
        if (msg == WM_PAINT && !fillDue_) fillDue_ = SetTimer(hwnd_, FillTimer, USER_TIMER_MINIMUM, nullptr) != 0;
        const bool asks = (msg >= TV_FIRST && msg < TV_FIRST + 0x100) || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
                          msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
                          msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MOUSEWHEEL;
        if (asks) Fill();
    }
    if (msg != WM_RBUTTONUP) return false;
    // The release is reported from NM_RCLICK, which is where the tree view itself reports it.
    result = CallDefault(msg, wParam, lParam);
    return true;
}

bool FolderTree::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return WindowedControl::OnReflect(msg, wParam, lParam, result);
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    switch (hdr->code) {
    case TVN_GETDISPINFOA: case TVN_GETDISPINFOW: {
        // Same layout in both forms for what is answered here.
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(lParam);
        Node* n = reinterpret_cast<Node*>(info->item.lParam);
        if (info->item.mask & TVIF_CHILDREN) {
            if (n && n->hasChildren == Unknown) n->hasChildren = HasSubfolders(*n) ? 1 : 0;
            info->item.cChildren = n ? n->hasChildren : 0;
        }
        if (info->item.mask & TVIF_IMAGE) info->item.iImage = n ? ImageOf(*n, false) : -1;
        if (info->item.mask & TVIF_SELECTEDIMAGE) info->item.iSelectedImage = n ? ImageOf(*n, true) : -1;
        result = 0;
        return true;
    }
    case TVN_ITEMEXPANDINGA: case TVN_ITEMEXPANDINGW: {
        const auto* tv = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        if (tv->action & TVE_EXPAND) {
            if (Node* n = reinterpret_cast<Node*>(tv->itemNew.lParam)) ReadChildren(*n);
        }
        result = FALSE;
        return true;
    }
    case TVN_SELCHANGEDA: case TVN_SELCHANGEDW:
        Changed();
        result = 0;
        return true;
    case TVN_DELETEITEMA: case TVN_DELETEITEMW: {
        const auto* tv = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        const auto* n = reinterpret_cast<const Node*>(tv->itemOld.lParam);
        if (n && n->item == selected_) selected_ = nullptr;
        nodes_.erase(n);
        result = 0;
        return true;
    }
    case NM_CUSTOMDRAW: {
        const auto* draw = reinterpret_cast<const NMTVCUSTOMDRAW*>(lParam);
        if (draw->nmcd.dwDrawStage == CDDS_POSTPAINT) DrawIcons(draw->nmcd.hdc, draw->nmcd.rc);
        result = draw->nmcd.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
        return true;
    }
    case NM_RCLICK: {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        Guarded([&] { RaiseMouse(WM_RBUTTONUP, 0, pt); });
        result = TRUE;  // no context menu of the tree's own
        return true;
    }
    default: return false;
    }
}

}  // namespace forms
