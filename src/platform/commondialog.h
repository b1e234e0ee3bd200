#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QWidget;

// The one shared open/save/font/colour dialog object of the main window. Its properties stay
// as they were left between uses: the next dialog starts with the last chosen file name, and a
// command sets the filter index and flags it wants before showing. Production shows Qt's
// dialogs; tests script a fake.
namespace CommonDialogFlags {
enum : int {
    OverwritePrompt = 0x2,   // the save dialog asks before replacing an existing file
    FileMustExist = 0x1000,  // the open dialog accepts only an existing file
};
}

class CommonDialog {
public:
    // Cancel is an outcome of its own, never an empty file name.
    enum class Result { Accepted, Cancelled };

    virtual ~CommonDialog() = default;

    // Accepted: FileName holds the chosen file's full path and FilterIndex the chosen filter.
    [[nodiscard]] virtual Result ShowOpen(QWidget *parent) = 0;
    [[nodiscard]] virtual Result ShowSave(QWidget *parent) = 0;
    // Accepted: the font or colour properties hold the choice.
    [[nodiscard]] virtual Result ShowFont(QWidget *parent) = 0;
    [[nodiscard]] virtual Result ShowColor(QWidget *parent) = 0;

    QString FileName;
    // As Qt's file dialogs take them: each display text, then its patterns in parentheses. "*"
    // rather than "*.*", so that names without a dot are listed too.
    QStringList NameFilters = {QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt) (*.txt)"), QStringLiteral("すべてのﾌｧｲﾙ(*.*) (*)")};
    int FilterIndex = 1; // 1-based, into NameFilters
    int Flags = 0;
    QColor Color;
    QString FontName;
    double FontSize = 0;
    bool FontBold = false;
    bool FontItalic = false;
};

class QtCommonDialog final : public CommonDialog {
public:
    Result ShowOpen(QWidget *parent) override;
    Result ShowSave(QWidget *parent) override;
    Result ShowFont(QWidget *parent) override;
    Result ShowColor(QWidget *parent) override;

private:
    Result showFileDialog(QWidget *parent, bool save);
};
