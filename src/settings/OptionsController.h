#pragma once

#include "settings/holders.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

class CommonDialog;
class QAction;
class SettingsStore;
class WindowHost;

// The settings holders and the options dialog that edits them. The holders live here for the
// window's whole life: the other controllers keep a reference to them and read them at each use.
class OptionsController final : public QObject {
    Q_OBJECT
public:
    // settings: the dialog writes the input method's key there at once. The text box's design
    // font, the platform's own, is the text font until the settings say otherwise.
    OptionsController(WindowHost &host, SettingsStore *settings, CommonDialog *commonDialog, QObject *parent = nullptr);

    QAction *optionsAction() const { return optionsAction_; }
    QAction *aboutAction() const { return aboutAction_; }
    QAction *tabSettingsAction() const { return tabSettingsAction_; }
    // The tab strip's right-button menu.
    QMenu *tabMenu() const { return tabMenu_; }

    const Holders &holders() const { return holders_; }

    // A holder whose stored text does not convert or apply keeps its value; a font that is not
    // installed keeps its name.
    void load(const SettingsStore &settings);
    void save(SettingsStore &settings) const;

    // The modal dialog on a page (OptionsDialog::Page), loaded afresh at every opening.
    void showOptions(int page);
    // A press on the tab strip: the right button opens its menu.
    void onTabStripPressed(Qt::MouseButton button, const QPoint &globalPos);

signals:
    // The dialog applied new holders.
    void applied();

private:
    QAction *newAction(const char *name, const QString &caption, int page);

    WindowHost &host_;
    SettingsStore *settings_;
    CommonDialog *commonDialog_;
    Holders holders_;
    QAction *optionsAction_;
    QAction *aboutAction_;
    QAction *tabSettingsAction_;
    QPointer<QMenu> tabMenu_;
};
