#include "app/frmMain.h"
#include "app/singleinstance.h"
#include "platform/commondialog.h"
#include "platform/dialogs.h"
#include "platform/sessionend.h"
#include "platform/shellopen.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("q7Zibo"));
    QApplication::setOrganizationName(QStringLiteral("q7Zibo"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION_STRING));

    const QString programDir = QApplication::applicationDirPath();
    // A second copy for the same program directory ends here, before it touches any file.
    SingleInstance instance(programDir);
    if (!instance.tryAcquire())
        return 0;

    // Qt's own texts (message-box buttons, standard dialogs, context menus) in Japanese too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QStringList args = QApplication::arguments();
    args.removeFirst();

    SettingsStore settings;
    QtDialogs dialogs;
    QtCommonDialog commonDialog;
    PlatformShellOpen shell;
    FrmMainEnv env;
    env.programDir = programDir;
    env.settings = &settings;
    env.dialogs = &dialogs;
    env.commonDialog = &commonDialog;
    env.shell = &shell;
    bool ended = false;
    env.endProgram = [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    };
    // The whole command line names one file, spaces and all.
    env.commandLine = args.join(u' ');
    // Qt keeps file names as Unicode text: bytes the system's encoding cannot decode name a file
    // that could neither be opened nor written back by that text.
    for (int i = 1; i < argc; ++i)
        if (QFile::encodeName(QFile::decodeName(argv[i])) != QByteArray(argv[i]))
            env.commandLineNameUnusable = true;
    env.startDir = QDir::currentPath();

    frmMain window(env);
    installSessionEndHandler(&window, [&window] { window.endSession(); });
    window.Form_Load();
    // A session that ended during start-up has already written everything: do not wait for
    // events with no window.
    return ended ? 0 : QApplication::exec();
}
