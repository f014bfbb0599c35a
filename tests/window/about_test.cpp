// Real-window tests of the About box and the system menu that opens it, and of the one key the main
// dialog's filter must pass on to the help text, Ctrl+Break. What only the program can see (its system
// menu, the keys that reach a control, its dialog units) is read by probe.dll, hooked into it.
#include "res/resource.h"
#include "tests/fixtures/RunRecord.h"
#include "tests/probe/ProbeClient.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Program.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kMainCaption[] = L"Ostrafen";
constexpr wchar_t kAboutCaption[] = L"关于 ostrafen";
constexpr wchar_t kAboutEntry[] = L"关于 ostrafen(&A)...";

// ostrafen.exe in a sandbox with the recorder beside it, started from elsewhere, its main dialog up
// and the probe hooked into the dialog's thread.
struct Utility {
    Sandbox sandbox{L"ostrafen.exe", ToolBeside::Recorder};
    Program program{sandbox.ProgramPath(), sandbox.Elsewhere()};
    HWND dialog = program.WaitForDialog(kMainCaption, 15s);
    ProbeSession probe{program.Pid(), dialog};
};

std::string Listing(const std::vector<Probe::MenuItem>& items)
{
    std::ostringstream out;
    out << "system menu:\n";
    for (const Probe::MenuItem& item : items) {
        out << "  " << std::hex << "id 0x" << item.id << " type 0x" << item.type << " \"" << Narrow(item.text)
            << "\"\n";
    }
    return out.str();
}

int IndexOfCommand(const std::vector<Probe::MenuItem>& items, UINT command)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].id == command && (items[i].type & MFT_SEPARATOR) == 0) return static_cast<int>(i);
    }
    return -1;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// A left click at a point of the screen, as the mouse gives it. Every event carries the point itself:
// under Wine a click sent after SetCursorPos, even once GetCursorPos reports the new place, now and
// then lands where the pointer was before.
void ClickAt(POINT point)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    for (DWORD button : {DWORD{0}, DWORD{MOUSEEVENTF_LEFTDOWN}, DWORD{MOUSEEVENTF_LEFTUP}}) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        // Normalised to 0..65535 and rounded up, so that scaling back lands on the pixel itself.
        input.mi.dx = (point.x * 65536 + width - 1) / width;
        input.mi.dy = (point.y * 65536 + height - 1) / height;
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
        ::SendInput(1, &input, sizeof(INPUT));
        ::Sleep(100);
    }
    ::Sleep(100);
}

