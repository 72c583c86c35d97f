#include "TLabelOptions.h"

#include "Cp1252.h"
#include "LabelRender.h"
#include "Schema.h"
#include "Table.h"
#include "WindowLook.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace report_ui {

namespace {

// The settings keep the label items as Rating, Title, Start Counter, Stop
// Counter, Play Time, Category, Media Number, Year Released: their fields.
constexpr std::array<const char*, 8> kItemFields = {"Rating", "Title", "CounterSta", "CounterSto",
                                                    "RunTime", "Category", "MediaNum", "Year"};

QString fontText(const app::FontSetting& font) { return QString("%1pt %2").arg(font.size).arg(font.name); }

// Media number and title of the records of a table, a screen at a time.
class MediaModel : public QAbstractTableModel {
public:
    MediaModel(db::Table& table, QStringList titles, QObject* parent)
        : QAbstractTableModel(parent)
        , m_table(table)
        , m_titles(std::move(titles))
        , m_fields{table.requireField("MediaNum"), table.requireField("Title")}
        , m_rows(static_cast<int>(std::min<uint32_t>(table.recordCount(), INT32_MAX)))
    {
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
            return m_titles[section];
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        uint32_t recNo = 0;
        if (!m_table.recordAtPosition(static_cast<uint32_t>(index.row()), m_bytes, recNo))
            return {};
        const db::Record record(&m_table.fields(), m_bytes.data());
        return QString::fromStdString(record.text(m_fields[static_cast<size_t>(index.column())]));
    }

private:
    db::Table& m_table;
    QStringList m_titles;
    std::array<int, 2> m_fields;
    int m_rows;
    mutable std::vector<char> m_bytes;
};

} // namespace

TLabelOptions::TLabelOptions(app::Prompter& prompter, app::Settings& settings, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_settings(settings)
{
    setWindowTitle(tr("Label Options"));
    auto* layout = new QVBoxLayout(this);
    auto* items = new QGroupBox(tr("Items To Include"), this);
    auto* itemsLayout = new QVBoxLayout(items);
    for (size_t i = 0; i < Items.size(); ++i) {
        const int position = db::schemaPosition(kItemFields[i]);
        Items[i] = new QCheckBox(m_settings.fields[static_cast<size_t>(position - 1)].displayName, items);
        Items[i]->setChecked(m_settings.labelItems[i]);
        itemsLayout->addWidget(Items[i]);
    }
    layout->addWidget(items);
    auto* fontGroup = new QGroupBox(tr("Font To Use"), this);
    auto* fontLayout = new QHBoxLayout(fontGroup);
    FontBox = new QLineEdit(fontText(m_settings.reportLabelFont), fontGroup);
    FontBox->setReadOnly(true);
    auto* newFont = new QPushButton(tr("&New"), fontGroup);
    fontLayout->addWidget(FontBox, 1);
    fontLayout->addWidget(newFont);
    ui::addFontColorButton(fontLayout, this, m_prompter, m_settings.reportLabelFont.color);
    layout->addWidget(fontGroup);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(newFont, &QPushButton::clicked, this, &TLabelOptions::NewFontClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ui::applyWindowLook(this, m_settings, app::ReportWindowColors, 1.0);
}

void TLabelOptions::NewFontClick()
{
    app::FontSetting& font = m_settings.reportLabelFont;
    const std::optional<QFont> chosen =
        m_prompter.chooseFont(this, ui::dialogFont(font.name, 10, font.bold, font.italic, font.underline, font.strikeout));
    if (!chosen)
        return;
    // The labels choose their own sizes: the label font is always 10 points.
    font.name = chosen->family();
    font.size = 10;
    font.bold = chosen->bold();
    font.italic = chosen->italic();
    font.underline = chosen->underline();
    font.strikeout = chosen->strikeOut();
    FontBox->setText(fontText(font));
}

void TLabelOptions::done(int result)
{
    for (size_t i = 0; i < Items.size(); ++i)
        m_settings.labelItems[i] = Items[i]->isChecked();
    QDialog::done(result);
}

TChooseMedia::TChooseMedia(const std::string& collectionFile, const std::string& sortTag, const app::Settings& settings,
                           QWidget* parent)
    : QDialog(parent)
    , m_view(std::make_unique<db::Table>())
{
    setWindowTitle(tr("Choose Media Number"));
    auto* layout = new QVBoxLayout(this);
    Grid = new QTableView(this);
    Grid->setObjectName("MediaChoices");
    Grid->setAccessibleName(tr("Media numbers"));
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->verticalHeader()->setVisible(false);
    m_view->setFilePath(collectionFile);
    m_view->selectIndex(sortTag);
    m_view->open(db::Table::OpenMode::ReadOnly);
    const QStringList titles = {settings.fields[static_cast<size_t>(db::schemaPosition("MediaNum") - 1)].displayName,
                                settings.fields[0].displayName};
    Grid->setModel(new MediaModel(*m_view, titles, this));
    Grid->horizontalHeader()->setStretchLastSection(true);
    if (Grid->model()->rowCount() > 0)
        Grid->selectRow(0);
    layout->addWidget(Grid, 1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("&Ok"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Grid, &QTableView::doubleClicked, this, &QDialog::accept);
    ui::applyWindowLook(this, settings, app::ReportWindowColors, 1.0);
    resize(420, 380);
}

TChooseMedia::~TChooseMedia() = default;

QString TChooseMedia::chosenMediaNumber() const
{
    const QModelIndex current = Grid->currentIndex();
    if (!current.isValid())
        return {};
    return Grid->model()->index(current.row(), 0).data().toString().trimmed();
}

} // namespace report_ui
