#include "TFillIn.h"

#include "Schema.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
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

constexpr int kDetailedMatches = 10; // TMDb's search gives no credits: the first ones are asked for theirs
constexpr int kThumbnailTall = 54;   // a poster beside its match, two wide to three tall

} // namespace

TFillIn::TFillIn(lookup::ImdbIndex* index, lookup::TmdbClient* tmdb, const db::Table& table,
                 std::function<std::string(int field)> current, const QString& title, int year, QWidget* parent, Source first)
    : QDialog(parent)
    , m_index(index)
    , m_tmdb(tmdb)
    , m_table(table)
    , m_current(std::move(current))
{
    setWindowTitle(tr("Fill In"));
    auto* layout = new QVBoxLayout(this);
    auto* search = new QHBoxLayout;
    auto* sourceLabel = new QLabel(tr("F&rom:"), this);
    SourceBox = new QComboBox(this);
    SourceBox->setAccessibleName(tr("From"));
    if (m_index)
        SourceBox->addItem(tr("IMDb's datasets"), static_cast<int>(Source::Imdb));
    if (m_tmdb)
        SourceBox->addItem(tr("TMDb (online)"), static_cast<int>(Source::Tmdb));
    SourceBox->setCurrentIndex(std::max(0, SourceBox->findData(static_cast<int>(first))));
    sourceLabel->setBuddy(SourceBox);
    auto* titleLabel = new QLabel(tr("&Title:"), this);
    TitleBox = new QLineEdit(title, this);
    TitleBox->setAccessibleName(tr("Title"));
    titleLabel->setBuddy(TitleBox);
    auto* yearLabel = new QLabel(tr("&Year:"), this);
    YearBox = new QLineEdit(year > 0 ? QString::number(year) : QString(), this);
    YearBox->setAccessibleName(tr("Year"));
    YearBox->setMaxLength(4);
    YearBox->setMaximumWidth(60);
    yearLabel->setBuddy(YearBox);
    auto* searchButton = new QPushButton(tr("&Search"), this);
    search->addWidget(sourceLabel);
    search->addWidget(SourceBox);
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
    layout->addWidget(Changes, 1);
    Notice = new QLabel(this);
    Notice->setWordWrap(true);
    layout->addWidget(Notice);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(searchButton, &QPushButton::clicked, this, &TFillIn::SearchClick);
    connect(TitleBox, &QLineEdit::returnPressed, this, &TFillIn::SearchClick);
    connect(Matches, &QTreeWidget::currentItemChanged, this, [this] { showChanges(); });
    connect(SourceBox, &QComboBox::currentIndexChanged, this, [this] { sourceChanged(); });
    resize(760, 560);
    sourceChanged();
}

TFillIn::~TFillIn()
{
    // The answers still on their way would come to a window that is gone.
    if (m_tmdb)
        m_tmdb->cancelAll();
}

void TFillIn::setCover(bool hasCover, int longestSide)
{
    m_hasCover = hasCover;
    m_coverSide = longestSide;
}

TFillIn::Source TFillIn::source() const
{
    return static_cast<Source>(SourceBox->currentData().toInt());
}

QString TFillIn::spoken(const db::Message& message) const
{
    return q(message.spoken([](const char* text) { return QCoreApplication::translate("lookup", text).toStdString(); }));
}

void TFillIn::sourceChanged()
{
    const bool tmdb = source() == Source::Tmdb;
    // Each source's terms ask for its line wherever its data is shown.
    Notice->setText(QString::fromLatin1(tmdb ? lookup::kTmdbAttribution : lookup::kImdbCourtesy));
    Changes->setHeaderLabels({tr("Field"), tr("Now"), tmdb ? tr("From TMDb") : tr("From IMDb")});
    SearchClick();
}

void TFillIn::SearchClick()
{
    ++m_generation;
    if (m_tmdb)
        m_tmdb->cancelAll();
    m_films.clear();
    m_detailed.clear();
    m_asked.clear();
    m_posters.clear();
    Matches->clear();
    Changes->clear();
    m_changes.clear();
    m_coverItem = nullptr;
    if (source() == Source::Tmdb && m_tmdb)
        searchTmdb();
    else if (m_index)
        searchIndex();
}

