#include "WindowLook.h"

#include "AccessibleComboBox.h"

#include "Contrast.h"
#include "Prompter.h"

#include <algorithm>

#include <QCoreApplication>
#include <QAbstractButton>
#include <QApplication>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QGroupBox>
#include <QGuiApplication>
#include <QEvent>
#include <QLabel>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QTabBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTextEdit>
#include <QWidget>

namespace ui {

QColor colorFromSetting(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int settingFromColor(const QColor& color)
{
    return color.red() + 256 * color.green() + 65536 * color.blue();
}

namespace {

constexpr const char* kOwnFont = "keepsOwnFont";
constexpr const char* kAlwaysBold = "alwaysBold";

void applyFace(QWidget* w, const app::WindowFont& face)
{
    QFont f = w->font();
    f.setFamily(face.name);
    f.setBold(face.bold || w->property(kAlwaysBold).toBool());
    f.setItalic(face.italic);
    w->setFont(f);
}

// A widget with a font of its own (the viewer grid's Grid Font), or inside one.
bool keepsOwnFont(const QWidget* w, const QWidget* window)
{
    for (; w && w != window; w = w->parentWidget())
        if (w->property(kOwnFont).toBool())
            return true;
    return false;
}

const app::WindowFont* fontFor(QWidget* w, const WindowFonts& fonts)
{
    if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)
        || qobject_cast<QGroupBox*>(w) || qobject_cast<QListView*>(w))
        return &fonts.label;
    if (qobject_cast<QTableView*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)
        || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
        return &fonts.edit;
    if (qobject_cast<QAbstractButton*>(w))
        return &fonts.button;
    return nullptr;
}

// A disabled control's text: halfway from the text color to the background,
// so that it reads as disabled in every color combination.
QColor disabledText(const QColor& text, const QColor& background)
{
    return QColor((text.red() + background.red()) / 2, (text.green() + background.green()) / 2,
                  (text.blue() + background.blue()) / 2);
}

void setColors(QWidget* w, QPalette::ColorRole background, int backgroundColor, QPalette::ColorRole text,
               int textColor)
{
    const QColor back = colorFromSetting(backgroundColor);
    const QColor fore = colorFromSetting(textColor);
    QPalette p = w->palette();
    p.setColor(background, back);
    // A button fills its background with the button color (its background
    // role), whatever role its colors are given in: both take the color.
    if (w->backgroundRole() != background)
        p.setColor(w->backgroundRole(), back);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, text, fore);
    p.setColor(QPalette::Disabled, text, disabledText(fore, back));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

void SetFonts(QWidget* window, const WindowFonts& fonts)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // A combo box's own line edit follows the combo box.
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        if (keepsOwnFont(w, window))
            continue;
        if (const app::WindowFont* face = fontFor(w, fonts))
            applyFace(w, *face);
    }
}

void keepOwnFont(QWidget* widget)
{
    widget->setProperty(kOwnFont, true);
}

void keepBold(QWidget* widget)
{
    widget->setProperty(kAlwaysBold, true);
    QFont f = widget->font();
    f.setBold(true);
    widget->setFont(f);
}

void applyColorSet(QWidget* window, const app::ColorSet& c, const std::function<bool(const QLabel*)>& isHeading)
{
    using namespace app;
    setColors(window, QPalette::Window, c[MainBackground], QPalette::WindowText, c[MajorTitle]);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w))
            setColors(w, QPalette::Window, c[MainBackground], QPalette::WindowText,
                      isHeading(label) ? c[MajorTitle] : c[MinorTitle]);
        else if (qobject_cast<QComboBox*>(w) || (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())))
            // An editable combo box's text area is part of the combo box.
            setColors(w, QPalette::Base, c[ComboBackground], QPalette::Text, c[ComboText]);
        else if (qobject_cast<QAbstractItemView*>(w))
            setColors(w, QPalette::Base, c[ListBoxBackground], QPalette::Text, c[ListBoxText]);
        else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
            setColors(w, QPalette::Base, c[EditBackground], QPalette::Text, c[EditText]);
        else if (qobject_cast<QRadioButton*>(w))
            setColors(w, QPalette::Window, c[RadioBackground], QPalette::WindowText, c[RadioText]);
        else if (qobject_cast<QCheckBox*>(w))
            setColors(w, QPalette::Window, c[CheckBackground], QPalette::WindowText, c[CheckText]);
    }
    mendContrast(window);
}

namespace {

// A column is at least as wide as its heading: a translated heading may be
// longer than the English one the column was laid out for.
void widenColumnsToHeadings(QWidget* window)
{
    for (QTableView* table : window->findChildren<QTableView*>()) {
        QHeaderView* header = table->horizontalHeader();
        if (header->isHidden() || !table->model())
            continue;
        for (int c = 0; c < header->count(); ++c)
            if (!header->isSectionHidden(c) && header->sectionSize(c) < header->sectionSizeHint(c))
                header->resizeSection(c, header->sectionSizeHint(c));
    }
}

} // namespace

