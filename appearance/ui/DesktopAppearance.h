#pragma once

// The desktop's light or dark preference, read from the XDG settings portal
// (org.freedesktop.portal.Settings, org.freedesktop.appearance color-scheme)
// over the session bus, and followed when it changes. Without a bus or a
// portal the preference is "none", and "Follow the Desktop" takes the
// system palette's colors.

#include "ColorCombinations.h"

#include <QDBusConnection>
#include <QObject>
#include <QPalette>

class QDBusVariant;

namespace appearance_ui {

class DesktopAppearance : public QObject {
    Q_OBJECT

public:
    explicit DesktopAppearance(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    appearance::DesktopScheme scheme() const { return m_scheme; }
    // The colors of "Follow the Desktop" now: the preference over the application's palette.
    app::ColorSet colors() const;
    // The colors "Follow the Desktop" gives for a preference and a system palette.
    static app::ColorSet colorsFor(appearance::DesktopScheme scheme, const QPalette& palette);

signals:
    void schemeChanged();

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void take(const QVariant& value);

    QDBusConnection m_bus;
    appearance::DesktopScheme m_scheme = appearance::DesktopScheme::NoPreference;
};

} // namespace appearance_ui
