// Real-window tests of the main dialog itself: the window and controls a user meets when ostrafen.exe
// starts, what its keys do, that it stays above other windows, and the ways it closes. The program runs
// from a sandbox beside the recording stand-in and is started from another folder.
#include "tests/fixtures/RunRecord.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Program.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* kCaption = L"Ostrafen";

constexpr int kAutoProcess = 1003;
constexpr int kInstallService = 1004;
constexpr int kStartService = 1005;
constexpr int kAddFirewallRules = 1006;
constexpr int kUninstallService = 1007;
constexpr int kStopService = 1008;
constexpr int kHelpText = 1009;
constexpr int kHelpGroup = 1010;

// The service tool's usage text, as its documentation prints it; the help panel shows it word for word.
constexpr const wchar_t* kUsageText =
    L"velmarid.exe -[i|u|e|t|p|r|c|v|f|h]\r\n"
    L"  -i(nstall)[account][password] : Install the service, optionally using given account and password\r\n"
    L"  -u(ninstall) : Uninstall the service.\r\n"
    L"  -t(erminate) : Stop the service.\r\n"
    L"  -p(ause) : Pause the service.\r\n"
    L"  -r(esume) : Resume a paused service.\r\n"
    L"  -c(ommand) num : Send command code num to the service.\r\n"
    L"  -v(ersion) : Print version and status information.\r\n"
    L"  -f(irewall) : Add rules to firewall.\r\n"
    L"  -h(elp) : Show this help\r\n"
    L"  No arguments : Start the service.\r\n";

// One control of the dialog template, in creation order: where it sits in dialog units and the style
// it is created with. Group boxes have the id -1.
struct ControlCase {
    int id;
    const wchar_t* className;
    const wchar_t* text;  // as the window holds it once the dialog is up
    int x, y, width, height;
    DWORD style;
};
constexpr ControlCase kControls[] = {
    {-1, L"Button", L"一键安装", 6, 7, 302, 30, 0x50000007},
    {kAutoProcess, L"Button", L"自动处理", 12, 17, 64, 14, 0x50010000},
    {-1, L"Button", L"分步安装", 6, 36, 302, 31, 0x50000007},
    {kInstallService, L"Button", L"安装服务", 12, 45, 64, 14, 0x50010000},
    {kStartService, L"Button", L"启动服务", 91, 45, 64, 14, 0x50010000},
    {kAddFirewallRules, L"Button", L"添加防火墙规则", 171, 45, 64, 14, 0x50010000},
    {-1, L"Button", L"卸载", 6, 66, 302, 30, 0x50000007},
    {kUninstallService, L"Button", L"卸载服务", 11, 75, 64, 14, 0x50010000},  // one unit left of its row
    {kStopService, L"Button", L"停止服务", 91, 76, 64, 14, 0x50010000},       // one unit below its row
    {kHelpGroup, L"Button", L"帮助", 6, 97, 302, 126, 0x50000007},
    {kHelpText, L"Edit", kUsageText, 9, 105, 296, 115, 0x50A10884},
};

// The whole dialog, in dialog units; the three button groups end at this height.
constexpr int kDialogWidth = 318;
constexpr int kDialogHeight = 227;
constexpr int kButtonGroupsBottom = 96;

// The template's window style (popup, visible, caption, system menu, DS_SETFONT | DS_FIXEDSYS) and
// extended style (WS_EX_APPWINDOW), plus the topmost bit the program sets.
constexpr DWORD kDialogStyle = 0x90C80048;
constexpr DWORD kDialogExStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

// The dialog's child windows in creation order (the dialog manager creates them in template order).
std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// The keyboard focus of the dialog's thread, read from outside its process.
HWND FocusOf(HWND dialog) { return GuiThreadState(dialog).hwndFocus; }

int FocusedId(HWND dialog)
{
    HWND focus = FocusOf(dialog);
    return focus != nullptr && ::IsChild(dialog, focus) ? ::GetDlgCtrlID(focus) : 0;
}

// Moves the focus forward with Tab, as a user would, until control `id` has it.
bool TabTo(HWND dialog, int id)
{
    for (int presses = 0; presses < 12 && FocusedId(dialog) != id; ++presses) {
        PressKey(VK_TAB);
    }
    return WaitUntil([&] { return FocusedId(dialog) == id; }, 2s);
}

