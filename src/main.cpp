#include "app/MainWindow.h"
#include "app/singleinstance.h"
#include "app/singleinstance_handover.h"
#include "platform/commondialog.h"
#include "platform/datadir.h"
#include "platform/dialogs.h"
#include "platform/sessionend.h"
#include "platform/shellopen.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

// The file the command line names (the whole of it, spaces and all), made absolute against the
// folder the program was started from.
HandOverRequest commandLineFile(int argc, char *argv[])
{
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    HandOverRequest request;
    if (!args.isEmpty())
        request.path = QDir::current().absoluteFilePath(args.join(u' '));
    // Qt keeps file names as Unicode text: bytes the system's encoding cannot decode name a file
    // that could neither be opened nor written back by that text.
    for (int i = 1; i < argc; ++i)
        if (QFile::encodeName(QFile::decodeName(argv[i])) != QByteArray(argv[i]))
            request.nameUnusable = true;
    return request;
}

} // namespace

int main(int argc, char *argv[])
{
    // The instance check needs no display: a second start hands over and ends before any window
    // system is set up.
    DataDir data;
    std::unique_ptr<SingleInstance> instance;
    bool unanswered = false;
    {
        QCoreApplication core(argc, argv);
        data = DataDir::locate(QCoreApplication::applicationDirPath());
        data.create();
        // A second copy for the same data directory ends here, before it touches any file.
        instance = std::make_unique<SingleInstance>(data.dir);
        if (!instance->tryAcquire()) {
            if (handOverToRunningCopy(data.dir, commandLineFile(argc, argv)))
                return 0;
            unanswered = true;
        } else {
            data.createSheetFiles();
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("q7Zibo"));
    QApplication::setOrganizationName(QStringLiteral("q7Zibo"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION_STRING));

    // Qt's own texts (message-box buttons, standard dialogs, context menus) in Japanese too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtDialogs dialogs;
    // A start that ends with no window must say why, or the user is left waiting for one.
    if (unanswered) {
        dialogs.MsgBox(nullptr, QStringLiteral("起動中の q7Zibo から応答がありません。"), {QMessageBox::Warning}, AppTitle);
        return 1;
    }

    // Listening before the window is built: a start made meanwhile waits for the window.
    HandOverServer server(data.dir);
    server.listen();

    QStringList args = QApplication::arguments();
    args.removeFirst();

    SettingsStore settings;
    QtCommonDialog commonDialog;
    PlatformShellOpen shell;
    MainWindowEnv env;
    env.programDir = data.dir;
    env.helpFile = data.helpFile;
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
    env.commandLineNameUnusable = commandLineFile(argc, argv).nameUnusable;
    env.startDir = QDir::currentPath();

    MainWindow window(env);
    installSessionEndHandler(&window, [&window] { window.endSession(); });
    QObject::connect(&server, &HandOverServer::requested, &window, &MainWindow::takeHandOver);
    window.start();
    // A session that ended during start-up has already written everything: do not wait for
    // events with no window.
    if (ended)
        return 0;
    window.openForHandOvers();
    return QApplication::exec();
}
