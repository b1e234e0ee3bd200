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
    files(sheet).opened = path;
    setOpenedState(sheet, {}, false);
    setOpenedForm(sheet, std::nullopt);
    if (sheet == current_) {
        targetDetached_ = false;
        emit saveTargetChanged();
    }
}

void SheetSession::setOpenedState(int sheet, const TextFile::DiskStamp &stamp, bool binary)
{
    files(sheet).openedStamp = stamp;
    files(sheet).openedBinary = binary;
}

void SheetSession::setOpenedForm(int sheet, const std::optional<TextFile::FileForm> &form, bool chosen)
{
    files(sheet).openedForm = form;
    files(sheet).openedFormChosen = form && chosen;
    if (sheet == current_)
        emit shownFormChanged();
}

void SheetSession::setOwnForm(int sheet, const TextFile::FileForm &form)
{
    files(sheet).ownForm = form;
    if (sheet == current_)
        emit shownFormChanged();
}

TextFile::FileForm SheetSession::shownForm() const
{
    const std::optional<TextFile::FileForm> &opened = openedForm(current_);
    return opened && !saveTarget().isEmpty() ? *opened : files(current_).ownForm;
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
