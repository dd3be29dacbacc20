// The folder tree's expansion of a 2,000-subfolder node against the floor of any tree view over folders:
// the plain FindFirstFileA/FindNextFileA loop, the sorted names inserted under one SysTreeView32 node with
// redraw off, and one expand. Both are timed until painted.

#include "bench/Bench.h"
#include "platform/foldertree/FolderTree.h"
#include "platform/forms/Form.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/OwnedHandles.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class frmTreeBench : public forms::Form {
public:
    frmTreeBench()
        : Form({.Caption = "Folder tree", .Width = 6000, .Height = 6000, .Scale = forms::ScaleMode::Pixels}) {}
    forms::FolderTree Tree{*this, "Tree", {0, 0, 380, 360}};
};

// The floor: list, sort, insert with redraw off, expand, paint.
double Floor(const std::string& folder, HWND parent, size_t& count) {
    const HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS |
                                      TVS_HASLINES | TVS_LINESATROOT, 0, 0, 380, 360, parent, nullptr, nullptr, nullptr);
    TVINSERTSTRUCTA ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    ins.item.pszText = const_cast<char*>("folders");
    ins.item.cChildren = 1;
    const auto node = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    UpdateWindow(tree);

    const double start = bench::Seconds();
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    forms::UniqueFind search(forms::NullIfInvalid(FindFirstFileA((folder + "\\*").c_str(), &found)));
    if (search) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                names.emplace_back(found.cFileName);
        } while (FindNextFileA(search.get(), &found));
    }
    std::sort(names.begin(), names.end());
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    for (const std::string& name : names) {
        ins.hParent = node;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(name.c_str());
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
    }
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const double took = bench::Seconds() - start;
    count = names.size();
    DestroyWindow(tree);
    return took;
}

}  // namespace

void BenchFolderTree(const std::string& root) {
    const std::string folder = root + "\\folders";
    std::printf("Folder tree over %s (made by bench/make-list-files.sh)\n", folder.c_str());
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("  no such folder\n");
        return;
    }
    double floorBest = 1e30, oursBest = 1e30;
    size_t count = 0;
    int shown = 0;
    // Taken in turns, so that a busy machine weighs on both alike; the best of each. Each of ours is a
    // fresh tree with the branch down to the folder's parent read already, so the big node is read anew.
    for (int i = 0; i < 7; ++i) {
        auto form = forms::New<frmTreeBench>();
        form->Show();
        form->Tree.SetPath(root);
        // The big node on screen and painted, as it is when the user opens it, so that the "+" of it and
        // of its siblings (one of them holds 20,000 files) is asked before the clock starts.
        const HWND view = form->Tree.hWnd();
        const auto parent = reinterpret_cast<HTREEITEM>(SendMessageA(view, TVM_GETNEXTITEM, TVGN_CARET, 0));
        HTREEITEM last = nullptr;
        for (auto c = reinterpret_cast<HTREEITEM>(SendMessageA(view, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
             c; c = reinterpret_cast<HTREEITEM>(SendMessageA(view, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c))))
            last = c;
        if (last) SendMessageA(view, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(last));
        UpdateWindow(view);
        forms::DoEvents();
        floorBest = std::min(floorBest, Floor(folder, form->hWnd(), count));
        forms::DoEvents();
        const double start = bench::Seconds();
        form->Tree.SetPath(folder);
        RedrawWindow(form->Tree.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        oursBest = std::min(oursBest, bench::Seconds() - start);
        const HWND tree = form->Tree.hWnd();
        const auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        shown = 0;
        for (auto c = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(selected)));
             c; c = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(c))))
            ++shown;
        form->Unload();
    }
    std::printf("  %-44s %9.1f ms   (%zu folders)\n", "loop, sorted insert, expand, paint", floorBest * 1e3, count);
    std::printf("  %-44s %9.1f ms   x%.2f of the floor (target at most x1.50; %d shown)\n",
                "Tree.Path to the folder until painted", oursBest * 1e3, oursBest / floorBest, shown);
}