// The middle of the caption's close button, found as the mouse finds it: by asking the window what
// lies under points along its caption.
std::optional<POINT> CloseButtonOf(HWND window)
{
    TITLEBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    if (!::GetTitleBarInfo(window, &bar)) return std::nullopt;
    const int y = (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2;
    const RECT rect = WindowRect(window);
    const auto isClose = [&](int x) { return ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE; };
    for (int right = rect.right - 1; right > rect.left; --right) {
        if (!isClose(right)) continue;
        int left = right;
        while (left > rect.left && isClose(left - 1)) --left;
        return POINT{(left + right) / 2, y};
    }
    return std::nullopt;
}

// The program's About box window, shown or not.
HWND FindAboutBox(DWORD pid)
{
    for (HWND hwnd : TopLevelWindows(pid)) {
        wchar_t className[32] = {};
        ::GetClassNameW(hwnd, className, 32);
        if (wcscmp(className, L"#32770") == 0 && WindowText(hwnd) == kAboutCaption) return hwnd;
    }
    return nullptr;
}

// Why no About box could be seen.
std::string AboutBoxTrouble(DWORD pid)
{
    HWND about = FindAboutBox(pid);
    if (about == nullptr) return "no About box window exists";
    std::ostringstream out;
    out << "an About box window exists (style 0x" << std::hex << ::GetWindowLongW(about, GWL_STYLE)
        << ") but it is not shown, and the main dialog is "
        << (::IsWindowEnabled(::GetWindow(about, GW_OWNER)) ? "enabled" : "disabled");
    return out.str();
}

// Closes an About box left open by a failed case, so the next case starts from the main dialog.
void DismissAboutBox(DWORD pid)
{
    if (HWND about = FindAboutBox(pid)) {
        ::PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitUntil([about] { return !::IsWindow(about); }, 5s);
    }
}

// Opens the system menu with Alt+Space and picks our entry with the arrow keys and Enter. Its access
// key A cannot be used under Wine: Wine's own "&About Wine" comes first with the same letter.
void ChooseAboutFromSystemMenu(Utility& utility)
{
    const auto items = utility.probe.SystemMenu(utility.dialog);
    ASSERT_TRUE(items.has_value()) << "the probe did not answer";
    const int index = IndexOfCommand(*items, IDM_ABOUT);
    ASSERT_GE(index, 0) << Listing(*items);
    // Up from the first item, or from no selection, lands on the last; each further Up one higher.
    int upPresses = 1;
    for (size_t i = static_cast<size_t>(index) + 1; i < items->size(); ++i) {
        if (((*items)[i].type & MFT_SEPARATOR) == 0) ++upPresses;
    }
    BringToFront(utility.dialog);
    PressKey(VK_SPACE, VK_MENU);
    ASSERT_TRUE(WaitUntil([&] { return (GuiThreadState(utility.dialog).flags & GUI_INMENUMODE) != 0; }, 5s))
        << "Alt+Space opened no system menu";
    for (int i = 0; i < upPresses; ++i) PressKey(VK_UP);
    PressKey(VK_RETURN);
}

// The About box as the user sees it: the icon, "ostrafen，版本 1.0", a copyright line and 确定, in that
// order, all shown; its size and its button where the template puts them, in its own dialog units.
void ExpectAboutBoxContents(HWND about, ProbeSession& probe)
{
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(about, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(child);
    }
    ASSERT_EQ(controls.size(), 4u);
    const auto classOf = [](HWND hwnd) {
        wchar_t name[32] = {};
        ::GetClassNameW(hwnd, name, 32);
        return std::wstring(name);
    };
    for (HWND control : controls) EXPECT_TRUE(::IsWindowVisible(control));

    EXPECT_EQ(classOf(controls[0]), L"Static");
    EXPECT_EQ(::GetWindowLongW(controls[0], GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(::SendMessageW(controls[0], STM_GETICON, 0, 0), 0) << "the icon static shows no icon";

    EXPECT_EQ(classOf(controls[1]), L"Static");
    EXPECT_EQ(WindowText(controls[1]), L"ostrafen\xFF0C版本 1.0");  // a full-width comma
    EXPECT_EQ(classOf(controls[2]), L"Static");
    EXPECT_FALSE(WindowText(controls[2]).empty()) << "the copyright line is empty";

    EXPECT_EQ(classOf(controls[3]), L"Button");
    EXPECT_EQ(::GetDlgCtrlID(controls[3]), IDOK);
    EXPECT_EQ(WindowText(controls[3]), L"确定");

    const std::optional<RECT> size = probe.MapDialogRect(about, RECT{0, 0, 170, 62});
    const std::optional<RECT> button = probe.MapDialogRect(about, RECT{113, 41, 113 + 50, 41 + 14});
    ASSERT_TRUE(size.has_value() && button.has_value()) << "the probe did not answer";
    RECT client = {};
    ::GetClientRect(about, &client);
    EXPECT_NEAR(client.right, size->right, 1);
    EXPECT_NEAR(client.bottom, size->bottom, 1);
    RECT ok = WindowRect(controls[3]);
    ::MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_NEAR(ok.left, button->left, 1);
    EXPECT_NEAR(ok.top, button->top, 1);
    EXPECT_NEAR(ok.right, button->right, 1);
    EXPECT_NEAR(ok.bottom, button->bottom, 1);
}

// What must be the same on the main dialog before the About box opens and after it closes.
struct MainState {
    bool enabled;
    bool topmost;
    bool helpGroupShown;
    bool helpTextShown;
    RECT rect;
    HWND active;
    HWND focus;
};

MainState StateOf(HWND dialog)
{
    const GUITHREADINFO thread = GuiThreadState(dialog);
    return MainState{::IsWindowEnabled(dialog) != FALSE,
                     (::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                     ::IsWindowVisible(::GetDlgItem(dialog, IDC_HELP_GROUP)) != FALSE,
                     ::IsWindowVisible(::GetDlgItem(dialog, IDC_HELP_TEXT)) != FALSE,
                     WindowRect(dialog),
                     thread.hwndActive,
                     thread.hwndFocus};
}

// The user reveals the help panel with Ctrl+F1 and clicks into its text.
void FocusRevealedHelpText(HWND dialog)
{
    BringToFront(dialog);
    PressKey(VK_F1, VK_CONTROL);
    HWND help = ::GetDlgItem(dialog, IDC_HELP_TEXT);
    ASSERT_TRUE(WaitUntil([help] { return ::IsWindowVisible(help) != FALSE; }, 3s)) << "Ctrl+F1 revealed no help text";
    ClickAt(Centre(WindowRect(help)));
    ASSERT_TRUE(WaitUntil([&] { return GuiThreadState(dialog).hwndFocus == help; }, 3s))
        << "the help text took no focus";
}

}  // namespace

// The user opens the caption's menu and finds, below the standard commands, a separator and
// "关于 ostrafen(&A)...". Wine puts its own "About Wine" into every system menu, so the entry is found by
// its command, not by its place from the end.
TEST(AboutBox, SystemMenuHasSeparatorAndAboutEntryBelowTheStandardCommands)
{
    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    ASSERT_TRUE(utility.probe.Ready()) << "cannot hook " << Narrow(ProbeSession::ProbePath()) << " into the dialog";
    const auto items = utility.probe.SystemMenu(utility.dialog);
    ASSERT_TRUE(items.has_value()) << "the probe did not answer from inside ostrafen.exe";
    EXPECT_EQ(utility.probe.AnsweredByPid(), utility.program.Pid()) << "the hook did not run in the program";
    ASSERT_FALSE(items->empty()) << "the dialog has no system menu";

    int entries = 0;
    for (const Probe::MenuItem& item : *items) entries += item.id == IDM_ABOUT ? 1 : 0;
    ASSERT_EQ(entries, 1) << Listing(*items);
    const int index = IndexOfCommand(*items, IDM_ABOUT);
    ASSERT_GE(index, 1) << Listing(*items);
    const Probe::MenuItem& entry = (*items)[index];
    EXPECT_EQ(entry.type, static_cast<UINT>(MFT_STRING)) << Listing(*items);
    EXPECT_EQ(std::wstring(entry.text), kAboutEntry);
    EXPECT_EQ(entry.state & (MFS_GRAYED | MFS_CHECKED), 0u) << "the entry is greyed or checked";
    EXPECT_NE((*items)[index - 1].type & MFT_SEPARATOR, 0u) << "no separator right before the entry\n"
                                                            << Listing(*items);

    // Move and Close are there, and every standard command comes before the separator.
    const int separator = index - 1;
    for (UINT command : {SC_MOVE, SC_CLOSE}) {
        SCOPED_TRACE(command);
        const int at = IndexOfCommand(*items, command);
        EXPECT_GE(at, 0) << Listing(*items);
        EXPECT_LT(at, separator) << Listing(*items);
    }
    for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) {
        SCOPED_TRACE(command);
        EXPECT_LT(IndexOfCommand(*items, command), separator) << Listing(*items);
    }
}

// The user presses Alt+Space, picks "关于 ostrafen" and sees the About box centred over the main dialog,
// owned by it and active; the main dialog is disabled, and a click on its 安装服务 starts nothing
// until the box is closed (then the same click does start the run).
TEST(AboutBox, ChoosingTheEntryOpensTheAboutBoxOverTheDisabledMainDialog)
{
    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    ASSERT_TRUE(utility.probe.Ready()) << "cannot hook the probe into the dialog";
    ChooseAboutFromSystemMenu(utility);
    if (HasFatalFailure()) return;

    HWND about = utility.program.WaitForDialog(kAboutCaption, 10s);
    ASSERT_NE(about, nullptr) << AboutBoxTrouble(utility.program.Pid());
    EXPECT_EQ(::GetWindow(about, GW_OWNER), utility.dialog);
    EXPECT_FALSE(::IsWindowEnabled(utility.dialog)) << "the main dialog still takes input";
    EXPECT_TRUE(WaitUntil([&] { return GuiThreadState(utility.dialog).hwndActive == about; }, 3s))
        << "the About box is not the active window";
    const POINT aboutCentre = Centre(WindowRect(about));
    const POINT mainCentre = Centre(WindowRect(utility.dialog));
    EXPECT_NEAR(aboutCentre.x, mainCentre.x, 2);
    EXPECT_NEAR(aboutCentre.y, mainCentre.y, 2);
    ExpectAboutBoxContents(about, utility.probe);

    const POINT install = Centre(WindowRect(::GetDlgItem(utility.dialog, IDC_INSTALL_SERVICE)));
    const RECT aboutRect = WindowRect(about);
    ASSERT_FALSE(::PtInRect(&aboutRect, install)) << "安装服务 lies under the About box";
    ClickAt(install);
    ::Sleep(1500);
    EXPECT_TRUE(ReadRunLog(utility.sandbox.RunLogPath()).records.empty())
        << "the click on the disabled dialog ran the tool";
    EXPECT_TRUE(FindMessageBoxes(utility.program.Pid()).empty()) << "the click on the disabled dialog showed a box";
    EXPECT_TRUE(::IsWindowVisible(about));

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([about] { return !::IsWindow(about); }, 5s)) << "Escape did not close the About box";
    ClickAt(install);
    const std::optional<SeenMessageBox> done = WaitForMessageBox(utility.program.Pid(), 10s);
    ASSERT_TRUE(done.has_value()) << "with the About box closed, the click on 安装服务 did nothing";
    EXPECT_EQ(done->text, L"执行完毕!");
    EXPECT_EQ(done->owner, utility.dialog) << "the closed About box must not own the message";
    // The run's record may land a moment after the message.
    const auto runs = [&] { return ReadRunLog(utility.sandbox.RunLogPath()).records.size(); };
    EXPECT_TRUE(WaitUntil([&] { return runs() >= 1; }, 10s));
    ::Sleep(500);
    EXPECT_EQ(runs(), 1u);
    PressOk(*done);
}

// Each way of closing the About box closes it and gives back the main dialog as it was: enabled,
// topmost, the help panel as it was, and the focus where it was (once with the help text revealed by
// Ctrl+F1 and focused).
TEST(AboutBox, EscapeEnterOkAndTheCloseButtonEachCloseItAndTheMainDialogComesBackUnchanged)
{
    enum class Closing { Escape, Enter, ClickOk, ClickCloseButton };
    struct CloseCase {
        const char* what;
        Closing how;
        bool helpTextFocusedFirst;
    };
    const CloseCase cases[] = {
        {"Escape", Closing::Escape, false},
        {"Enter", Closing::Enter, false},
        {"a click on 确定", Closing::ClickOk, false},
        {"a click on the caption's close button", Closing::ClickCloseButton, false},
        // Last: nothing hides the help panel again.
        {"Escape, with the help text revealed and focused", Closing::Escape, true},
    };

    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.what);
        BringToFront(utility.dialog);
        if (c.helpTextFocusedFirst) {
            FocusRevealedHelpText(utility.dialog);
            if (HasFatalFailure()) return;
        }
        const MainState before = StateOf(utility.dialog);
        ASSERT_EQ(before.active, utility.dialog);
        ASSERT_NE(before.focus, nullptr);

        ::PostMessageW(utility.dialog, WM_SYSCOMMAND, IDM_ABOUT, 0);
        HWND about = utility.program.WaitForDialog(kAboutCaption, 5s);
        if (about == nullptr) {
            ADD_FAILURE() << AboutBoxTrouble(utility.program.Pid());
            DismissAboutBox(utility.program.Pid());
            continue;
        }
        EXPECT_TRUE(WaitUntil([&] { return GuiThreadState(utility.dialog).hwndActive == about; }, 3s));
        switch (c.how) {
        case Closing::Escape:
            PressKey(VK_ESCAPE);
            break;
        case Closing::Enter:
            PressKey(VK_RETURN);
            break;
        case Closing::ClickOk:
            ClickAt(Centre(WindowRect(::GetDlgItem(about, IDOK))));
            break;
        case Closing::ClickCloseButton:
            if (const std::optional<POINT> close = CloseButtonOf(about)) {
                ClickAt(*close);
            } else {
                ADD_FAILURE() << "the About box has no close button";
            }
            break;
        }
        EXPECT_TRUE(WaitUntil([about] { return !::IsWindow(about); }, 5s)) << "the About box is still open";
        DismissAboutBox(utility.program.Pid());

        WaitUntil([&] { return StateOf(utility.dialog).focus == before.focus; }, 3s);
        const MainState after = StateOf(utility.dialog);
        EXPECT_TRUE(after.enabled);
        EXPECT_TRUE(after.topmost);
        EXPECT_EQ(after.helpGroupShown, before.helpGroupShown);
        EXPECT_EQ(after.helpTextShown, before.helpTextShown);
        EXPECT_TRUE(::EqualRect(&after.rect, &before.rect)) << "the main dialog moved or changed size";
        EXPECT_EQ(after.active, utility.dialog) << "the main dialog is not active again";
        EXPECT_EQ(after.focus, before.focus)
            << "the focus did not come back to control " << ::GetDlgCtrlID(before.focus);
        EXPECT_TRUE(utility.program.Running());
    }
}

