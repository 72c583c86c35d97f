#include "TFillIn.h"

#include "Schema.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lookup_ui {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

QString joined(const std::vector<std::string>& names)
{
    QStringList list;
    for (const std::string& name : names)
        list << q(name);
    return list.join(", ");
}

} // namespace

TFillIn::TFillIn(lookup::ImdbIndex& index, const db::Table& table, std::function<std::string(int field)> current,
                 const QString& title, int year, QWidget* parent)
    : QDialog(parent)
    , m_index(index)
    , m_table(table)
    , m_current(std::move(current))
{
    setWindowTitle(tr("Fill In"));
    auto* layout = new QVBoxLayout(this);
    auto* search = new QHBoxLayout;
    auto* titleLabel = new QLabel(tr("&Title:"), this);
    TitleBox = new QLineEdit(title, this);
    titleLabel->setBuddy(TitleBox);
    auto* yearLabel = new QLabel(tr("&Year:"), this);
    YearBox = new QLineEdit(year > 0 ? QString::number(year) : QString(), this);
    YearBox->setMaxLength(4);
    YearBox->setMaximumWidth(60);
    yearLabel->setBuddy(YearBox);
    auto* searchButton = new QPushButton(tr("&Search"), this);
    search->addWidget(titleLabel);
    search->addWidget(TitleBox, 1);
    search->addWidget(yearLabel);
    search->addWidget(YearBox);
    search->addWidget(searchButton);
    layout->addLayout(search);
    Matches = new QTreeWidget(this);
    Matches->setAccessibleName(tr("Films found"));
    Matches->setRootIsDecorated(false);
    Matches->setHeaderLabels({tr("Title"), tr("Original Title"), tr("Year"), tr("Director"), tr("Play Time")});
    layout->addWidget(Matches, 1);
    Changes = new QTreeWidget(this);
    Changes->setAccessibleName(tr("What would change"));
    Changes->setRootIsDecorated(false);
    Changes->setHeaderLabels({tr("Field"), tr("Now"), tr("From IMDb")});
    layout->addWidget(Changes, 1);
    // The datasets' terms ask for this line wherever their data is shown.
    auto* courtesy = new QLabel(QString::fromLatin1(lookup::kImdbCourtesy), this);
    courtesy->setWordWrap(true);
    layout->addWidget(courtesy);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(searchButton, &QPushButton::clicked, this, &TFillIn::SearchClick);
    connect(TitleBox, &QLineEdit::returnPressed, this, &TFillIn::SearchClick);
    connect(Matches, &QTreeWidget::currentItemChanged, this, [this] { showChanges(); });
    resize(760, 560);
    SearchClick();
}

void TFillIn::SearchClick()
{
    m_films = m_index.byTitle(TitleBox->text().toStdString(), YearBox->text().toInt(), 30);
    Matches->clear();
    for (const lookup::Film& film : m_films) {
        auto* item = new QTreeWidgetItem(Matches, {q(film.title), film.originalTitle == film.title ? QString() : q(film.originalTitle),
                                                   film.year > 0 ? QString::number(film.year) : QString(), joined(film.directors),
                                                   film.runtime > 0 ? QString::number(film.runtime) : QString()});
        item->setToolTip(0, q(film.id));
    }
    if (m_films.empty()) {
        // Said in the list, where the films would be.
        auto* none = new QTreeWidgetItem(Matches, {tr("No film of the index has these words in its titles.")});
        none->setFlags(Qt::NoItemFlags);
        Matches->setFirstColumnSpanned(0, QModelIndex(), true);
    }
    Matches->header()->resizeSections(QHeaderView::ResizeToContents);
    if (!m_films.empty())
        Matches->setCurrentItem(Matches->topLevelItem(0));
    else
        showChanges();
}

void TFillIn::showChanges()
{
    Changes->clear();
    m_changes.clear();
    const int row = Matches->currentItem() ? Matches->indexOfTopLevelItem(Matches->currentItem()) : -1;
    if (row < 0 || row >= static_cast<int>(m_films.size()))
        return;
    m_changes = lookup::fillChanges(m_table, m_current, m_films[static_cast<size_t>(row)], false);
    for (const lookup::FillChange& change : m_changes) {
        QString after = q(change.after);
        if (change.leftOut > 0)
            after += " " + tr("(%1 more did not fit)").arg(change.leftOut);
        else if (change.cut)
            after += " " + tr("(cut to fit)");
        auto* item = new QTreeWidgetItem(Changes, {QCoreApplication::translate("db", db::schemaField(change.position).displayName),
                                                   q(change.before), after});
        // What the video has stays unless the user ticks it.
        item->setCheckState(0, change.before.empty() || change.before == "0" ? Qt::Checked : Qt::Unchecked);
    }
    Changes->header()->resizeSections(QHeaderView::ResizeToContents);
}

std::vector<lookup::FillChange> TFillIn::chosenChanges() const
{
    std::vector<lookup::FillChange> chosen;
    for (int i = 0; i < Changes->topLevelItemCount() && i < static_cast<int>(m_changes.size()); ++i)
        if (Changes->topLevelItem(i)->checkState(0) == Qt::Checked)
            chosen.push_back(m_changes[static_cast<size_t>(i)]);
    return chosen;
}

} // namespace lookup_ui