bool HelpPanelVisible(HWND dialog)
{
    return ::IsWindowVisible(::GetDlgItem(dialog, kHelpGroup)) && ::IsWindowVisible(::GetDlgItem(dialog, kHelpText));
}

bool HelpPanelHidden(HWND dialog)
{
    return !::IsWindowVisible(::GetDlgItem(dialog, kHelpGroup)) && !::IsWindowVisible(::GetDlgItem(dialog, kHelpText));
}

// A rectangle in the dialog's client coordinates.
RECT ClientRectOf(HWND dialog, HWND child)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog's base units, read off 自动处理 (64 x 14 dialog units). The dialog manager sizes every
// control as MulDiv(width, baseX, 4) by MulDiv(height, baseY, 8) with integer base units taken from the
// dialog font, so each base unit is the one integer that gives the button its size in pixels.
struct BaseUnits {
    int x = 0;
    int y = 0;
};

BaseUnits BaseUnitsOf(HWND dialog)
{
    const RECT button = ClientRectOf(dialog, ::GetDlgItem(dialog, kAutoProcess));
    BaseUnits units;
    for (int candidate = 1; candidate < 100; ++candidate) {
        if (::MulDiv(64, candidate, 4) == button.right - button.left) units.x = candidate;
        if (::MulDiv(14, candidate, 8) == button.bottom - button.top) units.y = candidate;
    }
    return units;
}

enum class HelpPanel { Hidden, Shown };

// Every control of the template, in its order, with its id, class, text, style and place. The run-time
// styles are compared with the template's with the dialog manager's own changes allowed for: it marks
// the focused push button BS_DEFPUSHBUTTON and turns an edit's WS_BORDER into WS_EX_CLIENTEDGE.
void ExpectControlsAsDesigned(HWND dialog, HelpPanel panel)
{
    const BaseUnits units = BaseUnitsOf(dialog);
    ASSERT_TRUE(units.x > 0 && units.y > 0) << "自动处理 has no size that 64 x 14 dialog units give";
    const HWND focus = FocusOf(dialog);
    const std::vector<HWND> children = Children(dialog);
    ASSERT_EQ(children.size(), std::size(kControls)) << "the dialog has exactly the template's controls";

    for (size_t i = 0; i < children.size(); ++i) {
        const ControlCase& control = kControls[i];
        const HWND child = children[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " \"" + Narrow(control.text).substr(0, 40) + "\"");
        EXPECT_EQ(::GetDlgCtrlID(child), control.id);
        EXPECT_EQ(ClassOf(child), control.className);
        EXPECT_EQ(WindowText(child), control.text);

        const bool partOfHelpPanel = control.id == kHelpGroup || control.id == kHelpText;
        const bool shown = !partOfHelpPanel || panel == HelpPanel::Shown;
        EXPECT_EQ(::IsWindowVisible(child) != FALSE, shown);

        DWORD style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(child, GWL_EXSTYLE));
        if (child == focus && ClassOf(child) == L"Button" && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            style = (style & ~BS_TYPEMASK) | BS_PUSHBUTTON;
        }
        if (ClassOf(child) == L"Edit" && (control.style & WS_BORDER) && !(style & WS_BORDER)) {
            EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE) << "the border went without a client edge in its place";
            style |= WS_BORDER;
        }
        const DWORD expected = shown ? control.style : control.style & ~WS_VISIBLE;
        EXPECT_EQ(Hex(style), Hex(expected));

        const RECT rect = ClientRectOf(dialog, child);
        const int left = ::MulDiv(control.x, units.x, 4);
        const int top = ::MulDiv(control.y, units.y, 8);
        EXPECT_NEAR(rect.left, left, 1);
        EXPECT_NEAR(rect.top, top, 1);
        EXPECT_NEAR(rect.right, left + ::MulDiv(control.width, units.x, 4), 1);
        EXPECT_NEAR(rect.bottom, top + ::MulDiv(control.height, units.y, 8), 1);
        if (panel == HelpPanel::Hidden && ::IsWindowVisible(child)) {
            EXPECT_LE(rect.bottom, ::MulDiv(kButtonGroupsBottom, units.y, 8) + 1)
                << "below the third group the window is empty";
        }
    }
}

