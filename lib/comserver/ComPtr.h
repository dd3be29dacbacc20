#pragma once
// Owning pointer to a COM interface: one reference, released when the pointer goes.

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace comserver {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes a reference of its own.
    explicit ComPtr(T* p) noexcept : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Adopts a reference the caller already holds (the result of a creating call).
    static ComPtr Attach(T* p) noexcept {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    T* Detach() noexcept { return std::exchange(p_, nullptr); }

    void Reset() noexcept {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // For out-parameters: releases what is held and hands the slot to the callee.
    T** Put() noexcept {
        Reset();
        return &p_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Another interface of the same object, or empty when it has none.
    template <class U>
    ComPtr<U> As(REFIID iid) const noexcept {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(iid, r.PutVoid());
        return r;
    }

private:
    T* p_ = nullptr;
};

}  // namespace comserver
