#include "TViewConfig.h"
#include "CellKeys.h"

#include "HelpViewer.h"
#include "Schema.h"
#include "ViewerConfig.h"
#include "WindowLook.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace appearance_ui {

namespace {

constexpr int kFields = db::kSchemaFieldCount;

const std::array<const char*, 6> kPageTopics = {"Viewer Configuration Title", "Viewer Configuration Look",
                                                "Viewer Configuration Show", "Viewer Configuration Widths",
                                                "Viewer Configuration Order", "Viewer Configuration Names"};

QTableWidget* twoColumnGrid(QWidget* owner, const QString& first, const QString& second, const char* name)
{
    auto* grid = new QTableWidget(kFields, 2, owner);
    grid->setObjectName(name);
    grid->setAccessibleName(QCoreApplication::translate("TViewConfig", "%1 and %2").arg(first, second));
    grid->setHorizontalHeaderLabels({first, second});
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

QTableWidgetItem* fixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

void showColor(QLabel* swatch, int color)
{
    swatch->setStyleSheet("background-color: " + ui::colorFromSetting(color).name() + "; border: 1px solid black;");
}

QGroupBox* group(QWidget* owner, const QString& title, QLayout* content)
{
    auto* box = new QGroupBox(title, owner);
    box->setLayout(content);
    return box;
}

} // namespace

QString fontBoxText(const app::FontSetting& font) { return QString("%1pt %2").arg(font.size).arg(font.name); }

TViewConfig::TViewConfig(app::Prompter& prompter, app::Settings& settings, double scaleFactor, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_settings(settings)
{
    setWindowTitle(tr("Viewer Configuration"));
    for (const app::FieldSettings& field : m_settings.fields)
        m_listedNames << field.displayName;
    auto* layout = new QVBoxLayout(this);
    Pages = new QTabWidget(this);
    Pages->setAccessibleName(tr("Viewer configuration pages"));
    Pages->addTab(titlePage(), tr("&Title"));
    Pages->addTab(lookPage(), tr("&Look and Feel"));
    Pages->addTab(showPage(), tr("Fields to &Show"));
    Pages->addTab(widthsPage(), tr("Field &Widths"));
    Pages->addTab(orderPage(), tr("Field &Order"));
    Pages->addTab(namesPage(), tr("Field &Names"));
    Pages->setCurrentIndex(2);
    layout->addWidget(Pages, 1);
    auto* buttons = new QHBoxLayout;
    auto* exit = new QPushButton(tr("E&xit"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    buttons->addStretch();
    buttons->addWidget(exit);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this,
            [this] { app::showHelp(this, kPageTopics[static_cast<size_t>(Pages->currentIndex())]); });
    for (int page = 0; page < Pages->count() && page < static_cast<int>(kPageTopics.size()); ++page) // F1 opens the section of the page it is pressed on
        app::setHelpKeyword(Pages->widget(page), kPageTopics[static_cast<size_t>(page)]);
    ui::applyWindowLook(this, m_settings, app::ConfigureWindowColors, scaleFactor);
    // Wide enough for all six tabs in the window's font, none cut or behind scroll arrows.
    const int margins = layout->contentsMargins().left() + layout->contentsMargins().right()
                        + 2 * Pages->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int tabs = Pages->tabBar()->sizeHint().width() + margins + 8;
    resize(std::max(static_cast<int>(480 * scaleFactor), tabs), static_cast<int>(460 * scaleFactor));
}

QWidget* TViewConfig::titlePage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    ShowTitles = new QCheckBox(tr("Show Column Titles"), page);
    ShowTitles->setChecked(m_settings.gridShowTitles);
    connect(ShowTitles, &QCheckBox::toggled, this, [this](bool on) { m_settings.gridShowTitles = on; });
    layout->addWidget(ShowTitles);

    auto* fontRow = new QHBoxLayout;
    TitleFontBox = new QLineEdit(fontBoxText(m_settings.gridTitleFont), page);
    TitleFontBox->setReadOnly(true);
    auto* titleFont = new QPushButton(tr("New &Font"), page);
    connect(titleFont, &QPushButton::clicked, this, &TViewConfig::chooseTitleFont);
    fontRow->addWidget(TitleFontBox, 1);
    fontRow->addWidget(titleFont);
    ui::addFontColorButton(fontRow, this, m_prompter, m_settings.gridTitleFont.color);
    layout->addWidget(group(page, tr("Title Font"), fontRow));

    auto* colorRow = new QHBoxLayout;
    TitleColorSwatch = new QLabel(page);
    TitleColorSwatch->setMinimumSize(60, 20);
    showColor(TitleColorSwatch, m_settings.gridTitleBackground);
    auto* titleColor = new QPushButton(tr("New &Color"), page);
    connect(titleColor, &QPushButton::clicked, this, &TViewConfig::chooseTitleColor);
    colorRow->addWidget(TitleColorSwatch, 1);
    colorRow->addWidget(titleColor);
    layout->addWidget(group(page, tr("Background"), colorRow));

    auto* alignment = new QVBoxLayout;
    LeftJustify = new QRadioButton(tr("Left Justify"), page);
    Center = new QRadioButton(tr("Center"), page);
    RightJustify = new QRadioButton(tr("Right Justify"), page);
    const std::array<QRadioButton*, 3> choices = {LeftJustify, Center, RightJustify};
    for (int i = 0; i < 3; ++i) {
        alignment->addWidget(choices[static_cast<size_t>(i)]);
        choices[static_cast<size_t>(i)]->setChecked(m_settings.gridTitleAlignment == i + 1);
        connect(choices[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                m_settings.gridTitleAlignment = i + 1;
        });
    }
    layout->addWidget(group(page, tr("Alignment"), alignment));
    layout->addStretch();
    return page;
}

QWidget* TViewConfig::lookPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* options = new QVBoxLayout;
    auto check = [&](const QString& caption, bool& value) {
        auto* box = new QCheckBox(caption, page);
        box->setChecked(value);
        connect(box, &QCheckBox::toggled, this, [&value](bool on) { value = on; });
        options->addWidget(box);
        return box;
    };
    ColumnLines = check(tr("Show lines between columns"), m_settings.gridColumnLines);
    RowLines = check(tr("Show lines between rows"), m_settings.gridRowLines);
    RowIndicator = check(tr("Show current row indicator"), m_settings.gridRowIndicator);
    FieldEditing = check(tr("Allow field editing"), m_settings.gridFieldEditing);
    layout->addWidget(group(page, tr("Grid Options"), options));

    auto* colorRow = new QHBoxLayout;
    CellColorSwatch = new QLabel(page);
    CellColorSwatch->setMinimumSize(60, 20);
    showColor(CellColorSwatch, m_settings.gridCellColor);
    auto* cellColor = new QPushButton(tr("New &Color"), page);
    connect(cellColor, &QPushButton::clicked, this, &TViewConfig::chooseCellColor);
    colorRow->addWidget(CellColorSwatch, 1);
    colorRow->addWidget(cellColor);
    layout->addWidget(group(page, tr("Cell Color"), colorRow));

    auto* fontRow = new QHBoxLayout;
    CellFontBox = new QLineEdit(fontBoxText(m_settings.gridFont), page);
    CellFontBox->setReadOnly(true);
    auto* cellFont = new QPushButton(tr("New &Font"), page);
    connect(cellFont, &QPushButton::clicked, this, &TViewConfig::chooseCellFont);
    fontRow->addWidget(CellFontBox, 1);
    fontRow->addWidget(cellFont);
    ui::addFontColorButton(fontRow, this, m_prompter, m_settings.gridFont.color);
    layout->addWidget(group(page, tr("Cell Font"), fontRow));
    layout->addStretch();
    return page;
}

QWidget* TViewConfig::showPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* hint = new QLabel(tr("For each field that you would like displayed in the Viewer, select 'Yes'.  If you do not "
                            "wish a field to appear in the Viewer, then select 'No' for that field.  Double Click on "
                            "the field to change between 'Yes' and 'No'."),
                            page);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    ShowGrid = twoColumnGrid(page, tr("FIELD"), tr("DISPLAY IT"), "ShowGrid");
    ShowGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int k = 0; k < kFields; ++k) {
        const app::FieldSettings& field = m_settings.fields[static_cast<size_t>(k)];
        ShowGrid->setItem(k, 0, fixedItem(field.displayName));
        ShowGrid->setItem(k, 1, fixedItem(field.display ? tr("Yes") : tr("No")));
    }
    connect(ShowGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column == 1)
            toggleShown(row);
    });
    ui::pressCellsWithSpace(ShowGrid, [this](int row, int column) {
        if (column == 1)
            toggleShown(row);
        return column == 1;
    });
    layout->addWidget(ShowGrid, 1);
    return page;
}

