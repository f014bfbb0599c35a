// A satellite resource library beside ostrafen.exe (ostrafenLOC.dll) replaces the executable's own
// resources: the main dialog comes from it, and a template without the help panel still starts and
// works.
#include "res/resource.h"
#include "tests/fixtures/RunRecord.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Program.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(SatelliteResources, MainDialogComesFromTheSatelliteLibrary)
{
    Sandbox sandbox(L"ostrafen.exe", ToolBeside::Recorder);
    ASSERT_TRUE(::CopyFileW((TestsFolder() + L"\\ostrafenLOC.dll").c_str(),
                            (sandbox.Folder() + L"\\ostrafenLOC.dll").c_str(), TRUE));
    Program program(sandbox.ProgramPath(), sandbox.Elsewhere());

    HWND dialog = program.WaitForDialog(L"Ostrafen 卫星资源", 15s);
    ASSERT_NE(dialog, nullptr) << "the satellite's dialog was not used";
    EXPECT_EQ(::GetDlgItem(dialog, IDC_HELP_TEXT), nullptr);
    EXPECT_EQ(::GetDlgItem(dialog, IDC_AUTO_PROCESS), nullptr);

    ClickButton(dialog, IDC_INSTALL_SERVICE);
    const auto box = WaitForMessageBox(program.Pid(), 10s);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"执行完毕!");
    EXPECT_EQ(box->owner, dialog);
    PressOk(*box);
    // The run's record may land a moment after the message.
    WaitUntil([&] { return !ReadRunLog(sandbox.RunLogPath()).records.empty(); }, 10s);
    ::Sleep(500);
    const RunLog log = ReadRunLog(sandbox.RunLogPath());
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(ParametersOf(log.records[0].commandLine), L"-i -show ");
}

TEST(SatelliteResources, WithoutOneTheExecutablesOwnDialogIsUsed)
{
    Sandbox sandbox(L"ostrafen.exe", ToolBeside::Recorder);
    Program program(sandbox.ProgramPath(), sandbox.Elsewhere());
    EXPECT_NE(program.WaitForDialog(L"Ostrafen", 15s), nullptr);
}

}  // namespace
