// Real-window tests of the six service actions: the built ostrafen.exe, beside the recording stand-in
// and started from another folder, gets its buttons clicked the way a user clicks them; what it did is
// read back from the runs the recorder saw and from the boxes it put on the screen.
#include "res/resource.h"
#include "tests/fixtures/RunRecord.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Program.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

const std::wstring kDialogCaption = L"Ostrafen";
const std::wstring kBoxCaption = L"ostrafen";  // the executable's name: the program sets no title
const std::wstring kCompleted = L"执行完毕!";

// Runs are started without waiting for them, so their records land a little after the launch.
constexpr auto kRunsArrive = 10s;
// Long enough for a run the program should not have started to show up in the log anyway.
constexpr auto kQuietSpell = 1s;

// Launches started back to back still take the shell a while each under Wine; a pause is 800 ms.
constexpr double kBackToBackMs = 700;  // well below the 800 ms pause, with room for a loaded machine
constexpr double kPauseMinMs = 780;    // a pause is Sleep(800) plus the launch: never shorter
constexpr double kPauseMaxMs = 1600;

// A run as the user's click should start it: its parameters and its window's show state.
struct ExpectedRun {
    const wchar_t* parameters;
    int show;
};

const std::vector<ExpectedRun> kAutoRuns = {{L"-t", SW_HIDE}, {L"-u", SW_HIDE}, {L"-i", SW_HIDE}, {L"-p", SW_HIDE},
                                            {L"-r", SW_HIDE}, {L"", SW_HIDE},   {L"-f", SW_HIDE}};

uint64_t Now100ns()
{
    FILETIME now;
    ::GetSystemTimePreciseAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// From `from` to `to`, both in the recorder's clock (the system time), in milliseconds.
double GapMs(uint64_t from, uint64_t to) { return (static_cast<double>(to) - static_cast<double>(from)) / 10000.0; }

// ostrafen.exe in a fresh sandbox, started from the sandbox's other folder, with its main dialog up.
struct Utility {
    Sandbox sandbox;
    Program program;
    HWND dialog;

    explicit Utility(ToolBeside tool = ToolBeside::Recorder)
        : sandbox(L"ostrafen.exe", tool),
          program(sandbox.ProgramPath(), sandbox.Elsewhere()),
          dialog(program.WaitForDialog(kDialogCaption, 15s))
    {
    }

    RunLog Log() const { return ReadRunLog(sandbox.RunLogPath()); }

    // The runs once at least `count` have been recorded, or whatever came within the time-out.
    std::vector<RunRecord> WaitForRuns(size_t count) const
    {
        WaitUntil([&] { return Log().records.size() >= count; }, kRunsArrive);
        return Log().records;
    }

    // All the runs in launch order, once `count` have come and a quiet spell has shown that no more
    // are coming.
    std::vector<RunRecord> SettledRuns(size_t count) const
    {
        WaitForRuns(count);
        ::Sleep(static_cast<DWORD>(std::chrono::milliseconds(kQuietSpell).count()));
        const RunLog log = Log();
        EXPECT_TRUE(log.malformed.empty()) << "runs.log holds a line that is no record";
        return log.records;
    }
};

// Compares `runs` with `expected`, run by run: parameters, show state and the utility's own folder as
// the working directory (it is started from elsewhere).
void ExpectRuns(const std::vector<RunRecord>& runs, const std::vector<ExpectedRun>& expected, const Sandbox& sandbox)
{
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE("run " + std::to_string(i + 1) + ": " + Narrow(runs[i].commandLine));
        EXPECT_EQ(ParametersOf(runs[i].commandLine), expected[i].parameters);
        EXPECT_EQ(runs[i].show, expected[i].show);
        EXPECT_EQ(runs[i].cwd, sandbox.Folder());
    }
}

void ExpectBackToBack(const std::vector<RunRecord>& runs, size_t first, size_t last)
{
    for (size_t i = first; i < last && i + 1 < runs.size(); ++i) {
        EXPECT_LT(GapMs(runs[i].time100ns, runs[i + 1].time100ns), kBackToBackMs)
            << "runs " << i + 1 << " and " << i + 2 << " should follow each other without a pause";
    }
}

