// The automatic action's start: the worker is detached and the caller returns at once; and when no
// thread can be made, nothing runs and the user is told, instead of an exception escaping into the
// window procedure. This program lives in a folder with the recorder beside it as velmarid.exe, so the
// presence check passes and any run that started would show in runs.log.
#include "service/ServiceActions.h"
#include "tests/fixtures/RunRecord.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

size_t RunsSoFar() { return ReadRunLog(TestsFolder() + L"\\runs.log").records.size(); }

void NoThreadCanBeMade(std::function<void()>)
{
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

TEST(StartWorkerAction, ThreadCreationFailureStartsNothingAndSaysSo)
{
    const size_t runsBefore = RunsSoFar();
    std::atomic<bool> bodyRan{false};
    // Every box that comes, pressed away as it comes; a second one would come within the quiet spell.
    std::vector<SeenMessageBox> boxes;
    auto reader = std::async(std::launch::async, [&boxes] {
        std::vector<HWND> seen;
        for (auto wait = 10s; auto box = WaitForMessageBox(::GetCurrentProcessId(), wait, seen); wait = 1s) {
            boxes.push_back(*box);
            seen.push_back(box->hwnd);
            PressOk(*box);
        }
    });

    EXPECT_NO_THROW(StartWorkerAction([&bodyRan] { bodyRan = true; }, &NoThreadCanBeMade));
    reader.get();

    ASSERT_EQ(boxes.size(), 1u) << "the user must hear, once, that nothing was done";
    EXPECT_EQ(boxes[0].text, L"无法启动后台线程，自动处理未执行任何操作。");
    EXPECT_FALSE(bodyRan);
    EXPECT_EQ(RunsSoFar(), runsBefore);
}

TEST(StartWorkerAction, ReturnsAtOnceWhileTheDetachedWorkerRuns)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<DWORD> workerThread;
    std::future<DWORD> workerId = workerThread.get_future();

    StartWorkerAction([released, &workerThread] {
        workerThread.set_value(::GetCurrentThreadId());
        released.wait();  // still running when the caller has returned
    });
    ASSERT_EQ(workerId.wait_for(5s), std::future_status::ready);
    EXPECT_NE(workerId.get(), ::GetCurrentThreadId());
    release.set_value();
}

}  // namespace
