#include "sheets/sheetstore.h"

#include <QDir>

SheetStore::SheetStore(QString programDir)
    : programDir_(std::move(programDir))
{
}

QString SheetStore::resolve(const QString &name) const
{
    return QDir(programDir_).absoluteFilePath(name);
}

QString SheetStore::sheetFileName(int sheet)
{
    return QStringLiteral("q%1.txt").arg(sheet);
}

QString SheetStore::sheetFilePath(int sheet) const
{
    return resolve(sheetFileName(sheet));
}

void SheetStore::setLabel2(const QString &caption)
{
    if (caption == label2_)
        return;
    label2_ = caption;
    Label2_Change();
}

void SheetStore::Label2_Change()
{
    strUndo_.clear();
}

void SheetStore::takeStoredLabel2(const QString &stored)
{
    if (!stored.isEmpty() && stored.back() >= u'1' && stored.back() <= u'7')
        setLabel2(stored);
}

int SheetStore::currentSheet() const
{
    return label2_.isEmpty() ? 1 : label2_.back().digitValue();
}

TextFile::WriteResult SheetStore::writeSheet(const QString &text) const
{
    return TextFile::write(sheetFilePath(currentSheet()), text, TextFile::LineEndPolicy::CrLf,
                           variants(currentSheet()));
}

TextFile::WriteResult SheetStore::writeSheet(TextFile::TextPieces &text) const
{
    return TextFile::write(sheetFilePath(currentSheet()), text, TextFile::LineEndPolicy::CrLf,
                           variants(currentSheet()));
}