void ExpectCompletionBox(const SeenMessageBox& box, HWND owner)
{
    EXPECT_EQ(box.text, kCompleted);
    EXPECT_EQ(box.caption, kBoxCaption);
    EXPECT_EQ(box.owner, owner);
}

// One of the five buttons whose action runs to its end on the UI thread.
struct StepCase {
    const char* name;
    int button;
    std::vector<ExpectedRun> runs;
};

const StepCase kStepCases[] = {
    {"安装服务", IDC_INSTALL_SERVICE, {{L"-i -show ", SW_SHOW}}},
    {"启动服务", IDC_START_SERVICE, {{L"-p", SW_HIDE}, {L"-r", SW_HIDE}, {L"", SW_HIDE}}},
    {"添加防火墙规则", IDC_ADD_FIREWALL_RULES, {{L"-f -show ", SW_SHOW}}},
    {"卸载服务", IDC_UNINSTALL_SERVICE, {{L"-t -show ", SW_SHOW}, {L"-u -show ", SW_SHOW}}},
    {"停止服务", IDC_STOP_SERVICE, {{L"-t -show ", SW_SHOW}}},
};

// The user clicks one of the five step buttons: its runs start in the utility's folder, in order,
// shown or hidden as the action says and back to back; then 执行完毕! appears, owned by the dialog,
// which stays disabled until OK is pressed. Nothing else is started afterwards.
TEST(ActionButtons, EachStepButtonStartsItsRunsThenShowsDoneOwnedByTheDisabledDialog)
{
    for (const StepCase& step : kStepCases) {
        SCOPED_TRACE(step.name);
        Utility utility;
        ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";

        ClickButton(utility.dialog, step.button);
        const std::optional<SeenMessageBox> box = WaitForMessageBox(utility.program.Pid(), 10s);
        ASSERT_TRUE(box.has_value()) << "no 执行完毕! after the click";
        ExpectCompletionBox(*box, utility.dialog);
        EXPECT_FALSE(::IsWindowEnabled(utility.dialog)) << "the dialog takes clicks while its box is up";
        // The action is over once its box is up: every run has been asked for by now.
        utility.WaitForRuns(step.runs.size());

        ASSERT_TRUE(PressOk(*box));
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(utility.dialog) != FALSE; }, 5s))
            << "the dialog stays disabled after OK";

        const std::vector<RunRecord> runs = utility.SettledRuns(step.runs.size());
        ExpectRuns(runs, step.runs, utility.sandbox);
        ExpectBackToBack(runs, 0, runs.size());
        EXPECT_TRUE(FindMessageBoxes(utility.program.Pid()).empty()) << "another box followed 执行完毕!";
    }
}