void TFillIn::sayInList(QTreeWidget* list, const QString& text)
{
    // Said in the list, where the films would be.
    auto* item = new QTreeWidgetItem(list, {text});
    item->setFlags(Qt::NoItemFlags);
    item->setToolTip(0, text);
    list->setFirstColumnSpanned(list->indexOfTopLevelItem(item), QModelIndex(), true);
}

void TFillIn::addMatch(const lookup::Film& film)
{
    auto* item = new QTreeWidgetItem(Matches);
    item->setToolTip(0, q(film.id.empty() ? "TMDb " + std::to_string(film.tmdbId) : film.id));
    m_films.push_back(film);
    m_detailed.push_back(m_index && source() == Source::Imdb);
    m_asked.push_back(false);
    fillRow(static_cast<int>(m_films.size()) - 1);
}

void TFillIn::fillRow(int row)
{
    const lookup::Film& film = m_films[static_cast<size_t>(row)];
    QTreeWidgetItem* item = Matches->topLevelItem(row);
    item->setText(0, q(film.title));
    item->setText(1, film.originalTitle == film.title ? QString() : q(film.originalTitle));
    item->setText(2, film.year > 0 ? QString::number(film.year) : QString());
    item->setText(3, joined(film.directors));
    item->setText(4, film.runtime > 0 ? QString::number(film.runtime) : QString());
}

void TFillIn::searchIndex()
{
    for (const lookup::Film& film : m_index->byTitle(TitleBox->text().toStdString(), YearBox->text().toInt(), 30))
        addMatch(film);
    if (m_films.empty())
        sayInList(Matches, tr("No film of the index has these words in its titles."));
    Matches->header()->resizeSections(QHeaderView::ResizeToContents);
    if (!m_films.empty())
        Matches->setCurrentItem(Matches->topLevelItem(0));
}

void TFillIn::searchTmdb()
{
    const QString title = TitleBox->text().trimmed();
    if (title.isEmpty()) {
        sayInList(Matches, tr("Type a title to look for."));
        return;
    }
    sayInList(Matches, tr("Asking TMDb..."));
    const int generation = m_generation;
    m_tmdb->search(title.toStdString(), YearBox->text().toInt(), [this, generation](lookup::TmdbFilms answer) {
        if (generation != m_generation)
            return;
        Matches->clear();
        if (answer.failure) {
            sayInList(Matches, spoken(*answer.failure));
            return;
        }
        for (const lookup::Film& film : answer.films)
            addMatch(film);
        if (m_films.empty()) {
            sayInList(Matches, tr("TMDb has no film of this title."));
            return;
        }
        Matches->setIconSize(QSize(kThumbnailTall * 2 / 3, kThumbnailTall));
        // A film without a poster keeps its poster's room, so that the titles stand in line.
        QPixmap none(kThumbnailTall * 2 / 3, kThumbnailTall);
        none.fill(Qt::transparent);
        for (int row = 0; row < Matches->topLevelItemCount(); ++row)
            Matches->topLevelItem(row)->setIcon(0, none);
        for (int row = 0; row < static_cast<int>(m_films.size()); ++row) {
            if (row < kDetailedMatches)
                askDetails(row);
            if (const std::string path = m_films[static_cast<size_t>(row)].posterPath; !path.empty())
                m_tmdb->poster(path, kThumbnailTall * 2, [this, generation, row](lookup::TmdbPicture picture) {
                    if (generation != m_generation || picture.failure)
                        return; // no thumbnail: the match is there all the same
                    QPixmap thumbnail;
                    if (thumbnail.loadFromData(QByteArray::fromStdString(picture.bytes))) {
                        Matches->topLevelItem(row)->setIcon(0, thumbnail.scaledToHeight(kThumbnailTall, Qt::SmoothTransformation));
                        Matches->resizeColumnToContents(0); // the title beside its poster, not under it
                    }
                });
        }
        Matches->header()->resizeSections(QHeaderView::ResizeToContents);
        Matches->setCurrentItem(Matches->topLevelItem(0));
    });
}

void TFillIn::askDetails(int row)
{
    if (m_asked[static_cast<size_t>(row)])
        return;
    m_asked[static_cast<size_t>(row)] = true;
    const int generation = m_generation;
    m_tmdb->details(m_films[static_cast<size_t>(row)].tmdbId, [this, generation, row](lookup::TmdbFilm answer) {
        if (generation != m_generation)
            return;
        if (answer.film) {
            m_films[static_cast<size_t>(row)] = *answer.film;
            m_detailed[static_cast<size_t>(row)] = true;
            fillRow(row);
            Matches->header()->resizeSections(QHeaderView::ResizeToContents);
        } else if (currentRow() == row) {
            Changes->clear();
            sayInList(Changes, spoken(*answer.failure));
            return;
        }
        if (currentRow() == row)
            showChanges();
    });
}

