#include "main/core/Module1.h"

#include "main/windows/frmSettingUp.h"
#include "platform/runtime/Dates.h"
#include "tests/main/core/CoreFixture.h"
#include "tests/main/core/Recorder.h"
#include "tests/main/core/StartupMessages.h"
#include "tests/support/ShellOpenRecorder.h"

namespace coretest {
namespace {

using forms::answer::No;
using forms::answer::Ok;
using forms::answer::Yes;

class StartUp : public CoreTest {
protected:
    StartUp() { CreateDirectoryA(SystemDir().c_str(), nullptr); }
    ~StartUp() override {
        forms::Default<frmSettingUp>().Unload();
    }
    std::string SystemDir() const { return temp_ / "System"; }
    std::string Program(const std::string& name) const { return ProgramDir() + "\\" + name; }
    static std::string Version(const char* key) { return forms::GetSetting("Quillview", "current_version", key); }

    const Module1::SystemFolderOverride system_{SystemDir()};
    Recorder recorder_{temp_ / "recorded.txt"};
};

TEST_F(StartUp, AFirstRunRecordsTheVersionAndReportsEachMissingFileInOrder) {
    temp_.Write("Program\\rvimgctl.dll", "x");
    ASSERT_TRUE(Recorder::PlaceAs(SystemDir() + "\\regsvr32.exe"));
    {
        formstest::Script script;
        script->ExpectMsgBox(kInformation, forms::mb::Information | forms::mb::SystemModal, "Information", Ok);
        script->ExpectMsgBox(Missing("orcmcls.dll"), forms::mb::Critical, "Quillview", Ok);
        script->ExpectMsgBox(Missing("qvupdate.exe"), forms::mb::Critical, "Quillview", Ok);
        Module1::CheckComponents();
    }
    EXPECT_EQ(Version("major"), std::to_string(forms::App::Major()));
    EXPECT_EQ(Version("minor"), std::to_string(forms::App::Minor()));
    EXPECT_EQ(Version("rev"), std::to_string(forms::App::Revision()));
    EXPECT_EQ(forms::GetSetting("Quillview2", "v2.3", "Path"), ProgramDir());
    EXPECT_EQ(forms::Default<frmSettingUp>().Label1.Caption(), "Components registered.");
    EXPECT_TRUE(recorder_.Lines().empty()) << "no library to register";

    // The same version again: nothing at all.
    formstest::Script quiet;
    Module1::CheckComponents();
}

TEST_F(StartUp, TheSystemServicesLibraryOfTheProgramFolderIsRegisteredByTheSystemsTool) {
    for (const char* file : {"orcmcls.dll", "rvimgctl.dll", "qvupdate.exe"}) temp_.Write(std::string("Program\\") + file, "x");
    ASSERT_TRUE(Recorder::PlaceAs(SystemDir() + "\\regsvr32.exe"));
    {
        formstest::Script script;
        script->ExpectMsgBox(kInformation, forms::mb::Information | forms::mb::SystemModal, "Information", Ok);
        Module1::CheckComponents();
    }
    const auto lines = recorder_.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\"" + SystemDir() + "\\regsvr32.exe\" /s \"" + Program("orcmcls.dll") + "\"");
}

TEST_F(StartUp, TheReminderComesAfter35CalendarDays) {
    ASSERT_TRUE(Recorder::PlaceAs(Program("qvupdate.exe")));
    const forms::Date today = forms::Today();
    const std::string todayText = forms::ShortDateText(today);
    struct Case {
        const char* what;
        std::optional<std::string> stored;
        int answer;  // 0: no question
        std::optional<std::string> after;  // nullopt: no value
        bool started = false;
    };
    const std::string back35 = forms::ShortDateText(today - 35);
    const Case cases[] = {
        {"35 days back, No", back35, No, todayText},
        {"35 days back, Yes starts the update program's check", back35, Yes, todayText, true},
        {"35 days back with a time of day", forms::GeneralDateText(today - 35 + 0.75), No, todayText},
        {"34 days back", forms::ShortDateText(today - 34), 0, forms::ShortDateText(today - 34)},
        {"a day in the future is deleted", forms::ShortDateText(today + 1), 0, std::nullopt},
        {"nothing stored", std::nullopt, 0, std::nullopt},
        {"unreadable: as nothing stored, and kept", "not a date", 0, "not a date"},
    };
    std::size_t starts = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        forms::DeleteSetting("QuillviewUpdate", "Options", "lastqvupdate");
        if (c.stored) forms::SaveSetting("QuillviewUpdate", "Options", "lastqvupdate", *c.stored);
        {
            formstest::Script script;
            if (c.answer) {
                script->ExpectMsgBox("Quillview Update last checked for a new version of Quillview on the " + back35 +
                                         ", it is recommended that you check once a month.\r\n\r\nWould you like to "
                                         "run Quillview Update now?",
                                     forms::mb::YesNo | forms::mb::Information, "Quillview", c.answer);
            }
            Module1::CheckUpdateReminder();
        }
        EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "Options", "lastqvupdate", "<none>"), c.after.value_or("<none>"));
        if (c.started) {
            ++starts;
            const auto lines = recorder_.WaitForLines(starts);
            ASSERT_EQ(lines.size(), starts);
            EXPECT_EQ(lines.back(), "\"" + Program("qvupdate.exe") + "\" qvupdate");
        }
    }
    EXPECT_EQ(recorder_.Lines().size(), starts);
}

