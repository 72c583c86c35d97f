#include "DesktopAppearance.h"

#include "WindowLook.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QPalette>

namespace appearance_ui {

namespace {

const char* const kService = "org.freedesktop.portal.Desktop";
const char* const kPath = "/org/freedesktop/portal/desktop";
const char* const kInterface = "org.freedesktop.portal.Settings";
const char* const kGroup = "org.freedesktop.appearance";
const char* const kKey = "color-scheme";

// The portal wraps its value in one variant, and Read in another.
QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

DesktopAppearance::DesktopAppearance(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(kService, kPath, kInterface, "SettingChanged", this,
                  SLOT(settingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting: a portal that starts slowly never holds up the program's start.
    QDBusMessage read = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Read");
    read << QString(kGroup) << QString(kKey);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(read, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (!reply.isError())
            take(reply.argumentAt<0>().variant());
        call->deleteLater();
    });
}

app::ColorSet DesktopAppearance::colors() const
{
    return colorsFor(m_scheme, QApplication::palette());
}

app::ColorSet DesktopAppearance::colorsFor(appearance::DesktopScheme scheme, const QPalette& palette)
{
    app::ColorSet system = app::defaultColorSet();
    system[app::MainBackground] = ui::settingFromColor(palette.color(QPalette::Window));
    system[app::MajorTitle] = system[app::MinorTitle] = system[app::RadioText] =
        ui::settingFromColor(palette.color(QPalette::WindowText));
    system[app::EditBackground] = ui::settingFromColor(palette.color(QPalette::Base));
    system[app::EditText] = ui::settingFromColor(palette.color(QPalette::Text));
    return appearance::desktopColorSet(scheme, system);
}

void DesktopAppearance::settingChanged(const QString& group, const QString& key, const QDBusVariant& value)
{
    if (group == kGroup && key == kKey)
        take(value.variant());
}

void DesktopAppearance::take(const QVariant& value)
{
    const uint code = unwrapped(value).toUInt();
    const auto scheme = code == 1 ? appearance::DesktopScheme::Dark
                        : code == 2 ? appearance::DesktopScheme::Light
                                    : appearance::DesktopScheme::NoPreference;
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    emit schemeChanged();
}

} // namespace appearance_ui
