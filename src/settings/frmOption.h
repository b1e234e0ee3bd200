#pragma once

#include "settings/holders.h"

#include <QDialog>
#include <array>
#include <functional>

class CommonDialog;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QRadioButton;
class QTabWidget;
class SettingsStore;

// Built as the dialog idiom in find/Find.h describes.
// The modal options dialog: the settings holders on four pages. It works on a copy of the
// holders and hands every applied state back through Env::apply; only the input-method key
// goes to the store at once.
class frmOption final : public QDialog {
    Q_OBJECT
public:
    enum Page { EnvironmentPage = 0, TabPage = 1, LauncherPage = 2, VersionPage = 3 };

    struct Env {
        Holders holders;                              // the main window's holders, copied
        SettingsStore *settings = nullptr;            // apply writes "IME"/"IME" here at once
        CommonDialog *commonDialog = nullptr;         // the font, colour and program pickers
        std::function<void(const Holders &)> apply;   // the main window takes applied holders
        QString version;                              // the program's version, "1.1.0"
    };

    frmOption(Env env, QWidget *owner);

    void selectPage(int page);
    int currentPage() const;
    // The holders as last applied (the copy given, before any apply).
    const Holders &holders() const;

    // Controls, named as the program names them.
    QTabWidget *SSTab1;
    // "動作環境"
    std::array<QPushButton *, 3> Command4;  // font, text colour, background colour
    QLabel *Label5;                         // the preview of the text box's appearance
    QCheckBox *Check1, *Check2;
    QRadioButton *Option1, *Option2;
    QLineEdit *txtInyou;
    // "ﾌｧｲﾙ変更ﾀﾌﾞ"
    std::array<QLineEdit *, Holders::TabCount> Text21;
    QComboBox *Combo1, *Combo2;
    QCheckBox *Check3, *Check4;
    QPushButton *cmdSyokika;
    // "ﾗﾝﾁｬｰ設定 "
    std::array<QLineEdit *, Holders::AppCount> Text2;  // paths
    std::array<QLineEdit *, Holders::AppCount> Text3;  // names
    std::array<QPushButton *, Holders::AppCount> cmdR;
    // "ﾊﾞｰｼﾞｮﾝ情報 "
    QLabel *Image2;
    QLabel *Label11;
    // Below the pages.
    QPushButton *Command3;                  // apply
    std::array<QPushButton *, 3> Command1;  // 0 OK, 2 cancel; 1 is not used

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    QWidget *createEnvironmentPage();
    QWidget *createTabPage();
    QWidget *createLauncherPage();
    QWidget *createVersionPage();
    void connectHandlers();
    void Form_Load();
    void Command3_Click();
    void Command1_Click(int index);
    void cmdSyokika_Click();
    void Command4_Click(int index);
    void cmdR_Click(int index);
    void Text2_OLEDragDrop(int index, const QStringList &files);
    void enableApply();
    void showPreview();

    Env env_;
    // The preview's working copy of the text box's appearance.
    Holders::Font previewFont_;
    qint32 previewFore_;
    qint32 previewBack_;
};
