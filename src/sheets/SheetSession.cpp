#include "sheets/SheetSession.h"

#include <QDir>

SheetSession::SheetSession(QString programDir, QObject *parent)
    : QObject(parent)
    , programDir_(std::move(programDir))
{
}

QString SheetSession::resolve(const QString &name) const
{
    return QDir(programDir_).absoluteFilePath(name);
}

QString SheetSession::sheetFileName(int sheet)
{
    return QStringLiteral("q%1.txt").arg(sheet);
}

QString SheetSession::sheetFilePath(int sheet) const
{
    return resolve(sheetFileName(sheet));
}

QString SheetSession::caption(int sheet)
{
    return QStringLiteral("q7 Zibo q%1").arg(sheet);
}

void SheetSession::setCurrentSheet(int sheet)
{
    targetDetached_ = false;
    if (sheet != current_) {
        current_ = sheet;
        setUndoSnapshot(QString());
        emit currentSheetChanged(sheet);
    }
    emit saveTargetChanged();
}

void SheetSession::takeStoredCaption(const QString &stored)
{
    if (!stored.isEmpty() && stored.back() >= u'1' && stored.back() <= u'7')
        setCurrentSheet(stored.back().digitValue());
}

void SheetSession::setOpenedFile(int sheet, const QString &path)
{
    openedFiles_.at(sheet - 1) = path;
    setOpenedState(sheet, {}, false);
    if (sheet == current_) {
        targetDetached_ = false;
        emit saveTargetChanged();
    }
}

void SheetSession::setOpenedState(int sheet, const TextFile::DiskStamp &stamp, bool binary)
{
    openedStamps_.at(sheet - 1) = stamp;
    openedBinary_.at(sheet - 1) = binary;
}

QString SheetSession::saveTarget() const
{
    return targetDetached_ ? QString() : openedFile(current_);
}

void SheetSession::detachSaveTarget()
{
    targetDetached_ = true;
    emit saveTargetChanged();
}

void SheetSession::setUndoSnapshot(const QString &text)
{
    if (text.isEmpty() && undoSnapshot_.isEmpty())
        return;
    undoSnapshot_ = text;
    emit undoSnapshotChanged();
}

TextFile::WriteResult SheetSession::writeSheet(const QString &text) const
{
    return TextFile::write(sheetFilePath(current_), text, TextFile::LineEndPolicy::CrLf, variants(current_),
                           TextFile::NewFileAccess::OwnerOnly);
}

TextFile::WriteResult SheetSession::writeSheet(TextFile::TextPieces &text) const
{
    return TextFile::write(sheetFilePath(current_), text, TextFile::LineEndPolicy::CrLf, variants(current_),
                           TextFile::NewFileAccess::OwnerOnly);
}
