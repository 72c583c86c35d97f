#pragma once

// A translation installed for the life of the object, so that the windows a
// test makes meanwhile speak its language; removed again however the test ends.

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

namespace testing_support {

class InstalledTranslation {
public:
    explicit InstalledTranslation(const QString& file)
        : m_loaded(m_translator.load(file))
    {
        if (m_loaded)
            QCoreApplication::installTranslator(&m_translator);
    }
    ~InstalledTranslation() { QCoreApplication::removeTranslator(&m_translator); }
    InstalledTranslation(const InstalledTranslation&) = delete;
    InstalledTranslation& operator=(const InstalledTranslation&) = delete;

    bool loaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_loaded;
};

} // namespace testing_support