QWidget* TViewConfig::widthsPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    WidthGrid = twoColumnGrid(page, tr("FIELD"), tr("WIDTH"), "WidthGrid");
    for (int k = 0; k < kFields; ++k) {
        const app::FieldSettings& field = m_settings.fields[static_cast<size_t>(k)];
        WidthGrid->setItem(k, 0, fixedItem(field.displayName));
        WidthGrid->setItem(k, 1, new QTableWidgetItem(QString::number(field.width)));
    }
    layout->addWidget(WidthGrid, 1);
    return page;
}

QWidget* TViewConfig::orderPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    OrderList = new QListWidget(page);
    OrderList->setObjectName("OrderList");
    OrderList->setAccessibleName(tr("Column order"));
    OrderList->addItems(appearance::orderRows(m_settings));
    OrderList->setCurrentRow(0);
    layout->addWidget(OrderList, 1);
    auto* side = new QVBoxLayout;
    auto* caption = new QLabel(tr("Field\nOrdering"), page);
    caption->setAlignment(Qt::AlignCenter);
    side->addWidget(caption);
    auto* up = new QPushButton(tr("&Up"), page);
    auto* down = new QPushButton(tr("&Down"), page);
    auto* defaults = new QPushButton(tr("D&efaults"), page);
    for (QPushButton* b : {up, down, defaults})
        side->addWidget(b);
    side->addStretch();
    layout->addLayout(side);
    connect(up, &QPushButton::clicked, this, &TViewConfig::UpClick);
    connect(down, &QPushButton::clicked, this, &TViewConfig::DownClick);
    connect(defaults, &QPushButton::clicked, this, &TViewConfig::DefaultsClick);
    return page;
}