// The About command is recognised with its four low bits masked off, as system commands are: 0x0011
// to 0x001F open the box as 0x0010 does; neighbouring commands do not.
TEST(AboutBox, SystemCommandOpensItWhateverItsFourLowBits)
{
    struct CommandCase {
        UINT command;
        bool opensAbout;
    };
    const CommandCase cases[] = {
        {0x0010, true}, {0x0011, true}, {0x0018, true}, {0x001F, true}, {0x0020, false}, {0x0001, false},
    };

    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.command);
        ::PostMessageW(utility.dialog, WM_SYSCOMMAND, c.command, 0);
        if (c.opensAbout) {
            HWND about = utility.program.WaitForDialog(kAboutCaption, 5s);
            EXPECT_NE(about, nullptr) << AboutBoxTrouble(utility.program.Pid());
            if (about != nullptr) {
                EXPECT_EQ(::GetWindow(about, GW_OWNER), utility.dialog);
            }
        } else {
            ::Sleep(1000);
            EXPECT_EQ(FindAboutBox(utility.program.Pid()), nullptr) << "the command opened the About box";
            EXPECT_TRUE(::IsWindowEnabled(utility.dialog));
        }
        DismissAboutBox(utility.program.Pid());
        ASSERT_EQ(FindAboutBox(utility.program.Pid()), nullptr) << "the About box does not close";
    }
}

