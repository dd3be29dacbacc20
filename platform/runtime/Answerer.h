#pragma once
// Who answers the program's message boxes and input boxes: a test installs a ScriptedAnswerer, and while
// one is installed MsgBox (MsgBox.h) and InputBox (platform/forms/InputBox.h) go to it and nothing else;
// without one they show the system's message box and the input dialog. The component libraries link the
// runtime alone, so their boxes are answered the same way.

#include <memory>
#include <string>

namespace forms {

class Answerer {
public:
    virtual ~Answerer() = default;
    // title is already resolved (the program's title when the caller gave none).
    virtual int MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
    // Returns the text, or "" on Cancel.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
};

// The installed answerer, or nullptr when the system's boxes answer.
Answerer* InstalledAnswerer() noexcept;

// Installs an answerer for its lifetime and puts the previous one back afterwards.
class ScopedAnswerer {
public:
    explicit ScopedAnswerer(Answerer& answerer) noexcept;
    ~ScopedAnswerer();
    ScopedAnswerer(const ScopedAnswerer&) = delete;
    ScopedAnswerer& operator=(const ScopedAnswerer&) = delete;

private:
    Answerer* previous_;
};

}  // namespace forms