TEST_F(StartUp, TheUpdateProgramStartsWithTheWordOfItsMode) {
    ASSERT_TRUE(Recorder::PlaceAs(Program("qvupdate.exe")));
    const std::pair<int, const char*> modes[] = {{0, ""}, {1, "links"}, {2, "qvupdate"}, {3, "submitweb"}, {7, ""}};
    std::size_t n = 0;
    for (const auto& [mode, word] : modes) {
        Module1::LaunchUpdateTool(mode);
        const auto lines = recorder_.WaitForLines(++n);
        ASSERT_EQ(lines.size(), n) << mode;
        EXPECT_EQ(lines.back(), "\"" + Program("qvupdate.exe") + "\" " + word) << mode;
    }
}

TEST_F(StartUp, AProgramFolderWithBlanksStartsTheUpdateProgramAndNoOther) {
    // "...\Program Files\Quillview": unquoted, the system would start "...\Program.exe" first.
    const std::string files = temp_ / "Program Files";
    const std::string folder = files + "\\Quillview";
    CreateDirectoryA(files.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(Recorder::PlaceAs(folder + "\\qvupdate.exe"));
    ASSERT_TRUE(Recorder::PlaceAs(temp_ / "Program.exe"));
    const forms::UserPathsOverride paths(folder, std::nullopt);
    Module1::LaunchUpdateTool(1);
    const auto lines = recorder_.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\"" + folder + "\\qvupdate.exe\" links");
}

TEST_F(StartUp, AMissingUpdateProgramIsReported) {
    formstest::Script script;
    script->ExpectMsgBox("The Quillview Update executable file 'qvupdate.exe' could not be found!\r\n\r\nPlease "
                         "reinstall Quillview!",
                         forms::mb::Critical, "Quillview Update cannot launch!", Ok);
    Module1::LaunchUpdateTool(2);
}

class HelpWithoutEngine : public StartUp {
protected:
    std::string HelpFile() const { return ProgramDir() + "\\qv23hlp.chm"; }
    static constexpr char kSupportPage[] = "http://www.orvane.example/support/quillview23/qv_htmlhelp_notsupported.htm";
    qvtest::ShellOpenRecorder opens_;
};

TEST_F(HelpWithoutEngine, Contents) {
    {
        formstest::Script script;
        script->ExpectMsgBox("The Helpfile 'qv23hlp.chm' is missing, please reinstall Quillview", forms::mb::Critical,
                             "Help File Not Found", Ok);
        Module1::ShowHelpContents();
    }
    EXPECT_TRUE(opens_.opened.empty());
    temp_.Write("Program\\qv23hlp.chm", "x");
    const std::string question =
        "You do not have HTML Help support installed! You may wish to go to Quillview support and retrieve the plain "
        "HTML version; would you like to visit the support page for this now?";
    {
        formstest::Script script;
        script->ExpectMsgBox(question, forms::mb::YesNo | forms::mb::Critical, "HTML Help Support not installed", No);
        Module1::ShowHelpContents();
    }
    EXPECT_TRUE(opens_.opened.empty()) << "No: nothing opens";
    {
        formstest::Script script;
        script->ExpectMsgBox(question, forms::mb::YesNo | forms::mb::Critical, "HTML Help Support not installed", Yes);
        Module1::ShowHelpContents();
    }
    ASSERT_EQ(opens_.opened.size(), 2u) << "Yes: the support page, then the help file";
    EXPECT_EQ(opens_.opened[0].file, kSupportPage);
    EXPECT_EQ(opens_.opened[1].file, HelpFile());
    for (const auto& open : opens_.opened) {
        EXPECT_EQ(open.verb, "Open");
        EXPECT_EQ(open.directory, ProgramDir());
        EXPECT_EQ(open.show, SW_SHOWNORMAL);
        EXPECT_EQ(open.owner, nullptr);
    }

    temp_.Write("System\\hhctrl.ocx", "x");
    opens_.opened.clear();
    Module1::ShowHelpContents();
    ASSERT_EQ(opens_.opened.size(), 1u);
    EXPECT_EQ(opens_.opened[0].file, HelpFile());
}

TEST_F(HelpWithoutEngine, ContextHelpNeverOpensTheFileEvenAfterYes) {
    temp_.Write("Program\\qv23hlp.chm", "x");
    const std::string question =
        "Unfortunately context-sensitive help cannot be initiated because you do not have HTML Help installed on your "
        "system, would you like to visit a webpage on the Quillview Support website for further help?";
    for (const int answer : {No, Yes}) {
        formstest::Script script;
        script->ExpectMsgBox(question, forms::mb::YesNo | forms::mb::Exclamation, "HTML Help not installed", answer);
        Module1::ShowContextHelp(10008);
    }
    ASSERT_EQ(opens_.opened.size(), 1u);
    EXPECT_EQ(opens_.opened[0].file, kSupportPage);
}

}  // namespace
}  // namespace coretest
