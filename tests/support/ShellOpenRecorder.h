#pragma once
// The shell opener of tests: records every shell open instead of carrying it out, for its lifetime.

#include "platform/runtime/Shell.h"

#include <vector>

namespace qvtest {

class ShellOpenRecorder final : public forms::ShellOpener {
public:
    ShellOpenRecorder() : scope_(*this) {}
    bool Open(const forms::ShellOpenRequest& request) override {
        opened.push_back(request);
        return succeed;
    }

    std::vector<forms::ShellOpenRequest> opened;
    bool succeed = true;

private:
    forms::ScopedShellOpener scope_;
};

}  // namespace qvtest