// The standard commands still reach the system: the user chooses Move (SC_MOVE) and moves the
// window with the arrow keys; Enter ends the move. Under Wine the pointer also steers the move, so
// only that the window moved, keeping its size, is judged.
TEST(SystemMenu, MoveCommandAndTheArrowKeysMoveTheWindow)
{
    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    BringToFront(utility.dialog);
    const RECT before = WindowRect(utility.dialog);

    ::PostMessageW(utility.dialog, WM_SYSCOMMAND, SC_MOVE, 0);
    ASSERT_TRUE(WaitUntil([&] { return (GuiThreadState(utility.dialog).flags & GUI_INMOVESIZE) != 0; }, 5s))
        << "SC_MOVE started no move";
    for (WORD key : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN}) PressKey(key);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return (GuiThreadState(utility.dialog).flags & GUI_INMOVESIZE) == 0; }, 5s))
        << "Enter did not end the move";

    const RECT after = WindowRect(utility.dialog);
    EXPECT_FALSE(::EqualRect(&after, &before)) << "the window did not move";
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_TRUE(utility.program.Running());
}

// The user opens the system menu with Alt+Space and presses C for Close: the program ends.
TEST(SystemMenu, CloseChosenByItsAccessKeyEndsTheProgram)
{
    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    BringToFront(utility.dialog);
    PressKey(VK_SPACE, VK_MENU);
    ASSERT_TRUE(WaitUntil([&] { return (GuiThreadState(utility.dialog).flags & GUI_INMENUMODE) != 0; }, 5s))
        << "Alt+Space opened no system menu";
    PressKey('C');
    EXPECT_TRUE(utility.program.WaitForExit(5s)) << "the program is still running";
}