// The user clicks 自动处理: the dialog answers at once and stays enabled; seven hidden runs follow in
// the utility's folder, the first three back to back, then one every 800 ms or so; 执行完毕! comes
// after the last, owned by no window. While it is up the dialog still works: 停止服务 starts its own
// run and shows its own 执行完毕!, owned by the dialog.
TEST(ActionButtons, AutoProcessReturnsAtOnceRunsSevenHiddenStepsWithPausesThenShowsAnUnownedDone)
{
    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";

    ClickButton(utility.dialog, IDC_AUTO_PROCESS);
    ASSERT_FALSE(utility.WaitForRuns(1).empty()) << "the automatic sequence did not start";
    // A handler that ran the whole sequence itself would keep the dialog's thread busy for seconds.
    DWORD_PTR ignored = 0;
    EXPECT_NE(::SendMessageTimeoutW(utility.dialog, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored), 0)
        << "the dialog does not answer while the sequence runs";
    EXPECT_LT(utility.Log().records.size(), kAutoRuns.size()) << "the sequence was over before the dialog answered";
    EXPECT_TRUE(::IsWindowEnabled(utility.dialog));

    const std::optional<SeenMessageBox> done = WaitForMessageBox(utility.program.Pid(), 10s);
    const uint64_t doneSeen = Now100ns();
    ASSERT_TRUE(done.has_value()) << "no 执行完毕! after the sequence";
    ExpectCompletionBox(*done, nullptr);
    EXPECT_TRUE(::IsWindowEnabled(utility.dialog)) << "the worker's box disabled the dialog";

    const std::vector<RunRecord> autoRuns = utility.WaitForRuns(kAutoRuns.size());
    ASSERT_FALSE(autoRuns.empty());
    // Four pauses of 800 ms lie between the first run and the box.
    EXPECT_GE(GapMs(autoRuns.front().time100ns, doneSeen), 4 * kPauseMinMs) << "执行完毕! came too early";

    ClickButton(utility.dialog, IDC_STOP_SERVICE);
    const std::optional<SeenMessageBox> stopDone = WaitForMessageBox(utility.program.Pid(), 10s, {done->hwnd});
    ASSERT_TRUE(stopDone.has_value()) << "停止服务 did nothing while the automatic 执行完毕! was up";
    ExpectCompletionBox(*stopDone, utility.dialog);
    utility.WaitForRuns(kAutoRuns.size() + 1);
    ASSERT_TRUE(PressOk(*stopDone));
    ASSERT_TRUE(PressOk(*done));

    const std::vector<RunRecord> runs = utility.SettledRuns(kAutoRuns.size() + 1);
    ASSERT_EQ(runs.size(), kAutoRuns.size() + 1);
    ExpectRuns({runs.begin(), runs.begin() + kAutoRuns.size()}, kAutoRuns, utility.sandbox);
    ExpectRuns({runs.back()}, {{L"-t -show ", SW_SHOW}}, utility.sandbox);
    ExpectBackToBack(runs, 0, 2);
    for (size_t i = 2; i < 6; ++i) {
        const double gap = GapMs(runs[i].time100ns, runs[i + 1].time100ns);
        EXPECT_GE(gap, kPauseMinMs) << "no pause after run " << i + 1;
        EXPECT_LE(gap, kPauseMaxMs) << "too long a pause after run " << i + 1;
    }
    EXPECT_TRUE(FindMessageBoxes(utility.program.Pid()).empty());
}

// The runs of several copies of one sequence started at about the same time, told apart: each run
// goes to the first copy that expects it next. Runs no copy expects are left in `stray`.
struct Sequences {
    std::vector<std::vector<RunRecord>> copies;
    std::vector<std::vector<size_t>> positions;  // each run's place in launch order
    std::vector<RunRecord> stray;
};

Sequences SplitIntoSequences(const std::vector<RunRecord>& runs, const std::vector<ExpectedRun>& steps, size_t copies)
{
    Sequences split;
    split.copies.resize(copies);
    split.positions.resize(copies);
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::wstring parameters = ParametersOf(runs[i].commandLine);
        bool placed = false;
        for (size_t copy = 0; copy < copies && !placed; ++copy) {
            const size_t next = split.copies[copy].size();
            if (next < steps.size() && parameters == steps[next].parameters) {
                split.copies[copy].push_back(runs[i]);
                split.positions[copy].push_back(i);
                placed = true;
            }
        }
        if (!placed) split.stray.push_back(runs[i]);
    }
    return split;
}

// A user's quick second click comes a moment after the first. Not in the same millisecond: there Wine
// itself stumbles when the two workers keep step. Two threads' first MessageBoxW at the same moment
// now and then returns -1 at once and shows nothing, and two ShellExecuteExW at the same moment can
// start a run in the caller's working directory instead of the one asked for (both seen with a plain
// two-thread program too). A third of a second apart, the sequences still overlap all along.
constexpr DWORD kSecondClickMs = 300;

