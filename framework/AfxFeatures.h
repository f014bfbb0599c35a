// The framework features the start-up switches on that this program never uses: ActiveX control
// containment, the shell manager (shell namespace browsing), and the visual managers of the
// extended controls. The program's dialogs hold only standard controls, which draw themselves
// natively, so each of these has nothing to do here; they stand so that the start-up reads as it is
// meant to run.
#pragma once

// Names a class for SetDefaultManager, as the framework's run-time class information does.
struct CRuntimeClass {
    const char* m_lpszClassName;
};
#define RUNTIME_CLASS(className) (&className::classInfo)

// Would let dialogs host ActiveX controls.
inline void AfxEnableControlContainer(void* /*containerManager*/ = nullptr) {}

// Would serve the shell-browsing dialogs of the extended controls.
class CShellManager {};

// Would draw the extended controls (toolbars, menus, tabs) in the chosen look.
class CMFCVisualManager {
public:
    static const CRuntimeClass classInfo;
    static void SetDefaultManager(const CRuntimeClass* /*managerClass*/) {}
};

// The native Windows look.
class CMFCVisualManagerWindows : public CMFCVisualManager {
public:
    static const CRuntimeClass classInfo;
};

// Would release what the extended controls set up.
inline void ControlBarCleanUp() {}