// The top-level window as designed: a fixed-size, topmost dialog with a taskbar button and no owner,
// the size of its template. The window manager adds WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE to a
// captioned top-level window, the dialog manager DS_3DLOOK and WS_EX_CONTROLPARENT.
void ExpectWindowAsDesigned(HWND dialog)
{
    EXPECT_EQ(WindowText(dialog), kCaption);
    EXPECT_EQ(ClassOf(dialog), L"#32770");
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE));
    EXPECT_EQ(Hex(style & ~(WS_CLIPSIBLINGS | DS_3DLOOK)), Hex(kDialogStyle));
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << "no minimize, maximize or sizing";
    EXPECT_EQ(Hex(exStyle & ~(WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT)), Hex(kDialogExStyle));
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr) << "the main dialog has no owner";

    const BaseUnits units = BaseUnitsOf(dialog);
    RECT client;
    ::GetClientRect(dialog, &client);
    EXPECT_NEAR(client.right, ::MulDiv(kDialogWidth, units.x, 4), 1);
    EXPECT_NEAR(client.bottom, ::MulDiv(kDialogHeight, units.y, 8), 1);
}

// ostrafen.exe in a fresh sandbox with the recorder as its tool, started from another folder.
struct StartedDialog {
    explicit StartedDialog(const std::wstring& arguments = L"")
        : program(sandbox.ProgramPath(), sandbox.Elsewhere(), arguments), dialog(program.WaitForDialog(kCaption, 15s))
    {
    }

    std::vector<RunRecord> Runs() const { return ReadRunLog(sandbox.RunLogPath()).records; }

    // Anything a key could have set off: a run, a message box, the window gone or hidden.
    bool SomethingHappened() const
    {
        return !Runs().empty() || !FindMessageBoxes(program.Pid()).empty() || !program.Running() ||
               !::IsWindowVisible(dialog);
    }

    Sandbox sandbox{L"ostrafen.exe", ToolBeside::Recorder};
    Program program;
    HWND dialog;
};

// What a user can tell of the dialog at a glance: which controls show, which has the focus, where the
// window is, and what the help text says.
std::string VisibleState(HWND dialog)
{
    std::string state = "shown:";
    for (HWND child : Children(dialog)) {
        if (::IsWindowVisible(child)) state += " " + std::to_string(::GetDlgCtrlID(child));
    }
    RECT window;
    ::GetWindowRect(dialog, &window);
    state += "; focus " + std::to_string(FocusedId(dialog)) + "; window " + std::to_string(window.left) + "," +
             std::to_string(window.top) + "-" + std::to_string(window.right) + "," + std::to_string(window.bottom);
    state += WindowText(::GetDlgItem(dialog, kHelpText)) == kUsageText ? "; usage text" : "; other help text";
    return state;
}