// The user clicks 自动处理 twice in quick succession: two sequences of seven hidden runs go on at the
// same time, each in its own order, and each ends with its own unowned 执行完毕!.
TEST(ActionButtons, TwoQuickClicksOnAutoProcessRunTwoInterleavedSequencesAndShowTwoDones)
{
    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";

    ClickButton(utility.dialog, IDC_AUTO_PROCESS);
    ::Sleep(kSecondClickMs);
    ClickButton(utility.dialog, IDC_AUTO_PROCESS);
    const std::optional<SeenMessageBox> first = WaitForMessageBox(utility.program.Pid(), 10s);
    ASSERT_TRUE(first.has_value()) << "no 执行完毕! after two clicks";
    const std::optional<SeenMessageBox> second = WaitForMessageBox(utility.program.Pid(), 5s, {first->hwnd});
    ASSERT_TRUE(second.has_value()) << "only one 执行完毕! after two clicks, and " << utility.Log().records.size()
                                    << " runs";
    ExpectCompletionBox(*first, nullptr);
    ExpectCompletionBox(*second, nullptr);
    EXPECT_TRUE(::IsWindowEnabled(utility.dialog));

    const std::vector<RunRecord> runs = utility.SettledRuns(2 * kAutoRuns.size());
    EXPECT_EQ(runs.size(), 2 * kAutoRuns.size());
    const Sequences split = SplitIntoSequences(runs, kAutoRuns, 2);
    for (const RunRecord& run : split.stray) ADD_FAILURE() << "a run out of order: " << Narrow(run.commandLine);
    for (size_t copy = 0; copy < 2; ++copy) {
        SCOPED_TRACE("sequence " + std::to_string(copy + 1));
        ExpectRuns(split.copies[copy], kAutoRuns, utility.sandbox);
    }
    if (!split.positions[0].empty() && !split.positions[1].empty()) {
        EXPECT_LT(split.positions[1].front(), split.positions[0].back()) << "the second sequence waited for the first";
    }
    EXPECT_TRUE(PressOk(*first));
    EXPECT_TRUE(PressOk(*second));
}

// Every button, in the order a user might try them.
struct ButtonCase {
    const char* name;
    int button;
};

const ButtonCase kAllButtons[] = {
    {"自动处理", IDC_AUTO_PROCESS},      {"安装服务", IDC_INSTALL_SERVICE},
    {"启动服务", IDC_START_SERVICE},     {"添加防火墙规则", IDC_ADD_FIREWALL_RULES},
    {"卸载服务", IDC_UNINSTALL_SERVICE}, {"停止服务", IDC_STOP_SERVICE},
};

// Each button in turn says once which file is missing, in a box owned by the (disabled) dialog, and
// after OK nothing more follows: no completion, no worker's second message, no run.
void ExpectEveryButtonToReportTheMissingTool(ToolBeside tool)
{
    Utility utility(tool);
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    // The stand-in in the working directory: a program that looked for its tool there would start it.
    const std::wstring strayTool = utility.sandbox.Elsewhere() + L"\\velmarid.exe";
    ASSERT_TRUE(::CopyFileW((TestsFolder() + L"\\recorder.exe").c_str(), strayTool.c_str(), TRUE));
    const std::wstring missing = L"缺失文件: " + utility.sandbox.ToolPath() + L"\r\n请重新下载最新安装包!";

    for (const ButtonCase& button : kAllButtons) {
        SCOPED_TRACE(button.name);
        [&] {
            ClickButton(utility.dialog, button.button);
            const std::optional<SeenMessageBox> box = WaitForMessageBox(utility.program.Pid(), 10s);
            ASSERT_TRUE(box.has_value()) << "no message after the click";
            EXPECT_EQ(box->text, missing);
            EXPECT_EQ(box->caption, kBoxCaption);
            EXPECT_EQ(box->owner, utility.dialog);
            EXPECT_FALSE(::IsWindowEnabled(utility.dialog));
            ASSERT_TRUE(PressOk(*box));
            ::Sleep(static_cast<DWORD>(std::chrono::milliseconds(kQuietSpell).count()));
            EXPECT_TRUE(FindMessageBoxes(utility.program.Pid()).empty()) << "another box followed the missing-file one";
            EXPECT_TRUE(::IsWindowEnabled(utility.dialog));
        }();
        for (const SeenMessageBox& left : FindMessageBoxes(utility.program.Pid())) PressOk(left);
    }
    EXPECT_TRUE(ReadRunLog(utility.sandbox.Elsewhere() + L"\\runs.log").records.empty())
        << "the tool in the working directory was started";
}