namespace {

app::Rgb rgbOf(const QColor& c)
{
    return {c.red(), c.green(), c.blue()};
}

QColor colorOf(app::Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

constexpr double kMarkContrast = 3.0; // what a focus or selection mark needs against what is around it

// Moves the text roles of a palette that fall short on their backgrounds;
// `window` stands for the Window role where the widget does not fill its own.
bool mendPalette(QPalette& p, const QColor& window)
{
    bool changed = false;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const ContrastPair& pair : contrastPairs()) {
            const QColor back = pair.background == QPalette::Window ? window : p.color(group, pair.background);
            const QColor text = p.color(group, pair.text);
            // A selection keeps its text color (white, mostly) and is drawn darker or lighter instead.
            const bool moveBackground = pair.background == QPalette::Highlight;
            const QColor& moved = moveBackground ? back : text;
            const app::Rgb legible = app::legibleOn(rgbOf(moved), rgbOf(moveBackground ? text : back));
            if (!(legible == rgbOf(moved))) {
                p.setColor(group, moveBackground ? pair.background : pair.text, colorOf(legible));
                changed = true;
            }
        }
        // The current item of a list or grid stands out from the others, 3 to 1 as any mark that
        // is not text must; its text is then made legible on it.
        const app::Rgb mark = rgbOf(p.color(group, QPalette::Highlight));
        const app::Rgb standsOut = app::legibleOn(mark, rgbOf(p.color(group, QPalette::Base)), kMarkContrast);
        if (!(standsOut == mark)) {
            p.setColor(group, QPalette::Highlight, colorOf(standsOut));
            const app::Rgb text = rgbOf(p.color(group, QPalette::HighlightedText));
            p.setColor(group, QPalette::HighlightedText, colorOf(app::legibleOn(text, standsOut)));
            changed = true;
        }
    }
    return changed;
}

} // namespace

void mendApplicationPalette()
{
    QPalette p = QApplication::palette();
    if (mendPalette(p, p.color(QPalette::Window)))
        QApplication::setPalette(p);
}

QColor legibleOn(const QColor& text, const QColor& background)
{
    return colorOf(app::legibleOn(rgbOf(text), rgbOf(background)));
}

const std::vector<ContrastPair>& contrastPairs()
{
    static const std::vector<ContrastPair> pairs = {
        {QPalette::WindowText, QPalette::Window}, {QPalette::ButtonText, QPalette::Button},
        {QPalette::Text, QPalette::Base},         {QPalette::HighlightedText, QPalette::Highlight},
        {QPalette::ToolTipText, QPalette::ToolTipBase}};
    return pairs;
}

QColor drawnOn(const QWidget* widget)
{
    const QWidget* w = widget;
    while (!w->autoFillBackground() && !w->isWindow() && w->parentWidget())
        w = w->parentWidget();
    return w->palette().color(w->backgroundRole());
}

void mendContrast(QWidget* window)
{
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w != window && w->isWindow())
            continue; // a window of its own is mended when it is made
        QPalette p = w->palette();
        bool changed = false;
        if (qobject_cast<QMenuBar*>(w) || qobject_cast<QTabBar*>(w)) {
            // Styles draw these on the window color or the button color: one color for both.
            const QColor back = drawnOn(w);
            for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
                if (p.color(group, QPalette::Button) != back) {
                    p.setColor(group, QPalette::Button, back);
                    changed = true;
                }
        }
        changed = mendPalette(p, drawnOn(w)) || changed;
        if (changed)
            w->setPalette(p);
    }
}

void nameControlsByTheirLabels(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* control = label->buddy();
        if (!control || !control->accessibleName().isEmpty())
            continue;
        // What a screen reader says: the label without its accelerator's "&" and closing colon.
        QString name = label->text();
        name.replace("&&", QChar(0x1)).remove('&').replace(QChar(0x1), "&");
        name = name.trimmed();
        while (name.endsWith(':'))
            name.chop(1);
        if (!name.trimmed().isEmpty())
            control->setAccessibleName(name.trimmed());
    }
}

namespace {

class LabelNamer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            if (auto* widget = static_cast<QWidget*>(watched); widget->isWindow())
                nameControlsByTheirLabels(widget);
        return false;
    }
};

} // namespace

void nameControlsOfEveryWindow(QObject* owner)
{
    nameComboBoxesByTheirLabels();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(new LabelNamer(owner));
}

