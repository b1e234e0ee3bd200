#pragma once

#include "sheets/cp932variants.h"

#include <QCollator>
#include <QDateTime>
#include <QDialog>
#include <functional>

class Dialogs;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class SettingsStore;
class TextBox;

// Built as the dialog idiom in find/Find.h describes.
// The modeless dialog that inserts a date or time in one of eighteen formats, or one of the
// user's boilerplate phrases, at the caret of the sheet.
class frmDate final : public QDialog {
    Q_OBJECT
public:
    struct Env {
        TextBox *text1 = nullptr;
        SettingsStore *settings = nullptr;
        Dialogs *dialogs = nullptr;
        QString programDir;
        QDateTime now;
        // Replaces Text1's selection as a rewrite: the whole text is kept for Undo first.
        std::function<void(const QString &)> insert;
    };

    frmDate(Env env, QWidget *owner);

    void selectPage(int page);
    int currentPage() const;

    // Controls, named as the program names them.
    QTabWidget *SSTab1;
    QLabel *Label1;
    QListWidget *lstDate;
    QPushButton *cmdOK, *cmdCancel;
    QCheckBox *Check1;
    QLabel *Label2;
    QListWidget *List1;
    QPushButton *Command1, *Command2, *Command3, *Command4, *cmdAllclear;
    QCheckBox *Check2;
    QPushButton *Command5, *cmdClose;

    bool phrasesChanged() const { return phrasesChanged_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void cmdAllclear_Click();
    void Command5_Click();
    void cmdClose_Click();
    void insertAndMaybeClose(const QString &text, bool close);
    void saveCloseOptions();
    void addPhrase(const QString &phrase);
    QString phraseFilePath() const;
    QStringList phrases() const;
    int twipsToPixelsX(double twips) const;
    int twipsToPixelsY(double twips) const;

    Env env_;
    QCollator collator_;
    bool phrasesChanged_ = false;
    bool phraseFileUnreadable_ = false;  // then the list never saves over the file
    Cp932Variants phraseCodes_;          // the file's second CP932 codes, kept when it is saved
};