TEST(ActionButtons, WithNoToolBesideItEveryButtonSaysTheToolIsMissingAndStartsNothing)
{
    ExpectEveryButtonToReportTheMissingTool(ToolBeside::Nothing);
}

TEST(ActionButtons, WithADirectoryNamedLikeTheToolEveryButtonSaysTheToolIsMissingAndStartsNothing)
{
    ExpectEveryButtonToReportTheMissingTool(ToolBeside::Directory);
}

// The tool disappears right after its "-i" run, in the middle of 自动处理: the remaining launches are
// skipped without a word, and 执行完毕! still comes at the end.
TEST(ActionButtons, WhenTheToolVanishesDuringAutoProcessTheLaterRunsAreSkippedSilentlyAndDoneStillComes)
{
    ::SetEnvironmentVariableW(L"RECORDER_VANISH_ON", L"-i");  // inherited by the program, then its runs
    Utility utility;
    ::SetEnvironmentVariableW(L"RECORDER_VANISH_ON", nullptr);
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";

    ClickButton(utility.dialog, IDC_AUTO_PROCESS);
    const std::optional<SeenMessageBox> done = WaitForMessageBox(utility.program.Pid(), 10s);
    ASSERT_TRUE(done.has_value()) << "no box after the sequence";
    ExpectCompletionBox(*done, nullptr);

    const std::vector<RunRecord> runs = utility.SettledRuns(3);
    ExpectRuns(runs, {kAutoRuns.begin(), kAutoRuns.begin() + 3}, utility.sandbox);
    EXPECT_EQ(FindMessageBoxes(utility.program.Pid()).size(), 1u) << "a box besides 执行完毕!";
    EXPECT_EQ(::GetFileAttributesW(utility.sandbox.ToolPath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "the tool did not vanish, so nothing was skipped";
    EXPECT_TRUE(PressOk(*done));
}

// Two ways the window is closed: the Close command that the caption's button, the system menu and
// Alt+F4 send, and the WM_CLOSE it turns into.
struct CloseCase {
    const char* name;
    UINT message;
    WPARAM wParam;
};

const CloseCase kCloses[] = {
    {"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE},
    {"WM_CLOSE", WM_CLOSE, 0},
};

// The user closes the window one second into 自动处理: the program ends at once, and of the sequence
// only the runs started before the close (the first three, maybe the fourth) ever happen.
TEST(ActionButtons, ClosingTheDialogOneSecondIntoAutoProcessEndsTheProgramAndNoLaterRunStarts)
{
    for (const CloseCase& close : kCloses) {
        SCOPED_TRACE(close.name);
        Utility utility;
        ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";

        ClickButton(utility.dialog, IDC_AUTO_PROCESS);
        const std::vector<RunRecord> started = utility.WaitForRuns(1);
        ASSERT_FALSE(started.empty()) << "the automatic sequence did not start";
        const uint64_t sequenceStart = started.front().time100ns;
        const auto msSinceStart = [&] { return GapMs(sequenceStart, Now100ns()); };
        while (msSinceStart() < 1000) ::Sleep(10);

        const uint64_t closedAt = Now100ns();
        ::PostMessageW(utility.dialog, close.message, close.wParam, 0);
        EXPECT_TRUE(utility.program.WaitForExit(2s)) << "the program still runs after its window was closed";
        // By now the whole sequence would have been started, had it gone on.
        while (msSinceStart() < 4 * 800 + 1000) ::Sleep(10);

        const std::vector<RunRecord> runs = utility.Log().records;
        EXPECT_GE(runs.size(), 3u) << "the first three runs come before the first pause";
        EXPECT_LE(runs.size(), 4u) << "runs were started after the close";
        const size_t compared = std::min(runs.size(), kAutoRuns.size());
        ExpectRuns({runs.begin(), runs.begin() + compared}, {kAutoRuns.begin(), kAutoRuns.begin() + compared},
                   utility.sandbox);
        for (const RunRecord& run : runs) {
            // A run asked for just before the close may record itself a little after it.
            EXPECT_LT(GapMs(closedAt, run.time100ns), 300) << "started after the close: " << Narrow(run.commandLine);
        }
    }
}

}  // namespace
