// The framework features the start-up switches on that this program never uses: ActiveX control
// containment, the shell manager (shell namespace browsing), and the visual managers of the
// extended controls. Each is kept to the state it records, so the start-up reads as designed.
#pragma once

// Names a class for SetDefaultManager, as the framework's run-time class information does.
struct CRuntimeClass {
    const char* m_lpszClassName;
};
#define RUNTIME_CLASS(className) (&className::classInfo)

// Allows dialogs to host ActiveX controls; this program's dialogs hold none.
void AfxEnableControlContainer(void* containerManager = nullptr);
bool AfxControlContainerEnabled();

// Serves the shell-browsing dialogs of the extended controls; this program opens none.
class CShellManager {
public:
    CShellManager();
    ~CShellManager();
    CShellManager(const CShellManager&) = delete;
    CShellManager& operator=(const CShellManager&) = delete;
};

// Draws the extended controls (toolbars, menus, tabs); the plain dialogs here draw natively.
class CMFCVisualManager {
public:
    static const CRuntimeClass classInfo;
    static void SetDefaultManager(const CRuntimeClass* managerClass);
    static const CRuntimeClass* GetDefaultManager();
};

// The native Windows look.
class CMFCVisualManagerWindows : public CMFCVisualManager {
public:
    static const CRuntimeClass classInfo;
};

// Releases what the extended controls set up: the default visual manager.
void ControlBarCleanUp();
