#pragma once

#include <QWidget>

class QTabBar;

// The seven sheet tabs above a framed page area; the sheet text box is laid over the page.
// Tabs are numbered 1 to 7 as the sheets are.
class TabStrip final : public QWidget {
    Q_OBJECT
public:
    static constexpr int TabCount = 7;

    explicit TabStrip(QWidget *parent = nullptr);

    int selectedIndex() const;
    // Selects a tab from code without raising tabChosen.
    void selectQuietly(int index);

    QString caption(int index) const;
    void setCaption(int index, const QString &caption);

    QFont tabFont() const;
    void setTabFont(const QFont &font);

    QTabBar *bar() const { return bar_; }

signals:
    // The user chose another tab (mouse, keyboard or its access key).
    void tabChosen();
    // A mouse button went down over the tabs.
    void mousePressed(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeBar();

    QTabBar *bar_;
    bool quiet_ = false;
};
