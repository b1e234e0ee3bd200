#include "platform/datadir.h"
#include "sheets/SheetSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString HelpName = QStringLiteral("q7Zibo.hlp");

} // namespace

DataDir DataDir::choose(const QString &exeDir, bool exeDirWritable, const QString &userDataHome)
{
    const QDir exe(exeDir);
    const QString beside = exe.filePath(HelpName);
    const QString shared = QDir::cleanPath(exe.filePath(QStringLiteral("../share/q7zibo/") + HelpName));
    const bool helpBeside = QFileInfo::exists(beside);
    const bool helpShared = !helpBeside && QFileInfo::exists(shared);

    DataDir result;
    // A missing manual is reported where the portable copy keeps it.
    result.helpFile = helpShared ? shared : beside;
    result.perUser = !exeDirWritable || helpShared;
    result.dir = result.perUser ? QDir(userDataHome).filePath(QStringLiteral("q7Zibo")) : QDir::cleanPath(exeDir);
    return result;
}

DataDir DataDir::locate(const QString &exeDir)
{
    return choose(exeDir, isWritable(exeDir),
                  QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

bool DataDir::create() const
{
    // The user's memos are nobody else's business, whatever the home folder allows.
    const QFileInfo info(dir);
    if (!perUser || info.isDir()
        || (QDir().mkpath(info.path()) && QDir().mkdir(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)))
        return true;
    qWarning("q7Zibo: cannot create the data folder %ls", qUtf16Printable(QDir::toNativeSeparators(dir)));
    return false;
}

void DataDir::createSheetFiles() const
{
    if (!perUser)
        return;
    for (int sheet = 1; sheet <= SheetSession::SheetCount; ++sheet) {
        QFile file(QDir(dir).filePath(SheetSession::sheetFileName(sheet)));
        if (!file.exists() && !file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
            qWarning("q7Zibo: cannot create %ls", qUtf16Printable(QDir::toNativeSeparators(file.fileName())));
    }
}
