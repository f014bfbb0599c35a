// The six things the user can ask for, each a fixed sequence of runs of the service tool, and the
// two ways of carrying one out: to the end on the calling thread, or on a worker thread of its own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

// One step of an action: a run of the tool (toolSwitch set), or a pause between runs.
struct Step {
    const wchar_t* toolSwitch;  // null for a pause
    bool shown;
    DWORD pauseMs;
};

// An action's steps in order, viewed over a static array.
struct Action {
    const Step* steps;
    std::size_t count;

    template <std::size_t N>
    constexpr Action(const Step (&sequence)[N]) : steps(sequence), count(N)
    {
    }
    const Step* begin() const { return steps; }
    const Step* end() const { return steps + count; }
};

namespace ServiceActions {
extern const Action kAutoProcess;
extern const Action kInstallService;
extern const Action kStartService;
extern const Action kAddFirewallRules;
extern const Action kUninstallService;
extern const Action kStopService;
}  // namespace ServiceActions

// Checks for the tool (the missing-file message ends the action), performs the steps in order, then
// says "执行完毕!". Used by the button handlers on the UI thread and as the worker's whole body.
void PerformAction(const Action& action);

// Starts `body` on a new thread, detached at once; throws std::system_error when it cannot.
using ThreadStarter = void (*)(std::function<void()> body);
void StartDetachedThread(std::function<void()> body);

// The automatic action's start on the UI thread: checks for the tool, then hands `body` (which
// performs the action) to a detached worker and returns at once. When no thread can be made, no run
// is started and the user is told so.
void StartWorkerAction(std::function<void()> body, ThreadStarter start = &StartDetachedThread);
