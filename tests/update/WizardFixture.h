#pragma once
// What the wizard's in-process tests share: a settings root, program and per-user folders of their own,
// the registered system services library, a test server reached through the per-user proxy setting for the
// built-in hosts, recorded shell opens, scripted boxes and a recorded program end.

#include "tests/platform/inet/TestHttpServer.h"

#include "lib/services/Client.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ShellOpenRecorder.h"
#include "update/Config.h"
#include "update/Module1.h"
#include "update/frmQVupd.h"
#include "update/frmStatus.h"
#include "update/protocol/NumberList.h"
#include "tests/support/Apartment.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace updtest {

inline constexpr const char* kPrimary = "www.orvane.example";

// A version script as a mirror serves it.
inline std::string Encoded(const std::string& text, const char* separator = "  ") {
    return *update::protocol::EncodeNumberList(text, separator);
}

inline std::string OfferScript(const std::string& downloadUrl, const std::string& fileSize,
                               const std::string& version = "<maj>3</maj><min>0</min><rev>6</rev>") {
    return version + "~@796941@~*{ Faster start\r\nand caf\xC3\xA9 {*{{" + downloadUrl +
           "}}%*http://www.orvane.example/news*%:#3.0.6#:+@" + fileSize + "@+";
}

inline std::string Executable(std::size_t size) {
    std::string b(size, '\0');
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<char>((i * 7) & 0xFF);
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = static_cast<char>(0x80);
    b[0x3D] = b[0x3E] = b[0x3F] = 0;
    b.replace(0x80, 4, std::string("PE\0\0", 4));
    return b;
}

// A folder inside the test's own temporary folder.
class SubFolder {
public:
    SubFolder(const qvtest::TempFolder& root, const char* name) : path_(root / name) {
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }
    void Write(std::string_view name, std::string_view bytes) const { qvtest::WriteWholeFile(*this / name, bytes); }
    std::string Read(std::string_view name) const { return qvtest::ReadWholeFile(*this / name); }

private:
    std::string path_;
};

class WizardTest : public ::testing::Test {
protected:
    WizardTest()
        : settings_("Software\\QuillviewTest\\update"),
          paths_(program_.Path(), user_.Path()),
          server_(ORCMCLS_DLL),
          proxy_(http_.Port()) {}

    void SetUp() override {
        ASSERT_TRUE(server_.Registered());
        update::Module1::CreateServices();
        forms::SaveSetting("Quillview", "current_version", "major", "3");
        forms::SaveSetting("Quillview", "current_version", "minor", "0");
        forms::SaveSetting("Quillview", "current_version", "rev", "5");
    }

    void TearDown() override {
        for (forms::Form* f : forms::Form::AllForms()) f->Hide();
        forms::Form::SetMainForm(nullptr);
        if (wizard_) {
            wizard_->Unload();
            forms::ReleaseDefault<frmQVupd>();
        }
        forms::Default<frmStatus>().Unload();
        forms::ReleaseDefault<frmStatus>();
    }

    frmQVupd& Wizard() {
        if (!wizard_) {
            wizard_ = &forms::Default<frmQVupd>();
            wizard_->QVMajVer = "3";
            wizard_->QVMinVer = "0";
            wizard_->QVRevVer = "5";
            wizard_->Show();
        }
        return *wizard_;
    }

    // Runs the version check against the primary mirror.
    void Check() {
        auto& w = Wizard();
        w.optQVUpd.SetValue(true);
        w.cboServers.SetListIndex(0);
        w.Command3_Click();
    }

    bool Pump(const std::function<bool()>& done, DWORD ms = 20000) { return formstest::PumpUntil(done, ms); }

    qvtest::TempFolder root_;
    SubFolder program_{root_, "program"};
    SubFolder user_{root_, "user"};
    SubFolder downloads_{root_, "downloads"};
    forms::SettingsRootOverride settings_;
    forms::UserPathsOverride paths_;
    qvtest::Apartment apartment_;
    testsupport::RegisteredServer server_;
    qvtest::TestHttpServer http_;
    qvtest::ProxySetting proxy_;
    qvtest::ShellOpenRecorder opened_;
    formstest::Script boxes_;
    int ended_ = 0;
    update::Module1::EndHook end_{[this] { ++ended_; }};
    frmQVupd* wizard_ = nullptr;
};

}  // namespace updtest
