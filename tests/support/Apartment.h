#pragma once
// The calling thread in a single-threaded apartment for the object's lifetime, left only when it was entered.
// Ole adds what pictures, the clipboard and drag and drop need on a window thread.

namespace qvtest {

class Apartment {
public:
    enum class Kind { Com, Ole };
    explicit Apartment(Kind kind = Kind::Com) noexcept;
    ~Apartment();
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

    bool Entered() const noexcept { return entered_; }

private:
    Kind kind_;
    bool entered_;
};

// The whole test run in one apartment on the main thread: call once, from a namespace-scope initialiser.
bool ApartmentForTheWholeRun(Apartment::Kind kind = Apartment::Kind::Com);

}  // namespace qvtest
