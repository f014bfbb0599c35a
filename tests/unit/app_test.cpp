// The application object's pure parts: the command line it registers for restarts.
#include "framework/CWinApp.h"
#include "tests/support/Text.h"

#include <gtest/gtest.h>

namespace {

// The process's command line, and what the restart manager is asked to run it with again.
struct RestartCase {
    const wchar_t* commandLine;
    const wchar_t* restart;
};
constexpr RestartCase kRestart[] = {
    {L"\"C:\\Program Files\\Ostrafen\\ostrafen.exe\"", L" /RestartByRestartManager:{id}"},
    {L"\"C:\\Program Files\\Ostrafen\\ostrafen.exe\" /foo bar", L"/foo bar /RestartByRestartManager:{id}"},
    {L"C:\\Tools\\ostrafen.exe", L" /RestartByRestartManager:{id}"},
    {L"C:\\Tools\\ostrafen.exe\t -x", L"-x /RestartByRestartManager:{id}"},
    {L"ostrafen", L" /RestartByRestartManager:{id}"},
};

TEST(RestartCommandLine, IsTheArgumentsThenTheRestartSwitchAndIdentifier)
{
    for (const RestartCase& c : kRestart) {
        SCOPED_TRACE(Narrow(c.commandLine));
        EXPECT_EQ(AfxRestartCommandLine(c.commandLine, L"{id}"), c.restart);
    }
}

}  // namespace