int TFillIn::currentRow() const
{
    const int row = Matches->currentItem() ? Matches->indexOfTopLevelItem(Matches->currentItem()) : -1;
    return row >= 0 && row < static_cast<int>(m_films.size()) ? row : -1;
}

void TFillIn::showChanges()
{
    Changes->clear();
    m_changes.clear();
    m_coverItem = nullptr;
    const int row = currentRow();
    if (row < 0)
        return;
    if (!m_detailed[static_cast<size_t>(row)]) {
        sayInList(Changes, tr("Asking TMDb..."));
        askDetails(row);
        return;
    }
    const lookup::Film& film = m_films[static_cast<size_t>(row)];
    m_changes = lookup::fillChanges(m_table, m_current, film, false);
    for (const lookup::FillChange& change : m_changes) {
        QString after = q(change.after);
        if (change.leftOut > 0)
            after += " " + tr("(%1 more did not fit)").arg(change.leftOut);
        else if (change.cut)
            after += " " + tr("(cut to fit)");
        auto* item = new QTreeWidgetItem(Changes, {QCoreApplication::translate("db", db::schemaField(change.position).displayName),
                                                   q(change.before), after});
        item->setToolTip(2, q(change.after));
        // What the video has stays unless the user ticks it.
        item->setCheckState(0, change.before.empty() || change.before == "0" ? Qt::Checked : Qt::Unchecked);
    }
    if (!film.posterPath.empty() && source() == Source::Tmdb) {
        m_coverItem = new QTreeWidgetItem(Changes, {tr("Cover"), m_hasCover ? tr("(a picture)") : QString(), tr("Asking TMDb...")});
        m_coverItem->setCheckState(0, m_hasCover ? Qt::Unchecked : Qt::Checked);
        askCover(row);
    }
    Changes->header()->resizeSections(QHeaderView::ResizeToContents);
}

void TFillIn::askCover(int row)
{
    const auto shown = [this, row](const std::string& bytes) {
        if (!m_coverItem || currentRow() != row)
            return;
        const QImage poster = QImage::fromData(QByteArray::fromStdString(bytes));
        m_coverItem->setText(2, poster.isNull() ? tr("(the poster could not be read)")
                                                : tr("the poster, %1 x %2 pixels").arg(poster.width()).arg(poster.height()));
        if (poster.isNull())
            m_coverItem->setCheckState(0, Qt::Unchecked);
    };
    if (const auto kept = m_posters.find(row); kept != m_posters.end()) {
        shown(kept->second);
        return;
    }
    const int generation = m_generation;
    m_tmdb->poster(m_films[static_cast<size_t>(row)].posterPath, m_coverSide, [this, generation, row, shown](lookup::TmdbPicture picture) {
        if (generation != m_generation)
            return;
        if (picture.failure) {
            if (m_coverItem && currentRow() == row) {
                m_coverItem->setText(2, spoken(*picture.failure));
                m_coverItem->setCheckState(0, Qt::Unchecked);
            }
            return;
        }
        m_posters[row] = picture.bytes;
        shown(picture.bytes);
    });
}

std::vector<lookup::FillChange> TFillIn::chosenChanges() const
{
    std::vector<lookup::FillChange> chosen;
    for (int i = 0; i < Changes->topLevelItemCount() && i < static_cast<int>(m_changes.size()); ++i)
        if (Changes->topLevelItem(i)->checkState(0) == Qt::Checked)
            chosen.push_back(m_changes[static_cast<size_t>(i)]);
    return chosen;
}

std::optional<std::string> TFillIn::chosenCover() const
{
    const int row = currentRow();
    if (!m_coverItem || m_coverItem->checkState(0) != Qt::Checked || row < 0)
        return std::nullopt;
    const auto kept = m_posters.find(row);
    if (kept == m_posters.end() || QImage::fromData(QByteArray::fromStdString(kept->second)).isNull())
        return std::nullopt;
    return kept->second;
}

} // namespace lookup_ui
