#include "platform/commondialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>

CommonDialog::Result QtCommonDialog::ShowOpen(QWidget *parent)
{
    return showFileDialog(parent, false);
}

CommonDialog::Result QtCommonDialog::ShowSave(QWidget *parent)
{
    return showFileDialog(parent, true);
}

CommonDialog::Result QtCommonDialog::showFileDialog(QWidget *parent, bool save)
{
    QFileDialog dialog(parent);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & CommonDialogFlags::OverwritePrompt));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(Flags & CommonDialogFlags::FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    // The display texts already name their patterns; Qt's copy of them would show twice.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(NameFilters);
    if (FilterIndex >= 1 && FilterIndex <= NameFilters.size())
        dialog.selectNameFilter(NameFilters.at(FilterIndex - 1));
    if (!FileName.isEmpty())
        dialog.selectFile(QDir::fromNativeSeparators(FileName));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return Result::Cancelled;
    FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    const qsizetype chosen = NameFilters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        FilterIndex = int(chosen) + 1;
    return Result::Accepted;
}

CommonDialog::Result QtCommonDialog::ShowFont(QWidget *parent)
{
    QFont initial(FontName);
    if (FontSize > 0)
        initial.setPointSizeF(FontSize);
    initial.setBold(FontBold);
    initial.setItalic(FontItalic);
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return Result::Cancelled;
    FontName = font.family();
    FontSize = font.pointSizeF();
    FontBold = font.bold();
    FontItalic = font.italic();
    return Result::Accepted;
}

CommonDialog::Result QtCommonDialog::ShowColor(QWidget *parent)
{
    const QColor color = QColorDialog::getColor(Color.isValid() ? Color : QColor(Qt::black), parent);
    if (!color.isValid())
        return Result::Cancelled;
    Color = color;
    return Result::Accepted;
}
