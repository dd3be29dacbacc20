#pragma once
// Automation strings at the component boundary. The suite's text is std::string in the ANSI code page
// (UTF-8 under the programs' manifest); this is the one place that converts it to and from BSTR.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace comserver {

// The text of a BSTR (a null BSTR is empty text). Embedded NULs are kept.
std::string ToString(BSTR text);
// A new BSTR holding the text; the caller owns it. Raises the out-of-memory error when allocation fails.
BSTR AllocBstr(std::string_view text);

// Owns one BSTR.
class Bstr {
public:
    Bstr() noexcept = default;
    explicit Bstr(std::string_view text) : b_(AllocBstr(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) {
            Reset();
            b_ = std::exchange(other.b_, nullptr);
        }
        return *this;
    }
    ~Bstr() { Reset(); }

    static Bstr Attach(BSTR b) noexcept {
        Bstr r;
        r.b_ = b;
        return r;
    }
    BSTR Detach() noexcept { return std::exchange(b_, nullptr); }
    void Reset() noexcept {
        if (BSTR b = std::exchange(b_, nullptr)) SysFreeString(b);
    }
    // For out-parameters: frees what is held and hands the slot to the callee.
    BSTR* Put() noexcept {
        Reset();
        return &b_;
    }
    // For in/out parameters: the slot with the string it holds; the callee may replace it.
    BSTR* InOut() noexcept { return &b_; }
    BSTR Get() const noexcept { return b_; }
    std::string Text() const { return ToString(b_); }

private:
    BSTR b_ = nullptr;
};

// Replaces the string behind a by-reference BSTR argument.
void AssignBstr(BSTR* target, std::string_view text);

}  // namespace comserver
