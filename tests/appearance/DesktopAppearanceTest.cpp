// "Follow the Desktop" against a settings portal of the test's own, on a
// private session bus: the preference read at start, a change followed as it
// comes, no portal at all; and the color window's choice kept in the settings.
#include "DesktopAppearance.h"
#include "ScriptedPrompter.h"
#include "TColorConfig.h"

#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The portal's Settings interface, as much of it as the program asks.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint scheme = 1;

public slots:
    QDBusVariant Read(const QString& group, const QString& key)
    {
        // As the portal answers: the value in a variant, in a variant.
        if (group == "org.freedesktop.appearance" && key == "color-scheme")
            return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    }
};

// A session bus of the test's own, ended with the test.
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished(3000);
    }
    QString address;

private:
    QProcess m_daemon;
};

bool lightBackground(const app::ColorSet& colors)
{
    const int c = colors[app::MainBackground];
    return (c % 256) * 299 + (c / 256 % 256) * 587 + (c / 65536) * 114 >= 128 * 1000;
}

} // namespace

TEST(DesktopAppearance, FollowsThePortalsPreferenceAsItChanges)
{
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    QDBusConnection portalSide = QDBusConnection::connectToBus(bus.address, "portal");
    QDBusConnection programSide = QDBusConnection::connectToBus(bus.address, "program");
    ASSERT_TRUE(portalSide.isConnected() && programSide.isConnected());

    // No portal on the bus: no preference, and the system's own colors.
    {
        appearance_ui::DesktopAppearance alone(programSide);
        QSignalSpy changed(&alone, &appearance_ui::DesktopAppearance::schemeChanged);
        EXPECT_FALSE(changed.wait(300));
        EXPECT_EQ(alone.scheme(), appearance::DesktopScheme::NoPreference);
    }

    FakePortal portal;
    ASSERT_TRUE(portalSide.registerService("org.freedesktop.portal.Desktop"));
    ASSERT_TRUE(portalSide.registerObject("/org/freedesktop/portal/desktop", &portal, QDBusConnection::ExportAllSlots));
    appearance_ui::DesktopAppearance desktop(programSide);
    QSignalSpy changed(&desktop, &appearance_ui::DesktopAppearance::schemeChanged);
    ASSERT_TRUE(changed.wait(3000)) << "the preference read at start";
    EXPECT_EQ(desktop.scheme(), appearance::DesktopScheme::Dark);
    EXPECT_FALSE(lightBackground(desktop.colors()));

    // The desktop switches to light: the portal says so, and the colors follow.
    QDBusMessage signal =
        QDBusMessage::createSignal("/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged");
    signal << QString("org.freedesktop.appearance") << QString("color-scheme")
           << QVariant::fromValue(QDBusVariant(uint(2)));
    ASSERT_TRUE(portalSide.send(signal));
    ASSERT_TRUE(changed.wait(3000));
    EXPECT_EQ(desktop.scheme(), appearance::DesktopScheme::Light);
    EXPECT_TRUE(lightBackground(desktop.colors()));
    // Another setting of the portal changes nothing.
    QDBusMessage other =
        QDBusMessage::createSignal("/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged");
    other << QString("org.freedesktop.appearance") << QString("accent-color") << QVariant::fromValue(QDBusVariant(uint(1)));
    portalSide.send(other);
    EXPECT_FALSE(changed.wait(300));
    QDBusConnection::disconnectFromBus("portal");
    QDBusConnection::disconnectFromBus("program");
}

TEST(DesktopAppearance, TheColorWindowKeepsFollowTheDesktopApartFromTheColorsOfItsOwn)
{
    testing_support::ScriptedPrompter prompter;
    app::Settings settings;
    settings.colorSets.fill(app::defaultColorSet());
    settings.desktopColors = appearance::desktopColorSet(appearance::DesktopScheme::Dark, app::defaultColorSet());
    const app::ColorSet own = settings.colorSets[app::SearchWindowColors];
    {
        appearance_ui::TColorConfig window(prompter, settings, app::SearchWindowColors, 1.0);
        window.chooseCombination(appearance::kFollowTheDesktop);
        EXPECT_TRUE(window.followsDesktop());
        window.OkClick();
    }
    EXPECT_TRUE(settings.followDesktop[app::SearchWindowColors]);
    EXPECT_FALSE(settings.followDesktop[app::MainWindowColors]);
    EXPECT_EQ(settings.colorsOf(app::SearchWindowColors), settings.desktopColors);
    EXPECT_EQ(settings.colorSets[app::SearchWindowColors], own) << "kept for the day it stops following";
    {
        appearance_ui::TColorConfig window(prompter, settings, app::SearchWindowColors, 1.0);
        EXPECT_EQ(window.Combinations->currentIndex(), appearance::kFollowTheDesktop);
        window.chooseCombination(8); // Christmas Season
        window.OkClick();
    }
    EXPECT_FALSE(settings.followDesktop[app::SearchWindowColors]);
    EXPECT_NE(settings.colorsOf(app::SearchWindowColors), settings.desktopColors);
}

#include "DesktopAppearanceTest.moc"
