#include "platform/shellopen.h"

#include "platform/shelltarget.h"

#include <QDesktopServices>
#include <QProcess>

namespace {

class DesktopStarter final : public ShellTarget::Starter {
public:
    bool startDetached(const QString &program) override { return QProcess::startDetached(program, {}); }
    bool openUrl(const QUrl &url) override { return QDesktopServices::openUrl(url); }
};

} // namespace

int PlatformShellOpen::open(const QString &text)
{
    DesktopStarter starter;
    return ShellTarget::open(text, ShellTarget::searchPath(), starter);
}
