// Appending whole lines to a log file beside the running executable, when many short-lived
// processes may append to the same file at the same moment.
#pragma once

#include <string>

namespace Journal {

// The full path of this process's own executable; empty when it cannot be had.
std::wstring ModulePath();

// The folder of this process's own executable (not the working directory), without a trailing
// separator. Empty when the module path cannot be had.
std::wstring ModuleDirectory();

// The process's working directory; empty when it cannot be had.
std::wstring CurrentDirectory();

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(const std::wstring& text);

// Appends `utf8Line` (line end included by the caller) to the file at `path`, creating it when
// absent. The line goes out in one WriteFile on a handle opened for FILE_APPEND_DATA, and every
// process appending through this routine takes the same named mutex first, so concurrent lines
// neither interleave nor overwrite one another. Returns false when the line was not written whole.
bool AppendLine(const std::wstring& path, const std::string& utf8Line);

}  // namespace Journal
