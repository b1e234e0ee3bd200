// The input method on focus: a stand-in for fcitx5's controller on a private session bus
// records what the text box asks of it.
#include "editor/TextBox.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QtTest>

namespace {

class FakeController final : public QDBusVirtualObject {
public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        calls << message.member();
        return true;
    }
    QStringList calls;
};

} // namespace

class TstIme : public QObject {
    Q_OBJECT
private:
    FakeController controller_;

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("no session bus: run through ctest, which gives the test one of its own");
        // A connection apart from the program's, so that the calls really cross the bus.
        QDBusConnection fcitx = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fcitx"));
        QVERIFY(fcitx.registerService(QStringLiteral("org.fcitx.Fcitx5")));
        QVERIFY(fcitx.registerVirtualObject(QStringLiteral("/controller"), &controller_));
    }

    // Focus turns full-width hiragana on when the setting asks for it; off, the input method is left alone.
    void focusActivatesWhenTheSettingIsOn()
    {
        for (const auto &[mode, calls] : {std::pair{4, QStringList{"Activate", "Done"}}, {0, QStringList{"Done"}}}) {
            controller_.calls.clear();
            TextBox box;
            box.setImeMode(mode);
            box.show();
            box.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&box));
            QTRY_VERIFY(box.hasFocus());
            // The call waits for the input-method module to report the focus first; calls from one
            // connection arrive in order, so once "Done" is there, any Activate is too.
            QTest::qWait(1000);
            QDBusConnection::sessionBus().send(QDBusMessage::createMethodCall(
                QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"), QStringLiteral("q7.Test"), QStringLiteral("Done")));
            QTRY_VERIFY(controller_.calls.contains(u"Done"_qs));
            QCOMPARE(controller_.calls, calls);
        }
    }
};

QTEST_MAIN(TstIme)
#include "tst_ime.moc"