// With the help text revealed and focused, the main dialog's key filter swallows Escape and Enter
// (the probe counts what reaches the edit's window procedure: they do not, an ordinary key does) but
// passes Ctrl+Break on to the dialog filter beneath, which turns it into a cancel: the window closes
// and the program ends normally, starting nothing.
TEST(HelpText, CtrlBreakInTheRevealedHelpTextClosesTheProgram)
{
    struct KeyCase {
        const char* what;
        WORD key;
        LONG reachingTheEdit;
    };
    const KeyCase cases[] = {
        {"Escape is swallowed", VK_ESCAPE, 0},
        {"Enter is swallowed", VK_RETURN, 0},
        {"Down, an ordinary key, reaches the edit", VK_DOWN, 1},
    };

    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    FocusRevealedHelpText(utility.dialog);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(utility.probe.WatchKeys(utility.dialog, IDC_HELP_TEXT)) << "the probe cannot watch the help text";
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = utility.probe.KeyDowns(utility.dialog);
        ASSERT_TRUE(before.has_value()) << "the probe did not answer";
        PressKey(c.key);
        ::Sleep(300);
        const auto after = utility.probe.KeyDowns(utility.dialog);
        ASSERT_TRUE(after.has_value()) << "the probe did not answer";
        EXPECT_EQ((*after)[c.key] - (*before)[c.key], c.reachingTheEdit);
    }
    ASSERT_TRUE(utility.program.Running()) << "Escape or Enter closed the program";

    PressKey(VK_CANCEL, VK_CONTROL);
    ASSERT_TRUE(utility.program.WaitForExit(5s)) << "Ctrl+Break in the help text did not close the program";
    EXPECT_EQ(utility.program.ExitCode(), 0u) << "the program did not end normally";
    EXPECT_TRUE(ReadRunLog(utility.sandbox.RunLogPath()).records.empty());
}

// F1 in the open About box: the framework's help cannot start, and its message is owned by the About
// box, the window the user is working in, not by the disabled main dialog beneath it.
TEST(AboutBox, HelpFailureFromTheAboutBoxIsOwnedByTheAboutBox)
{
    Utility utility;
    ASSERT_NE(utility.dialog, nullptr) << "the main dialog did not come up";
    ::PostMessageW(utility.dialog, WM_SYSCOMMAND, IDM_ABOUT, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindAboutBox(utility.program.Pid()) != nullptr; }, 5s));
    HWND about = FindAboutBox(utility.program.Pid());
    BringToFront(about);
    PressKey(VK_F1);

    const std::optional<SeenMessageBox> box = WaitForMessageBox(utility.program.Pid(), 5s);
    ASSERT_TRUE(box.has_value()) << "F1 in the About box showed no message";
    EXPECT_EQ(box->text, L"启动帮助失败。");
    EXPECT_EQ(box->owner, about);
    EXPECT_FALSE(::IsWindowEnabled(about)) << "the message is modal to the About box";
    ASSERT_TRUE(PressOk(*box));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(about) != FALSE; }, 2s));
    DismissAboutBox(utility.program.Pid());
}
