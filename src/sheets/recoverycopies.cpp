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

// Size and checksum of the file at path, read a piece at a time.
std::optional<std::pair<qint64, quint32>> sizeAndChecksum(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    qint64 size = 0;
    quint32 crc = 0;
    for (QByteArray piece; !(piece = file.read(qint64(1) << 20)).isEmpty();) {
        size += piece.size();
        crc = RecoveryJournal::checksum(piece, crc);
    }
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return std::pair{size, crc};
}

// A journal of no edits for the copy of text just written at copyPath. Where none can be
// written, an older one goes, so that it cannot name a copy of the same bytes.
bool startJournal(const QString &copyPath, const QString &text, RecoveryJournal::Base &base)
{
    const QString journal = RecoveryCopies::journalPath(copyPath);
    const auto written = sizeAndChecksum(copyPath);
    if (written) {
        qsizetype breaks = 0;
        while (QStringView(text).sliced(2 * breaks).startsWith(u"\r\n"))
            ++breaks;
        base = {written->first, written->second, text.size(), breaks};
        if (RecoveryJournal::create(journal, base))
            return true;
    }
    QFile::remove(journal);
    return false;
}

void removeWithJournal(const QString &copyPath)
{
    QFile::remove(copyPath);
    QFile::remove(RecoveryCopies::journalPath(copyPath));
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

QString RecoveryCopies::journalPath(const QString &copyPath)
{
    return copyPath + QStringLiteral(".journal");
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
        removeWithJournal(fallbackPath(sheet));
        result = {true, result.path, here.encoding, {}, false, {}};
        result.journal = startJournal(result.path, text, result.base);
        return result;
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
    removeWithJournal(primaryPath(sheet));
    result = {true, fallbackPath(sheet), there.encoding, {}, false, {}};
    result.journal = startJournal(result.path, text, result.base);
    return result;
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
    const QString copyPath = path(sheet);
    TextFile::ReadResult result = TextFile::read(copyPath);
    QFile journal(journalPath(copyPath));
    if (!result.ok || !journal.open(QIODevice::ReadOnly))
        return result;
    const QByteArray edits = journal.readAll();
    const std::optional<RecoveryJournal::Base> base = RecoveryJournal::baseOf(edits);
    // A journal of another copy (one of the same size too) is left unread.
    if (!base || base->bytes != QFileInfo(copyPath).size()
        || sizeAndChecksum(copyPath) != std::pair{base->bytes, base->checksum})
        return result;
    QString text = QStringLiteral("\r\n").repeated(base->leadingBreaks) + result.text;
    if (text.size() != base->length)
        return result;
    RecoveryJournal::replay(text, edits);
    result.text = std::move(text);
    return result;
}

bool RecoveryCopies::remove(int sheet) const
{
    bool ok = true;
    for (const QString &copy : {primaryPath(sheet), fallbackPath(sheet)})
        for (const QString &p : {copy, journalPath(copy)})
            if (fileExists(p) && !QFile::remove(p))
                ok = false;
    return ok;
}
