#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;

namespace app {

// "Tip of the Day": one of 24 tips, chosen at random when shown; Next Tip
// goes on and wraps after the last; closing hands back the check box state.
class TTipOfDay : public QDialog {
    Q_OBJECT

public:
    static const std::array<const char*, 24> kTips;

    TTipOfDay(bool showTips, double scaleFactor, QWidget* parent = nullptr);

    int tipNumber() const { return m_tip; } // 1..24
    void showTip(int number);
    void NextTipClick();
    bool showTipsChecked() const;
    QString tipText() const;

private:
    int m_tip = 1;
    QLabel* m_comment = nullptr;
    QCheckBox* m_showTips = nullptr;
};

} // namespace app
