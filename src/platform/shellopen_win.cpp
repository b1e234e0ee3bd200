#include "platform/shellopen.h"

#include <windows.h>
#include <shellapi.h>

// The desktop does the whole job: programs, documents, folders and URLs, with its own search.
// Its answer is kept as it is: above 32 for success, otherwise an error code, of which
// ERROR_FILE_NOT_FOUND (2) is the one callers act on.
int PlatformShellOpen::open(const QString &text)
{
    static_assert(SW_SHOW == 5);
    const HINSTANCE result = ::ShellExecuteW(::GetDesktopWindow(), L"open",
                                             reinterpret_cast<const wchar_t *>(text.utf16()), nullptr, L"",
                                             SW_SHOW);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}