// The user starts the program and sees one fixed-size window "Ostrafen" above all others, centred on
// the screen, with the focus on 自动处理.
TEST(MainDialog, StartsAsAFixedTopmostWindowCentredWithTheFocusOnAutoProcess)
{
    StartedDialog app;
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    ExpectWindowAsDesigned(app.dialog);
    EXPECT_EQ(FocusOf(app.dialog), ::GetDlgItem(app.dialog, kAutoProcess));

    RECT window;
    RECT workArea;
    ::GetWindowRect(app.dialog, &window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_NEAR(window.left + window.right, workArea.left + workArea.right, 2);
    EXPECT_NEAR(window.top + window.bottom, workArea.top + workArea.bottom, 2);
}

// The user sees the three button groups with their buttons where the design puts them; the help group
// and its text are there but hidden, the text already the tool's usage, and below the groups is empty.
TEST(MainDialog, ShowsEveryControlInTemplateOrderAtItsPlaceWithTheHelpPanelHidden)
{
    StartedDialog app;
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    ExpectControlsAsDesigned(app.dialog, HelpPanel::Hidden);
}

// The user starts the program with arguments it does not know and sees the same dialog, and nothing runs.
TEST(MainDialog, StartedWithArgumentsShowsTheSameDialog)
{
    StartedDialog app(L"/foo bar");
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    ExpectWindowAsDesigned(app.dialog);
    ExpectControlsAsDesigned(app.dialog, HelpPanel::Hidden);
    EXPECT_EQ(FocusedId(app.dialog), kAutoProcess);
    EXPECT_FALSE(WaitUntil([&] { return app.SomethingHappened(); }, 1500ms)) << "nothing runs, nothing is said";
}

// The user presses Enter and Escape with the focus on several buttons and on the revealed help text:
// no run starts, no message appears, and the window stays with the focus where it was.
TEST(MainDialog, EnterAndEscapeDoNothingWhereverTheFocusIs)
{
    StartedDialog app;
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    BringToFront(app.dialog);

    struct FocusCase {
        const char* name;
        int id;
    };
    // clang-format off
    constexpr FocusCase kFocus[] = {
        {"自动处理, focused at start", kAutoProcess},
        {"安装服务", kInstallService},
        {"添加防火墙规则", kAddFirewallRules},
        {"停止服务", kStopService},
        {"the revealed help text", kHelpText},
    };
    // clang-format on
    for (const FocusCase& focus : kFocus) {
        SCOPED_TRACE(focus.name);
        if (focus.id == kHelpText) {
            PressKey(VK_F1, VK_CONTROL);
            ASSERT_TRUE(WaitUntil([&] { return HelpPanelVisible(app.dialog); }, 2s));
        }
        ASSERT_TRUE(TabTo(app.dialog, focus.id));
        for (const WORD key : {WORD{VK_RETURN}, WORD{VK_ESCAPE}}) {
            SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Escape");
            PressKey(key);
            EXPECT_FALSE(WaitUntil([&] { return app.SomethingHappened(); }, 500ms));
            EXPECT_EQ(FocusedId(app.dialog), focus.id);
        }
    }
    // A run the shell was asked for may take a moment to show up in the log.
    EXPECT_FALSE(WaitUntil([&] { return app.SomethingHappened(); }, 2s));
}

// Right after start the user presses the space bar: 自动处理 has the focus, so the automatic action's
// first three runs, "-t", "-u" and "-i", all hidden, begin in that order.
TEST(MainDialog, SpaceRightAfterStartPressesAutoProcess)
{
    StartedDialog app;
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    BringToFront(app.dialog);
    PressKey(VK_SPACE);

    const std::vector<std::wstring> expected = {L"-t", L"-u", L"-i"};
    ASSERT_TRUE(WaitUntil([&] { return app.Runs().size() >= expected.size(); }, 10s)) << "no runs started";
    std::vector<std::wstring> started;
    for (const RunRecord& run : app.Runs()) {
        if (started.size() == expected.size()) break;
        started.push_back(ParametersOf(run.commandLine));
        EXPECT_EQ(run.show, SW_HIDE) << Narrow(run.commandLine);
    }
    EXPECT_EQ(started, expected);
}

// With the focus on one button or another the user presses Ctrl+F1: the help group and the usage text
// appear, everything else stays as it was; a second Ctrl+F1 changes nothing.
TEST(MainDialog, CtrlF1RevealsTheHelpPanelAndASecondPressChangesNothing)
{
    constexpr int kFocusedButtons[] = {kAutoProcess, kStartService, kStopService};
    for (const int button : kFocusedButtons) {
        SCOPED_TRACE("focus on " + std::to_string(button));
        StartedDialog app;
        ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
        BringToFront(app.dialog);
        ASSERT_TRUE(TabTo(app.dialog, button));

        PressKey(VK_F1, VK_CONTROL);
        ASSERT_TRUE(WaitUntil([&] { return HelpPanelVisible(app.dialog); }, 2s)) << "the help panel stayed hidden";
        ExpectControlsAsDesigned(app.dialog, HelpPanel::Shown);
        EXPECT_EQ(FocusedId(app.dialog), button);

        const std::string revealed = VisibleState(app.dialog);
        PressKey(VK_F1, VK_CONTROL);
        EXPECT_FALSE(WaitUntil([&] { return VisibleState(app.dialog) != revealed; }, 1s));
        EXPECT_EQ(VisibleState(app.dialog), revealed);
        EXPECT_TRUE(app.Runs().empty());
        EXPECT_TRUE(FindMessageBoxes(app.program.Pid()).empty());
    }
}

// The user presses F1 alone: the help panel stays hidden, and since there is no help file beside the
// program the framework says "启动帮助失败。" in a box owned by the dialog; after OK all is as before.
TEST(MainDialog, F1AloneLeavesThePanelHiddenAndSaysHelpCannotStart)
{
    StartedDialog app;
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    BringToFront(app.dialog);
    PressKey(VK_F1);

    const std::optional<SeenMessageBox> box = WaitForMessageBox(app.program.Pid(), 5s);
    ASSERT_TRUE(box.has_value()) << "F1 showed no message";
    EXPECT_EQ(box->text, L"启动帮助失败。");
    EXPECT_EQ(box->caption, L"ostrafen");
    EXPECT_EQ(box->owner, app.dialog);
    EXPECT_FALSE(::IsWindowEnabled(app.dialog)) << "the box is modal to the dialog";
    EXPECT_TRUE(HelpPanelHidden(app.dialog));

    ASSERT_TRUE(PressOk(*box));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(app.dialog) != FALSE; }, 2s));
    EXPECT_TRUE(HelpPanelHidden(app.dialog));
    EXPECT_TRUE(app.program.Running());
    EXPECT_TRUE(app.Runs().empty());
}

