// Reading the module path whole.
#include "framework/ModulePath.h"

#include <cwchar>

namespace {

constexpr DWORD kInitialPathBuffer = 1024;
constexpr DWORD kLongestPath = 32767;  // the platform's limit, terminating zero included

}  // namespace

std::optional<std::wstring> ReadModulePath(ModuleFileNameReader reader)
{
    for (DWORD size = kInitialPathBuffer;; size = size * 2 < kLongestPath ? size * 2 : kLongestPath) {
        std::wstring buffer(size, L'\0');
        const DWORD length = reader(nullptr, &buffer[0], size);
        if (length == 0) {
            return std::nullopt;
        }
        // A result that fills the buffer means the path was cut (and, before Vista, not even
        // terminated).
        if (length < size) {
            buffer.resize(wcsnlen(buffer.c_str(), length));
            return buffer;
        }
        if (size == kLongestPath) {
            return std::nullopt;
        }
    }
}

std::wstring AfxGetModulePath() { return ReadModulePath().value_or(std::wstring()); }
