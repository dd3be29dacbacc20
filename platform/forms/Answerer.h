#pragma once
// Who answers the program's message boxes and input boxes. Production shows real windows; a test installs
// a ScriptedAnswerer. MsgBox and InputBox go through the installed answerer and nothing else.

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

// The answerer in use (the system's unless one was installed).
Answerer& CurrentAnswerer();

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