QWidget* TViewConfig::namesPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    NamesGrid = twoColumnGrid(page, tr("FIELD"), tr("NAME TO USE"), "NamesGrid");
    for (int k = 0; k < kFields; ++k) {
        NamesGrid->setItem(k, 0, fixedItem(QString::fromLatin1(db::schemaField(k + 1).name)));
        NamesGrid->setItem(k, 1, new QTableWidgetItem(m_settings.fields[static_cast<size_t>(k)].displayName));
    }
    layout->addWidget(NamesGrid, 1);
    return page;
}

void TViewConfig::toggleShown(int row)
{
    QTableWidgetItem* item = ShowGrid->item(row, 1);
    item->setText(item->text() == tr("Yes") ? tr("No") : tr("Yes"));
}

void TViewConfig::moveOrderRow(int from, int to)
{
    if (from < 0 || to < 0 || to >= OrderList->count())
        return;
    QListWidgetItem* item = OrderList->takeItem(from);
    OrderList->insertItem(to, item);
    OrderList->setCurrentRow(to);
}

void TViewConfig::UpClick() { moveOrderRow(OrderList->currentRow(), OrderList->currentRow() - 1); }

void TViewConfig::DownClick() { moveOrderRow(OrderList->currentRow(), OrderList->currentRow() + 1); }

void TViewConfig::DefaultsClick()
{
    if (m_prompter.ask(this, tr("Re-Order"), tr("This will set the order of fields to the program defaults.  Continue?"),
                       app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
        != app::Prompter::Answer::Yes)
        return;
    OrderList->clear();
    OrderList->addItems(m_listedNames);
    OrderList->setCurrentRow(0);
}

void TViewConfig::chooseFont(app::FontSetting& font, QLineEdit* box)
{
    // The dialog opens on the font in force, found by its real family.
    const std::optional<QFont> chosen = m_prompter.chooseFont(
        this, ui::dialogFont(font.name, font.size, font.bold, font.italic, font.underline, font.strikeout));
    if (!chosen)
        return;
    font.name = chosen->family();
    font.size = chosen->pointSize() > 0 ? chosen->pointSize() : font.size;
    font.bold = chosen->bold();
    font.italic = chosen->italic();
    font.underline = chosen->underline();
    font.strikeout = chosen->strikeOut();
    box->setText(fontBoxText(font));
}

void TViewConfig::chooseColor(int& color, QLabel* swatch)
{
    const std::optional<QColor> chosen = m_prompter.chooseColor(this, ui::colorFromSetting(color));
    if (!chosen)
        return;
    color = ui::settingFromColor(*chosen);
    showColor(swatch, color);
}

void TViewConfig::chooseTitleFont() { chooseFont(m_settings.gridTitleFont, TitleFontBox); }
void TViewConfig::chooseCellFont() { chooseFont(m_settings.gridFont, CellFontBox); }
void TViewConfig::chooseTitleColor() { chooseColor(m_settings.gridTitleBackground, TitleColorSwatch); }
void TViewConfig::chooseCellColor() { chooseColor(m_settings.gridCellColor, CellColorSwatch); }

bool TViewConfig::namesAreUnique()
{
    QStringList names;
    for (int k = 0; k < kFields; ++k)
        names << NamesGrid->item(k, 1)->text();
    const std::optional<QString> duplicate = appearance::firstDuplicate(names);
    if (!duplicate)
        return true;
    m_prompter.message(this, tr("Error"), appearance::duplicateMessage(*duplicate), app::Prompter::Icon::Error);
    Pages->setCurrentIndex(5);
    NamesGrid->setFocus();
    return false;
}

void TViewConfig::readBack()
{
    for (int k = 0; k < kFields; ++k) {
        app::FieldSettings& field = m_settings.fields[static_cast<size_t>(k)];
        field.displayName = NamesGrid->item(k, 1)->text().left(appearance::kDisplayNameLength);
        const int width = appearance::widthFromCell(WidthGrid->item(k, 1)->text());
        WidthGrid->item(k, 1)->setText(QString::number(width));
        field.width = width;
        field.display = ShowGrid->item(k, 1)->text() == tr("Yes");
    }
    QStringList rows;
    for (int r = 0; r < OrderList->count(); ++r)
        rows << OrderList->item(r)->text();
    appearance::takeOrder(m_settings, m_listedNames, rows);
}

void TViewConfig::done(int result)
{
    // There is no cancel: however the window closes, the grids are taken over,
    // and only two fields of one name keep it open.
    if (!namesAreUnique())
        return;
    readBack();
    QDialog::done(result);
}

} // namespace appearance_ui
