#pragma once
// The reference count of a heap-allocated COM object that deletes itself on its last Release.

#include <windows.h>

#include <atomic>

namespace comserver {

class RefCount {
public:
    ULONG Add() noexcept { return ++count_; }
    // Deletes the object when the count reaches zero.
    template <class T>
    ULONG Release(T* self) noexcept {
        const ULONG left = --count_;
        if (left == 0) delete self;
        return left;
    }

private:
    std::atomic<ULONG> count_{0};
};

}  // namespace comserver
