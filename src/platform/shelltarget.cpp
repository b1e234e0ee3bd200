#include "platform/shelltarget.h"

#include "platform/shellopen.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

namespace ShellTarget {

namespace {

bool isProgram(const QFileInfo &info)
{
    return info.isFile() && info.isExecutable();
}

// Drives formatted FAT, exFAT or NTFS give every file the x bit, so the bit alone does not make
// a program: a file the desktop knows as a document (by its content and name) is opened. Binaries,
// scripts, and what nothing recognises are started as before.
bool isDocument(const QString &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (type.isDefault())
        return false;
    for (const char *program : {"application/x-executable", "application/x-sharedlib"}) {
        if (type.inherits(QString::fromLatin1(program)))
            return false;
    }
    return true;
}

Target existing(const QFileInfo &info)
{
    // Absolute, so that a bare name found in the current folder is not looked up on PATH again.
    const QString path = info.absoluteFilePath();
    if (isProgram(info) && !isDocument(path))
        return {Kind::Execute, path, {}};
    return {Kind::OpenLocal, {}, QUrl::fromLocalFile(path)};
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool hasScheme(const QString &text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 2 || !isAsciiLetter(text.front()))
        return false;
    for (qsizetype i = 1; i < colon; ++i) {
        const QChar c = text.at(i);
        if (!isAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return true;
}

} // namespace

Target classify(const QString &text, const QStringList &searchPath)
{
    const QString name = QFileInfo::exists(text) ? text : text.trimmed();
    if (name.isEmpty())
        return {};
    if (const QFileInfo info(name); info.exists())
        return existing(info);
    if (hasScheme(name)) {
        const QUrl url(name);
        return url.isValid() ? Target{Kind::OpenUrl, {}, url} : Target{};
    }
    if (name.contains(u'/'))
        return {};
    for (const QString &folder : searchPath) {
        if (const QFileInfo candidate(QDir(folder).filePath(name)); isProgram(candidate))
            return {Kind::Execute, candidate.absoluteFilePath(), {}};
    }
    return {};
}

QStringList searchPath()
{
    return qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
}

int open(const QString &text, const QStringList &searchPath, Starter &starter)
{
    const Target target = classify(text, searchPath);
    bool handedOn = false;
    switch (target.kind) {
    case Kind::Execute:
        handedOn = starter.startDetached(target.program);
        break;
    case Kind::OpenLocal:
    case Kind::OpenUrl:
        handedOn = starter.openUrl(target.url);
        break;
    case Kind::NotFound:
        break;
    }
    return handedOn ? Opened : ShellOpen::NotFound;
}

} // namespace ShellTarget