void applyWindowLook(QWidget* window, const app::Settings& settings, app::ColorGroup group, double scaleFactor)
{
    nameControlsByTheirLabels(window);
    SetFonts(window, {settings.labelFont, settings.editFont, settings.buttonFont});
    applyColorSet(window, settings.colorsOf(group), [](const QLabel*) { return true; });
    scaleAndCentre(window, scaleFactor);
    widenColumnsToHeadings(window);
}

QFont dialogFont(const QString& face, int points, bool bold, bool italic, bool underline, bool strikeout)
{
    QFont font(face);
    if (points > 0)
        font.setPointSize(points);
    font.setFamily(QFontInfo(font).family());
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeout);
    return font;
}

QBoxLayout* addOkCancel(QDialog* dialog, QBoxLayout* into, std::function<void()> onOk)
{
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(QCoreApplication::translate("ui", "&Ok"), dialog);
    auto* cancel = new QPushButton(QCoreApplication::translate("ui", "&Cancel"), dialog);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    into->addLayout(row);
    if (onOk)
        QObject::connect(ok, &QPushButton::clicked, dialog, std::move(onOk));
    else
        QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

namespace {

// What the window manager's frame adds to a window's size (title bar and
// borders). A window not shown yet has no frame to ask, so the frame of the
// window it belongs to (or of the active one) stands in: they are framed
// alike. Nothing is known before the first window is framed.
QSize frameExtras(const QWidget* window)
{
    const QWidget* framed = window;
    if (window->frameGeometry() == window->geometry())
        framed = window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
    if (!framed || !framed->isVisible())
        return {0, 0};
    const QSize extras = framed->frameGeometry().size() - framed->geometry().size();
    return extras.width() >= 0 && extras.height() >= 0 ? extras : QSize(0, 0);
}

} // namespace

void scaleAndCentre(QWidget* window, double factor)
{
    // The designed values are remembered the first time: the size the window
    // was given, or else the size its layout asks for (a window that is not
    // sized yet would be centred by a size it does not keep).
    if (!window->property("designSize").isValid()) {
        if (window->layout())
            window->layout()->activate();
        const QSize design = window->testAttribute(Qt::WA_Resized)
            ? window->size()
            : window->sizeHint().expandedTo(window->minimumSizeHint());
        window->setProperty("designSize", design);
        window->setProperty("designPointSize", window->font().pointSizeF());
    }
    int percent = static_cast<int>(factor * 100.0);
    const QSize design = window->property("designSize").toSize();
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    // No window is larger than the screen's area for windows: an enlargement
    // that would not fit is cut back to what does (never below the design).
    const QSize room = screen ? screen->availableGeometry().size() - frameExtras(window) : QSize();
    if (screen && design.width() > 0 && design.height() > 0) {
        const int fits = std::min(room.width() * 100 / design.width(), room.height() * 100 / design.height());
        percent = std::min(percent, std::max(fits, 100));
    }
    const double points = window->property("designPointSize").toDouble();
    if (points > 0) {
        QFont f = window->font();
        f.setPointSizeF(points * percent / 100.0);
        window->setFont(f);
    }
    window->resize(design.width() * percent / 100, design.height() * percent / 100);
    fitToScreen(window);
}

void fitToScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize extras = frameExtras(window);
    const QRect available = screen->availableGeometry();
    window->resize(window->size().boundedTo(available.size() - extras));
    // The window manager puts the frame's corner where the window is moved
    // to, so the frame, not the window inside it, is what is centred: a
    // frame taller by its title bar would otherwise hang half that low.
    // The frame stays inside the area for windows (off a task bar).
    const QSize s = screen->size();
    const QSize frame = window->size() + extras;
    const int left = std::clamp((s.width() - frame.width()) / 2, available.left(),
                                std::max(available.left(), available.right() + 1 - frame.width()));
    const int top = std::clamp((s.height() - frame.height()) / 2, available.top(),
                               std::max(available.top(), available.bottom() + 1 - frame.height()));
    window->move(left, top);
}

namespace {

QIcon swatch(int color)
{
    QPixmap square(16, 16);
    square.fill(colorFromSetting(color));
    return QIcon(square);
}

} // namespace

QPushButton* addFontColorButton(QBoxLayout* row, QWidget* owner, app::Prompter& prompter, int& color)
{
    auto* button = new QPushButton(swatch(color), QCoreApplication::translate("ui", "Font Co&lor..."), owner);
    button->setToolTip(QCoreApplication::translate("ui", "The color the font is written in"));
    button->setObjectName(QStringLiteral("FontColor"));
    QObject::connect(button, &QPushButton::clicked, owner, [button, owner, &prompter, &color] {
        if (const std::optional<QColor> chosen = prompter.chooseColor(owner, colorFromSetting(color))) {
            color = settingFromColor(*chosen);
            button->setIcon(swatch(color));
        }
    });
    row->addWidget(button);
    return button;
}

} // namespace ui
