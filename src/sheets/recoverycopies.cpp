#include "sheets/recoverycopies.h"

#include "sheets/SheetSession.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A folder name that tells the program directory apart from any other: its last part for the
// reader, and a hash of its whole path so that two directories of the same name do not collide.
QString folderNameFor(const QString &programDir)
{
    QString path = QDir::cleanPath(QFileInfo(programDir).absoluteFilePath());
#ifdef Q_OS_WIN
    path = path.toLower();
#endif
    QString readable;
    for (const QChar c : QFileInfo(path).fileName())
        readable += (c.isLetterOrNumber() && c.unicode() < 0x80) || c == u'-' || c == u'_' ? c : QChar(u'_');
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return readable.left(40) + u'-' + QString::fromLatin1(hash);
}

bool fileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

} // namespace

RecoveryCopies::RecoveryCopies(const QString &programDir, const QString &stateDir)
    : programDir_(programDir)
    , fallbackDir_(QDir(stateDir).filePath(QStringLiteral("q7Zibo/") + folderNameFor(programDir)))
{
}

QString RecoveryCopies::defaultStateDir()
{
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); // %LOCALAPPDATA%
#else
    const QString xdg = qEnvironmentVariable("XDG_STATE_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::home().filePath(QStringLiteral(".local/state"));
#endif
}

QString RecoveryCopies::fileName(int sheet)
{
    return SheetSession::sheetFileName(sheet) + QStringLiteral(".recovery");
}

QString RecoveryCopies::primaryPath(int sheet) const
{
    return QDir(programDir_).filePath(fileName(sheet));
}

QString RecoveryCopies::fallbackPath(int sheet) const
{
    return QDir(fallbackDir_).filePath(fileName(sheet));
}

RecoveryCopies::WriteResult RecoveryCopies::write(int sheet, const QString &text, TextCodec::Encoding preferred,
                                                  const Cp932Variants &variants) const
{
    WriteResult result;
    result.path = primaryPath(sheet);
    const TextFile::WriteResult here = TextFile::writeAs(result.path, text, preferred, variants);
    if (here.ok) {
        QFile::remove(fallbackPath(sheet));
        return {true, result.path, here.encoding, {}};
    }
    result.error = here.error;
    // The text may be private: the program's state folder and this one in it are the user's alone.
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QString stateFolder = QFileInfo(fallbackDir_).path();
    QDir().mkpath(QFileInfo(stateFolder).path());
    QDir().mkdir(stateFolder, ownerOnly);
    if (QDir().mkpath(fallbackDir_))
        QFile::setPermissions(fallbackDir_, ownerOnly);
    const TextFile::WriteResult there = TextFile::writeAs(fallbackPath(sheet), text, preferred, variants);
    if (!there.ok)
        return result;
    // An older copy may still be beside the sheet; where it cannot go, path() takes the newer.
    QFile::remove(primaryPath(sheet));
    return {true, fallbackPath(sheet), there.encoding, {}};
}

QList<int> RecoveryCopies::sheets() const
{
    QList<int> found;
    for (int n = 1; n <= SheetSession::SheetCount; ++n)
        if (!path(n).isEmpty())
            found.append(n);
    return found;
}

QString RecoveryCopies::path(int sheet) const
{
    const QString here = primaryPath(sheet), there = fallbackPath(sheet);
    const bool hasHere = fileExists(here), hasThere = fileExists(there);
    if (hasHere && hasThere)
        return QFileInfo(there).lastModified() > QFileInfo(here).lastModified() ? there : here;
    return hasHere ? here : hasThere ? there : QString();
}

TextFile::ReadResult RecoveryCopies::read(int sheet) const
{
    return TextFile::read(path(sheet));
}

bool RecoveryCopies::remove(int sheet) const
{
    bool ok = true;
    for (const QString &p : {primaryPath(sheet), fallbackPath(sheet)})
        if (fileExists(p) && !QFile::remove(p))
            ok = false;
    return ok;
}
