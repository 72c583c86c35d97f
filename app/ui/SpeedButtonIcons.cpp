#include "SpeedButtonIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include <map>

namespace app {

namespace {

struct Picture {
    const char* theme;
    QStyle::StandardPixmap standard; // SP_CustomBase: drawn here
};

const std::map<QString, Picture>& pictures()
{
    static const std::map<QString, Picture> map = {
        {"NewDatabase", {"document-new", QStyle::SP_FileIcon}},
        {"OpenDatabase", {"document-open", QStyle::SP_DialogOpenButton}},
        {"Add", {"list-add", QStyle::SP_FileDialogNewFolder}},
        {"Edit", {"document-edit", QStyle::SP_FileDialogDetailedView}},
        {"Copy", {"edit-copy", QStyle::SP_FileLinkIcon}},
        {"Delete", {"edit-delete", QStyle::SP_TrashIcon}},
        {"Import", {"document-import", QStyle::SP_ArrowDown}},
        {"Export", {"document-export", QStyle::SP_ArrowUp}},
        {"Search", {"edit-find", QStyle::SP_FileDialogContentsView}},
        {"EndSearch", {"edit-clear", QStyle::SP_DialogCloseButton}},
        {"Locate", {"go-jump", QStyle::SP_ArrowRight}},
        {"LocateNext", {"go-next", QStyle::SP_MediaSeekForward}},
        {"Reports", {"document-print", QStyle::SP_FileDialogListView}},
        {"Viewer", {"view-list-details", QStyle::SP_DesktopIcon}},
        {"ColorAll", {"preferences-desktop-color", QStyle::SP_CustomBase}},
        {"SortOrder", {"view-sort-ascending", QStyle::SP_CustomBase}},
        {"Statistics", {"office-chart-bar", QStyle::SP_CustomBase}},
        {"Contents", {"help-contents", QStyle::SP_DialogHelpButton}},
    };
    return map;
}

// Three overlapping spots of color: the color setup.
QPixmap colorsPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    const std::array<std::pair<QColor, QPointF>, 3> spots = {
        {{QColor(220, 50, 47), {11, 11}}, {QColor(38, 139, 210), {21, 11}}, {QColor(133, 153, 0), {16, 20}}}};
    for (const auto& [color, centre] : spots) {
        p.setBrush(color);
        p.drawEllipse(centre, 8.5, 8.5);
    }
    return picture;
}

// "A" above "Z" with an arrow down beside them: the sort order.
QPixmap sortPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(40, 40, 40));
    p.drawText(QRectF(2, 1, 16, 15), Qt::AlignCenter, "A");
    p.drawText(QRectF(2, 16, 16, 15), Qt::AlignCenter, "Z");
    p.setPen(QPen(QColor(38, 139, 210), 2.5));
    p.drawLine(QPointF(24, 4), QPointF(24, 26));
    QPainterPath head;
    head.moveTo(19, 21);
    head.lineTo(24, 28);
    head.lineTo(29, 21);
    p.drawPath(head);
    return picture;
}

// Three bars of a chart on their axis: the statistics.
QPixmap statisticsPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.drawLine(QPointF(3, 3), QPointF(3, 29));
    p.drawLine(QPointF(3, 29), QPointF(29, 29));
    const std::array<std::pair<QColor, QRectF>, 3> bars = {{{QColor(38, 139, 210), QRectF(7, 15, 5, 13)},
                                                            {QColor(220, 50, 47), QRectF(14, 6, 5, 22)},
                                                            {QColor(133, 153, 0), QRectF(21, 11, 5, 17)}}};
    p.setPen(Qt::NoPen);
    for (const auto& [color, bar] : bars)
        p.fillRect(bar, color);
    return picture;
}

} // namespace

QIcon speedButtonIcon(const QString& command, const QStyle* style)
{
    const auto found = pictures().find(command);
    if (found == pictures().end())
        return {};
    const Picture& picture = found->second;
    QIcon fallback;
    if (picture.standard != QStyle::SP_CustomBase)
        fallback = style->standardIcon(picture.standard);
    else if (command == "ColorAll")
        fallback = QIcon(colorsPicture());
    else if (command == "Statistics")
        fallback = QIcon(statisticsPicture());
    else
        fallback = QIcon(sortPicture());
    return QIcon::fromTheme(picture.theme, fallback);
}

} // namespace app