// The user presses Tab over and over: the focus goes from button to button in the design's order and
// wraps round to 自动处理, passing the help text only once the panel has been revealed.
TEST(MainDialog, TabMovesTheFocusToTheNextButton)
{
    StartedDialog app;
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    BringToFront(app.dialog);
    ASSERT_EQ(FocusedId(app.dialog), kAutoProcess);

    struct TabRound {
        const char* name;
        bool revealPanel;
        std::vector<int> focusAfterEachTab;
    };
    const TabRound kRounds[] = {
        {"help panel hidden",
         false,
         {kInstallService, kStartService, kAddFirewallRules, kUninstallService, kStopService, kAutoProcess}},
        {"help panel revealed",
         true,
         {kInstallService, kStartService, kAddFirewallRules, kUninstallService, kStopService, kHelpText, kAutoProcess}},
    };
    for (const TabRound& round : kRounds) {
        SCOPED_TRACE(round.name);
        if (round.revealPanel) {
            PressKey(VK_F1, VK_CONTROL);
            ASSERT_TRUE(WaitUntil([&] { return HelpPanelVisible(app.dialog); }, 2s));
        }
        for (size_t i = 0; i < round.focusAfterEachTab.size(); ++i) {
            SCOPED_TRACE("Tab #" + std::to_string(i + 1));
            PressKey(VK_TAB);
            const int expected = round.focusAfterEachTab[i];
            EXPECT_TRUE(WaitUntil([&] { return FocusedId(app.dialog) == expected; }, 2s))
                << "focus on " << FocusedId(app.dialog) << ", expected " << expected;
        }
    }
}

// Where a top-level window stands in the z-order, 0 being the top.
int ZOrderOf(HWND window)
{
    int position = 0;
    for (HWND hwnd = ::GetTopWindow(nullptr); hwnd != nullptr; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT), ++position) {
        if (hwnd == window) return position;
    }
    return -1;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// The user brings a window of another application, not itself topmost and lying over the dialog, to
