// A fresh folder holding a copy of a program under test and, beside it, whatever stands in for the
// service tool; plus a second folder to start the program from, so that its working directory is
// never its own folder. Both are removed with everything in them.
#pragma once

#include <windows.h>

#include <string>

// What lies beside the program where velmarid.exe is looked for.
enum class ToolBeside { Recorder, Nothing, Directory };

class Sandbox {
public:
    // `program` is a file of the build's bin folder (ostrafen.exe) or of the tests folder.
    Sandbox(const std::wstring& program, ToolBeside tool);
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::wstring& Folder() const { return m_folder; }        // no trailing backslash
    const std::wstring& Elsewhere() const { return m_elsewhere; }  // a different working directory
    const std::wstring& ProgramPath() const { return m_program; }
    std::wstring ToolPath() const { return m_folder + L"\\velmarid.exe"; }
    std::wstring RunLogPath() const { return m_folder + L"\\runs.log"; }

private:
    std::wstring m_root;
    std::wstring m_folder;
    std::wstring m_elsewhere;
    std::wstring m_program;
};

// The folder of the running test executable, and of the build's shipped programs.
std::wstring TestsFolder();
std::wstring BinFolder();

// A new, empty folder under the prefix's temp folder, named `prefix` and a number unique to this
// process's calls; empty when it cannot be made.
std::wstring NewTempFolder(const wchar_t* prefix);

// Removes a folder made by NewTempFolder (or one inside it) with everything in it; refuses any path
// outside the temp folder.
void RemoveTree(const std::wstring& path);
