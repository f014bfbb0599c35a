// The unused features' recorded state.
#include "framework/AfxFeatures.h"

namespace {
bool g_controlContainer = false;
const CRuntimeClass* g_visualManager = nullptr;
int g_shellManagers = 0;
}  // namespace

void AfxEnableControlContainer(void*) { g_controlContainer = true; }
bool AfxControlContainerEnabled() { return g_controlContainer; }

CShellManager::CShellManager() { ++g_shellManagers; }
CShellManager::~CShellManager() { --g_shellManagers; }

const CRuntimeClass CMFCVisualManager::classInfo = {"CMFCVisualManager"};
const CRuntimeClass CMFCVisualManagerWindows::classInfo = {"CMFCVisualManagerWindows"};

void CMFCVisualManager::SetDefaultManager(const CRuntimeClass* managerClass) { g_visualManager = managerClass; }
const CRuntimeClass* CMFCVisualManager::GetDefaultManager() { return g_visualManager; }

void ControlBarCleanUp() { g_visualManager = nullptr; }