// the front: it becomes the active window, yet the dialog stays above it and is what shows.
TEST(MainDialog, StaysAboveAnotherApplicationsWindowBroughtToTheFront)
{
    StartedDialog app;
    ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
    // Let the start-up finish activating the dialog first, so that nothing of it comes after our window.
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == app.dialog; }, 5s));
    RECT dialogRect;
    ::GetWindowRect(app.dialog, &dialogRect);

    // A class of its own: a static control's window is transparent to WindowFromPoint.
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"AnotherApplication";
    ::RegisterClassW(&windowClass);
    HWND other =
        ::CreateWindowExW(0, windowClass.lpszClassName, L"another application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          dialogRect.left - 40, dialogRect.top - 40, dialogRect.right - dialogRect.left + 80,
                          dialogRect.bottom - dialogRect.top + 80, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ::SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(other);
    EXPECT_TRUE(WaitUntil(
        [&] {
            PumpMessages();
            return ::GetForegroundWindow() == other;
        },
        3s))
        << "the other window did not come to the front";
    EXPECT_FALSE(::GetWindowLongW(other, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_GE(ZOrderOf(app.dialog), 0);
    ASSERT_GE(ZOrderOf(other), 0);
    EXPECT_FALSE(WaitUntil(
        [&] {
            PumpMessages();
            return ZOrderOf(other) < ZOrderOf(app.dialog);
        },
        1s))
        << "the other window rose above the dialog";
    EXPECT_LT(ZOrderOf(app.dialog), ZOrderOf(other)) << "the dialog is above the other window";
    const POINT centre = {(dialogRect.left + dialogRect.right) / 2, (dialogRect.top + dialogRect.bottom) / 2};
    EXPECT_EQ(::GetAncestor(::WindowFromPoint(centre), GA_ROOT), app.dialog) << "the dialog is what shows there";

    ::DestroyWindow(other);
}

// A mouse click on the caption's close button, found by asking the window what lies under the points of
// its title bar. False when there is none, or the pointer did not get there.
bool ClickCloseButton(HWND dialog)
{
    BringToFront(dialog);
    TITLEBARINFO bar = {};
    bar.cbSize = sizeof bar;
    if (!::GetTitleBarInfo(dialog, &bar)) return false;
    const int y = (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2;
    const auto onCloseButton = [dialog](int x, int y) {
        return ::SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE;
    };
    int right = bar.rcTitleBar.right;
    while (right > bar.rcTitleBar.left && !onCloseButton(right, y)) --right;
    int left = right;
    while (left > bar.rcTitleBar.left && onCloseButton(left - 1, y)) --left;
    if (!onCloseButton(right, y)) return false;
    const POINT target = {(left + right) / 2, y};

    // Every event carries its absolute position: Wine's pointer in the virtual desktop is not moved by
    // SetCursorPos, and may be put back where X has it between events.
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = ::MulDiv(target.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = ::MulDiv(target.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    INPUT press = move;
    press.mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    INPUT release = move;
    release.mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    const auto heldByDialog = [dialog] { return GuiThreadState(dialog).hwndCapture == dialog; };

    ::SendInput(1, &move, sizeof(INPUT));
    POINT cursor;
    if (!WaitUntil([&] { return ::GetCursorPos(&cursor) && onCloseButton(cursor.x, cursor.y); }, 2s)) return false;
    // The button takes the mouse while it is held down and counts the release as a click only then.
    ::SendInput(1, &press, sizeof(INPUT));
    const bool held = WaitUntil(heldByDialog, 2s);
    ::SendInput(1, &release, sizeof(INPUT));
    return held;
}

bool ChooseCloseCommand(HWND dialog) { return ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE; }

bool PressAltF4(HWND dialog)
{
    BringToFront(dialog);
    INPUT keys[4] = {};
    const WORD sequence[4][2] = {{VK_MENU, 0}, {VK_F4, 0}, {VK_F4, KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP}};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i][0];
        keys[i].ki.dwFlags = sequence[i][1];
    }
    return ::SendInput(4, keys, sizeof(INPUT)) == 4;
}

// The user closes the window with the caption's close button, with Close from the system menu, or with
// Alt+F4: each time the program ends at once.
TEST(MainDialog, CloseButtonCloseCommandAndAltF4EachEndTheProgram)
{
    struct CloseCase {
        const char* how;
        bool (*close)(HWND dialog);
    };
    constexpr CloseCase kWays[] = {
        {"the caption's close button", &ClickCloseButton},
        {"Close (SC_CLOSE) from the system menu", &ChooseCloseCommand},
        {"Alt+F4", &PressAltF4},
    };
    for (const CloseCase& way : kWays) {
        SCOPED_TRACE(way.how);
        StartedDialog app;
        ASSERT_NE(app.dialog, nullptr) << "the main dialog never appeared";
        ASSERT_TRUE(way.close(app.dialog));
        EXPECT_TRUE(app.program.WaitForExit(5s)) << "the program is still running";
        EXPECT_TRUE(app.Runs().empty());
    }
}

}  // namespace
