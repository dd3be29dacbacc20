#include "FormsTestSupport.h"

#include "platform/runtime/MsgBox.h"
#include "platform/forms/InputBox.h"
#include "platform/forms/Program.h"
#include "platform/runtime/ScriptedAnswerer.h"

#include <gtest/gtest.h>

using namespace forms;

namespace {

struct Recorder {
    std::vector<std::string> failures;
    ScriptedAnswerer::FailureFn Fn() {
        return [this](const std::string& m) { failures.push_back(m); };
    }
};

TEST(ScriptedAnswerer, AnswersScriptedPromptsInOrder) {
    Recorder rec;
    {
        ScriptedAnswerer script(rec.Fn());
        ScopedAnswerer scope(script);
        script.ExpectMsgBox("Save Image?", mb::YesNoCancel | mb::Exclamation, "Quillview", answer::No)
            .ExpectInputBox("Please enter the new name", "Change Name", "old", "new")
            .ExpectMsgBox("Done", mb::OkOnly, AppTitle(), answer::Ok);
        EXPECT_EQ(MsgBox("Save Image?", 51, "Quillview"), answer::No);
        EXPECT_EQ(InputBox("Please enter the new name", "Change Name", "old"), "new");
        EXPECT_EQ(MsgBox("Done"), answer::Ok) << "no title: the program's title";
        EXPECT_EQ(script.Remaining(), 0u);
    }
    EXPECT_TRUE(rec.failures.empty());
}

TEST(ScriptedAnswerer, AnUnexpectedPromptFailsAndGetsTheSafestAnswer) {
    struct Case {
        int buttons;
        int answer;
    };
    const Case cases[] = {{mb::OkOnly, answer::Ok}, {mb::YesNo, answer::No}, {mb::YesNoCancel, answer::Cancel},
                          {mb::RetryCancel | mb::Critical, answer::Cancel}};
    for (const Case& c : cases) {
        Recorder rec;
        {
            ScriptedAnswerer script(rec.Fn());
            ScopedAnswerer scope(script);
            EXPECT_EQ(MsgBox("Exit Quillview?", c.buttons), c.answer);
        }
        ASSERT_EQ(rec.failures.size(), 1u);
        EXPECT_NE(rec.failures[0].find("Exit Quillview?"), std::string::npos);
    }
}

TEST(ScriptedAnswerer, AMismatchOfTextButtonsOrTitleFails) {
    Recorder rec;
    {
        ScriptedAnswerer script(rec.Fn());
        ScopedAnswerer scope(script);
        script.ExpectMsgBox("A", mb::YesNo, "T", answer::Yes);
        EXPECT_EQ(MsgBox("A", mb::YesNo | mb::Question, "T"), answer::No);
        EXPECT_EQ(rec.failures.size(), 1u);
        EXPECT_EQ(script.Remaining(), 1u) << "the expected step is still owed";
        EXPECT_EQ(InputBox("B", "T", ""), "");
        EXPECT_EQ(rec.failures.size(), 2u);
    }
    EXPECT_EQ(rec.failures.size(), 3u) << "the unconsumed step is reported at the end";
}

TEST(ScriptedAnswerer, ScopeRestoresThePreviousAnswerer) {
    Recorder outerRec, innerRec;
    ScriptedAnswerer outer(outerRec.Fn());
    ScopedAnswerer outerScope(outer);
    outer.ExpectMsgBox("outer", 0, AppTitle(), 1);
    {
        ScriptedAnswerer inner(innerRec.Fn());
        ScopedAnswerer innerScope(inner);
        inner.ExpectMsgBox("inner", 0, AppTitle(), 1);
        MsgBox("inner");
    }
    MsgBox("outer");
    EXPECT_TRUE(outerRec.failures.empty());
    EXPECT_TRUE(innerRec.failures.empty());
}

TEST(ScriptedAnswerer, AppTitleIsSettable) {
    const std::string saved = AppTitle();
    SetAppTitle("QuillviewUpdate");
    formstest::Script script;
    script->ExpectMsgBox("x", 0, "QuillviewUpdate", 1);
    MsgBox("x");
    SetAppTitle(saved);
}

}  // namespace
