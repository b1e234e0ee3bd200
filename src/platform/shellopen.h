#pragma once

#include <QString>

// Hands a whole text to the desktop to open, as a file manager's double-click would.
class ShellOpen {
public:
    static constexpr int NotFound = 2;  // nothing could be opened under that text
    virtual ~ShellOpen() = default;
    // Any value but NotFound means the text was handed on; the started program is not waited for.
    virtual int open(const QString &text) = 0;
};

class PlatformShellOpen final : public ShellOpen {
public:
    int open(const QString &text) override;
};
