// The action table and the routines that carry an action out.
#include "service/ServiceActions.h"

#include "framework/AfxMessageBox.h"
#include "service/ServiceTool.h"
#include "service/ServiceToolLauncher.h"

#include <system_error>
#include <thread>

namespace {

using namespace ServiceTool;

constexpr Step Hidden(const wchar_t* toolSwitch) { return {toolSwitch, false, 0}; }
constexpr Step Shown(const wchar_t* toolSwitch) { return {toolSwitch, true, 0}; }
// Lets the tool finish the previous step before the next one is started.
constexpr Step kWait = {nullptr, false, 800};

// Laid out by pause: the three runs started back to back, then each run with the pause after it.
// clang-format off
constexpr Step kAutoProcessSteps[] = {
    Hidden(kStop), Hidden(kUninstall), Hidden(kInstall), kWait,
    Hidden(kPause), kWait,
    Hidden(kResume), kWait,
    Hidden(kStart), kWait,
    Hidden(kFirewall),
};
// clang-format on
constexpr Step kInstallServiceSteps[] = {Shown(kInstall)};
constexpr Step kStartServiceSteps[] = {Hidden(kPause), Hidden(kResume), Hidden(kStart)};
constexpr Step kAddFirewallRulesSteps[] = {Shown(kFirewall)};
constexpr Step kUninstallServiceSteps[] = {Shown(kStop), Shown(kUninstall)};
constexpr Step kStopServiceSteps[] = {Shown(kStop)};

const wchar_t kCompleted[] = L"执行完毕!";
const wchar_t kWorkerFailed[] = L"无法启动后台线程，自动处理未执行任何操作。";

}  // namespace

namespace ServiceActions {
const Action kAutoProcess = kAutoProcessSteps;
const Action kInstallService = kInstallServiceSteps;
const Action kStartService = kStartServiceSteps;
const Action kAddFirewallRules = kAddFirewallRulesSteps;
const Action kUninstallService = kUninstallServiceSteps;
const Action kStopService = kStopServiceSteps;
}  // namespace ServiceActions

void PerformAction(const Action& action)
{
    if (!CheckServiceTool()) {
        return;
    }
    for (const Step& step : action) {
        if (step.toolSwitch != nullptr) {
            LaunchServiceTool(step.toolSwitch, step.shown);
        } else {
            ::Sleep(step.pauseMs);
        }
    }
    AfxMessageBox(kCompleted, MB_OK);
}

void StartDetachedThread(std::function<void()> body) { std::thread(std::move(body)).detach(); }

void StartWorkerAction(std::function<void()> body, ThreadStarter start)
{
    if (!CheckServiceTool()) {
        return;
    }
    try {
        start(std::move(body));
    } catch (const std::system_error&) {
        // Called from a button handler: an exception must not unwind into the window procedure.
        AfxMessageBox(kWorkerFailed, MB_OK);
    }
}
