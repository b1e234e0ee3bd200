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
class QPushButton;
class QRadioButton;
class QTabWidget;
class SettingsStore;

// Built as the dialog idiom in find/FindDialog.h describes.
// The modal options dialog: the settings holders on four pages. It works on a copy of the
// holders and hands every applied state back through Env::apply; only the input-method key
// goes to the store at once.
class OptionsDialog final : public QDialog {
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

    OptionsDialog(Env env, QWidget *owner);

    void selectPage(int page);
    int currentPage() const;
    // The holders as last applied (the copy given, before any apply).
    const Holders &holders() const;

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
    void load();
    void onApply();
    void onOk();
    void onResetTabs();
    void onPickFont();
    void onPickColour(bool text);
    void onBrowse(int app);
    void onProgramDropped(int app, const QStringList &files);
    void enableApply();
    void showPreview();

    Env env_;
    // The preview's working copy of the text box's appearance.
    Holders::Font previewFont_;
    qint32 previewFore_;
    qint32 previewBack_;

    QTabWidget *pages = nullptr;
    // "動作環境"
    QLabel *preview = nullptr;  // the text box's appearance
    QPushButton *fontButton = nullptr;
    QPushButton *textColourButton = nullptr;
    QPushButton *backColourButton = nullptr;
    QCheckBox *restoreSizeCheck = nullptr;
    QCheckBox *restorePositionCheck = nullptr;
    QRadioButton *imeOnRadio = nullptr;
    QRadioButton *imeOffRadio = nullptr;
    QLineEdit *quoteMarkEdit = nullptr;
    // "ﾌｧｲﾙ変更ﾀﾌﾞ"
    std::array<QLineEdit *, Holders::TabCount> tabCaptionEdits{};
    QComboBox *tabFontBox = nullptr;
    QComboBox *tabFontSizeBox = nullptr;
    QCheckBox *tabBoldCheck = nullptr;
    QCheckBox *tabItalicCheck = nullptr;
    QPushButton *resetTabsButton = nullptr;
    // "ﾗﾝﾁｬｰ設定 "
    std::array<QLineEdit *, Holders::AppCount> appPathEdits{};
    std::array<QLineEdit *, Holders::AppCount> appNameEdits{};
    std::array<QPushButton *, Holders::AppCount> browseButtons{};
    // "ﾊﾞｰｼﾞｮﾝ情報 "
    QLabel *logoLabel = nullptr;
    QLabel *versionLabel = nullptr;
    // Below the pages.
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QPushButton *applyButton = nullptr;
};
