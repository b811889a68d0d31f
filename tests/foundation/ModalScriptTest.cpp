// The scripted answers every window test relies on: a script whose window never shows,
// whose step left its window open, or that did not run to its end fails its test and
// never hangs the program.
#include "foundation/ServDialogs.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "support/ModalScript.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// The failures recorded while f runs, one message each.
template <class F>
std::vector<std::string> FailuresOf(F&& f)
{
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        f();
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i)
        messages.push_back(results.GetTestPartResult(i).message());
    return messages;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

// Guards the scripted windows that used to wait without end when a step failed or the
// awaited window never came, hanging the whole test program.
TEST(ModalScript, AMissedWindowIsAFailureNotAHang)
{
    TScopedDialogHooks scope;
    InstallDialogWindows();
    struct Case {
        const char* name;
        const char* windowClass;
        TModalScript::TStep step;
        std::vector<const char*> failures;   // one part of each message, in order
    };
    const Case cases[] = {
        {"the step leaves its window open", "TFormShowMsgDialog", [](QWidget*) {},
         {"stayed open"}},
        {"another window shows", "TFormShowQDialog", Enter,
         {"no window TFormShowQDialog within", "stopped before step 1 of 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TModalResult result = mrNone;
        const std::vector<std::string> failures = FailuresOf([&] {
            TModalScript script(200);
            script.Then(c.windowClass, c.step);
            result = ShowMsgDialog(QStringLiteral("Сообщение"), QStringLiteral("текст"));
        });
        EXPECT_EQ(result, mrCancel);   // closed by the deadline
        ASSERT_EQ(failures.size(), c.failures.size());
        for (size_t i = 0; i < failures.size(); ++i)
            EXPECT_TRUE(Contains(failures[i], c.failures[i])) << failures[i];
    }
}

TEST(ModalScript, AScriptNotRunToItsEndFails)
{
    TScopedDialogHooks scope;
    InstallDialogWindows();
    const std::vector<std::string> failures = FailuresOf([] {
        TModalScript script(200);
        script.Then("TFormShowMsgDialog", Enter).Then("TFormShowQDialog", Enter);
        EXPECT_EQ(ShowMsgDialog(QString(), QString()), mrOk);
    });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_TRUE(Contains(failures[0], "stopped before step 2 of 2")) << failures[0];
}
