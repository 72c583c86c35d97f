#pragma once

// Options > Cover Size: how large a picture taken as a cover is kept. A larger
// one is scaled down to the longest side and kept as JPEG at the quality
// given; a smaller JPEG, PNG or WebP is kept as it comes.

#include "CoverStore.h"

#include <QDialog>

class QSpinBox;

namespace covers_ui {

class TCoverSize : public QDialog {
    Q_OBJECT

public:
    TCoverSize(const covers::CoverLimits& limits, QWidget* parent = nullptr);
    covers::CoverLimits limits() const;

    QSpinBox* LongestSide;
    QSpinBox* Quality;

private:
    covers::CoverLimits m_limits;
};

} // namespace covers_ui
