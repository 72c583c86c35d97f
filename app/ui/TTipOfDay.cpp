#include "TTipOfDay.h"

#include "WindowLook.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStyle>
#include <QVBoxLayout>

namespace app {

const std::array<const char*, 24> TTipOfDay::kTips = {
    QT_TR_NOOP("You can rename database fields to your liking."),
    QT_TR_NOOP("You can optionally edit data directly on the Main Window Viewer."),
    QT_TR_NOOP("You can choose to see only those database fields you desire in the Main Window Viewer."),
    QT_TR_NOOP("You can choose the order in which the database fields appear in the Main Window Viewer."),
    QT_TR_NOOP("You can select the font for edit boxes allowing for support of foreign language input."),
    QT_TR_NOOP("You can do a global search and replace on any database field."),
    QT_TR_NOOP("You can select numeric and currency formats for reports to either match your Windows setup or to be a U.S. "
    "format."),
    QT_TR_NOOP("You can choose from among several date formats to be used through out the program."),
    QT_TR_NOOP("You can sort your data by any database field and go four levels deep."),
    QT_TR_NOOP("You can maintain multiple databases and Reelkeeper will display the last five used in the menu for easy "
    "retrieval."),
    QT_TR_NOOP("You can easily import data from ASCII Delimited or DBase compatible files."),
    QT_TR_NOOP("You can export data to ASCII Delimited or DBase compatible files and choose which database fields to export and "
    "the order."),
    QT_TR_NOOP("When exporting data, you can limit the data to export by first doing a search."),
    QT_TR_NOOP("When printing a report, you can limit the data to print by first doing a search."),
    QT_TR_NOOP("You can preview reports, print reports to a text file or send them directly to the printer."),
    QT_TR_NOOP("You can design and build as many of your own report layouts as you like."),
    QT_TR_NOOP("You can choose to have speed buttons or large lettered buttons on the main window for quick program functions."),
    QT_TR_NOOP("You can choose among popular screen sizes allowing program windows to appear the size you prefer."),
    QT_TR_NOOP("You can choose the font style for text input, labels and buttons allowing for a more personal appearance."),
    QT_TR_NOOP("You can narrow the data that is displayed in the Main Window Viewer to just the result of a search."),
    QT_TR_NOOP("Logical OR searches can be performed: Find all records where the item = xxxx OR where the item = yyyy."),
    QT_TR_NOOP("User defined reports allow for Title Lines, Font Selection, Margin Settings, Page Numbers, Date On Pages and "
    "More."),
    QT_TR_NOOP("User defined reports allow for Column Headers, Vertical and Horizontal lines, Grouping of Data, Totals and More."),
    QT_TR_NOOP("A \"Browse Mode\" is available where a user has access to the data, but cannot change it."),
};

TTipOfDay::TTipOfDay(bool showTips, double scaleFactor, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Tip of the Day"));
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* panel = new QWidget(this);
    panel->setObjectName("TipPanel");
    panel->setAutoFillBackground(true);
    // The tip on the color of a page: white with black text on a light
    // desktop, the dark page color with light text on a dark one.
    QPalette page = panel->palette();
    page.setColor(QPalette::Window, page.color(QPalette::Base));
    page.setColor(QPalette::WindowText, page.color(QPalette::Text));
    panel->setPalette(page);
    auto* panelLayout = new QHBoxLayout(panel);
    auto* picture = new QLabel(panel);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    auto* heading = new QLabel(tr("Did you know?"), panel);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    heading->setFont(bold);
    m_comment = new QLabel(panel);
    m_comment->setObjectName("TipComment");
    m_comment->setWordWrap(true);
    m_comment->setMinimumWidth(300);
    m_comment->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    texts->addWidget(heading);
    texts->addWidget(m_comment, 1);
    panelLayout->addWidget(picture);
    panelLayout->addLayout(texts, 1);
    auto* buttons = new QVBoxLayout;
    auto* close = new QPushButton(tr("&Close"), this);
    auto* next = new QPushButton(tr("&Next Tip"), this);
    close->setDefault(true);
    buttons->addWidget(close);
    buttons->addWidget(next);
    buttons->addStretch(1);
    top->addWidget(panel, 1);
    top->addLayout(buttons);
    outer->addLayout(top, 1);
    m_showTips = new QCheckBox(tr("&Show Tips at Startup"), this);
    m_showTips->setObjectName("ShowTips");
    m_showTips->setChecked(showTips);
    outer->addWidget(m_showTips);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(next, &QPushButton::clicked, this, &TTipOfDay::NextTipClick);
    resize(430, 200);
    ui::mendContrast(this);
    ui::scaleAndCentre(this, scaleFactor);
    showTip(1 + static_cast<int>(QRandomGenerator::global()->bounded(24)));
}

void TTipOfDay::showTip(int number)
{
    m_tip = number;
    m_comment->setText(tr(kTips[static_cast<size_t>(number - 1)]));
}

void TTipOfDay::NextTipClick()
{
    showTip(m_tip % 24 + 1);
}

bool TTipOfDay::showTipsChecked() const
{
    return m_showTips->isChecked();
}

QString TTipOfDay::tipText() const
{
    return m_comment->text();
}

} // namespace app
