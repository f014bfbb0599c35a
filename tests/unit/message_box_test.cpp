// The program's message boxes as the user meets them: AfxMessageBox's caption, icon and owner, and
// the missing-tool message of CheckServiceTool. The boxes are real; a second thread reads and closes
// them.
#include "framework/AfxMessageBox.h"
#include "framework/CString.h"
#include "framework/CWinApp.h"
#include "service/ServiceToolLauncher.h"
#include "tests/support/MessageBoxes.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Runs `show` (which puts up a box and blocks until it is closed) on its own thread when asked, reads
// the box that appears and presses OK.
struct ReadBox : SeenMessageBox {
    HICON icon = nullptr;
};

template <typename Show>
ReadBox ShowAndRead(Show show, bool onWorker = false)
{
    ReadBox seen;
    auto reader = std::async(std::launch::async, [&seen] {
        if (auto box = WaitForMessageBox(::GetCurrentProcessId(), 10s)) {
            static_cast<SeenMessageBox&>(seen) = *box;
            seen.icon = MessageBoxIcon(*box);
            PressOk(*box);
        }
    });
    if (onWorker) {
        std::thread(show).join();
    } else {
        show();
    }
    reader.get();
    return seen;
}

std::wstring ExecutableName()
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L'\\') + 1);
    return name.substr(0, name.rfind(L'.'));
}

TEST(AfxMessageBox, CaptionIsTheExecutableNameAndIconTheExclamation)
{
    const ReadBox box = ShowAndRead([] { AfxMessageBox(L"执行完毕!"); });
    EXPECT_EQ(box.text, L"执行完毕!");
    EXPECT_EQ(box.caption, ExecutableName());
    EXPECT_EQ(box.icon, ::LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(box.owner, nullptr) << "no main window yet: nobody owns the box";
}

TEST(AfxMessageBox, AGivenIconIsKept)
{
    const ReadBox box = ShowAndRead([] { AfxMessageBox(L"x", MB_OK | MB_ICONINFORMATION); });
    EXPECT_EQ(box.icon, ::LoadIconW(nullptr, IDI_INFORMATION));
}

// An application object with a plain window as its main window, on this thread.
struct AppWithMainWindow {
    CWinApp app;
    CWnd window;
    AppWithMainWindow()
    {
        window.m_hWnd = ::CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                          nullptr, nullptr, nullptr, nullptr);
        app.m_pMainWnd = &window;
    }
    ~AppWithMainWindow()
    {
        app.m_pMainWnd = nullptr;
        ::DestroyWindow(window.m_hWnd);
    }
};

TEST(AfxMessageBox, OwnedByTheMainWindowOnlyOnItsThread)
{
    AppWithMainWindow fixture;
    const ReadBox onUiThread = ShowAndRead([] { AfxMessageBox(L"ui"); });
    EXPECT_EQ(onUiThread.owner, fixture.window.m_hWnd);
    const ReadBox onWorker = ShowAndRead([] { AfxMessageBox(L"worker"); }, true);
    EXPECT_EQ(onWorker.text, L"worker");
    EXPECT_EQ(onWorker.owner, nullptr);
}

TEST(CheckServiceTool, MissingToolIsReportedWithItsPath)
{
    // Nothing named velmarid.exe lies beside the test executables.
    std::wstring toolPath, moduleDirectory;
    LocateServiceTool(toolPath, moduleDirectory);
    ASSERT_FALSE(IsServiceToolPresent(toolPath));

    bool result = true;
    const ReadBox box = ShowAndRead([&result] { result = CheckServiceTool(); });
    EXPECT_FALSE(result);
    EXPECT_EQ(box.text, L"缺失文件: " + toolPath + L"\r\n请重新下载最新安装包!");
    EXPECT_EQ(box.caption, ExecutableName());
}

TEST(LaunchServiceTool, MissingToolStartsNothingAndSaysNothing)
{
    // On a thread of its own, so that a box it showed could not hold this test up: it would be seen.
    auto launched = std::async(std::launch::async, [] { LaunchServiceTool(L"-i", true); });
    // Not a timing check: a launch that showed a box would still be blocked in it.
    ASSERT_EQ(launched.wait_for(10s), std::future_status::ready) << "the launch is blocked";
    EXPECT_FALSE(WaitForMessageBox(::GetCurrentProcessId(), 500ms).has_value()) << "the launch said something";
    for (const SeenMessageBox& box : FindMessageBoxes(::GetCurrentProcessId())) PressOk(box);
}

TEST(CString, FormatReadsPercentSAsAWideString)
{
    CString text;
    text.Format(L"缺失文件: %s\r\n%d", L"C:\\工具\\velmarid.exe", 7);
    EXPECT_STREQ(text, L"缺失文件: C:\\工具\\velmarid.exe\r\n7");
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_TRUE(CString(L"").IsEmpty());
    EXPECT_TRUE(CString().IsEmpty());
    const CString copy = text;
    EXPECT_EQ(static_cast<const wchar_t*>(copy), static_cast<const wchar_t*>(text)) << "copies share the buffer";
}

}  // namespace
