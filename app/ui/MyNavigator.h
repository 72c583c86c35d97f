#pragma once

#include <QWidget>
#include <array>

class QToolButton;

namespace app {

// The record navigator: first, prior, next, last, insert, delete, edit,
// post, cancel and refresh, each with its hint. In browse mode only the
// four moving buttons show.
class MyNavigator : public QWidget {
    Q_OBJECT

public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh, ButtonCount };
    static const std::array<const char*, ButtonCount> kHints;

    explicit MyNavigator(QWidget* parent = nullptr);
    void setBrowseMode(bool on);
    QToolButton* button(Button b) const { return m_buttons[static_cast<size_t>(b)]; }

signals:
    void clicked(app::MyNavigator::Button button);

private:
    std::array<QToolButton*, ButtonCount> m_buttons{};
};

} // namespace app
