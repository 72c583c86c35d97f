#pragma once

// Options > TMDb Online Lookup: the user's own API key or read access token,
// how long a request may take, and whose certification becomes the Rating;
// "Try It" asks TMDb once with what is typed, while the window goes on.

#include "Tmdb.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lookup_ui {

class TTmdbOptions : public QDialog {
    Q_OBJECT

public:
    // current: the settings as they are (the address and cache file are kept for Try It).
    explicit TTmdbOptions(const lookup::TmdbSettings& current, QWidget* parent = nullptr);
    ~TTmdbOptions() override;

    QLineEdit* KeyBox;
    QSpinBox* TimeoutBox;
    QLineEdit* CountryBox;
    QPushButton* TryButton;
    QLabel* TryResult;
    void TryClick();

    QString key() const;
    int timeoutSeconds() const;
    QString country() const;

private:
    lookup::TmdbSettings typed() const;
    lookup::TmdbSettings m_current;
    std::unique_ptr<lookup::TmdbClient> m_trial;
};

} // namespace lookup_ui
