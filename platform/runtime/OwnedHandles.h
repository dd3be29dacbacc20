#pragma once
// Further handle kinds for UniqueHandle: registry keys, kernel objects, searches, icons and metafiles.

#include <windows.h>

#include "platform/runtime/Handles.h"

namespace forms {

struct KeyDeleter { void operator()(HKEY h) const noexcept { RegCloseKey(h); } };
struct KernelHandleDeleter { void operator()(HANDLE h) const noexcept { CloseHandle(h); } };
struct FindDeleter { void operator()(HANDLE h) const noexcept { FindClose(h); } };
struct IconDeleter { void operator()(HICON h) const noexcept { DestroyIcon(h); } };
struct MetaFileDeleter { void operator()(HMETAFILE h) const noexcept { DeleteMetaFile(h); } };
struct EnhMetaFileDeleter { void operator()(HENHMETAFILE h) const noexcept { DeleteEnhMetaFile(h); } };

using UniqueKey = UniqueHandle<HKEY, KeyDeleter>;
// Files, processes, threads. CreateFile and FindFirstFile fail with INVALID_HANDLE_VALUE: wrap their results
// through NullIfInvalid, so that "no handle" is null for every kind.
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueFind = UniqueHandle<HANDLE, FindDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueMetaFile = UniqueHandle<HMETAFILE, MetaFileDeleter>;
using UniqueEnhMetaFile = UniqueHandle<HENHMETAFILE, EnhMetaFileDeleter>;

inline HANDLE NullIfInvalid(HANDLE handle) noexcept { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

}  // namespace forms
