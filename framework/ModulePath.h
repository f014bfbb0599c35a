// The full path of this process's executable, read whole however long it is.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Reads the module path into a buffer, as GetModuleFileNameW does; replaceable in tests.
using ModuleFileNameReader = DWORD(WINAPI*)(HMODULE module, LPWSTR buffer, DWORD size);

// Read with a buffer of 1024 characters that grows while the reader reports truncation, up to the
// platform's limit of 32,767. Nothing when the path cannot be read whole: a cut path would name an
// ancestor folder.
std::optional<std::wstring> ReadModulePath(ModuleFileNameReader reader = &::GetModuleFileNameW);

// The same, empty when it cannot be read whole.
std::wstring AfxGetModulePath();
