#include "TMyEdit.h"

#include "CoverPanel.h"

#include "CoreText.h"
#include "Cp1252.h"
#include "EditorText.h"
#include "HelpViewer.h"
#include "PickList.h"
#include "PickListStore.h"
#include "ProgramFolders.h"
#include "TFillIn.h"
#include "Schema.h"
#include "TMyOscarAward.h"
#include "WindowLook.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace edit {

// Every control of the editor: the field it edits, its page, its kind, the
// most characters it takes and the pick list that feeds it.
struct TMyEdit::Spec {
    enum Kind { Line, Combo, Check, Date };
    const char* name;
    const char* field;
    int page;
    Kind kind;
    int maxLength;
    int listCode; // 0 none, -1 the names saved this run only
};

namespace {
const std::vector<TMyEdit::Spec>& specs()
{
    using K = TMyEdit::Spec;
    static const std::vector<TMyEdit::Spec> list = {
        {"Title", "Title", 0, K::Line, 60, 0},
        {"Star1", "Star1", 0, K::Combo, 25, 2},
        {"Star2", "Star2", 0, K::Combo, 25, 2},
        {"Star3", "Star3", 0, K::Combo, 25, 2},
        {"Star4", "Star4", 0, K::Combo, 25, 2},
        {"Star5", "Star5", 0, K::Combo, 25, 2},
        {"Star6", "Star6", 0, K::Combo, 25, 2},
        {"YearReleased", "Year", 0, K::Line, 4, 0},
        {"Producer", "Producer", 0, K::Combo, 28, 1},
        {"Director", "Director", 0, K::Combo, 28, 3},
        {"Writer", "Writers", 0, K::Combo, 60, -1},
        {"ReleasedBy", "ReleasedBy", 0, K::Combo, 28, 4},
        {"Category", "Category", 1, K::Combo, 20, 6},
        {"Rating", "Rating", 1, K::Combo, 15, 5},
        {"PersRating", "PersonalRa", 1, K::Combo, 15, 11},
        {"KeyWords", "KeyWords", 1, K::Line, 80, 0},
        {"Description", "Descriptio", 1, K::Line, 140, 0},
        {"Format", "Format", 1, K::Combo, 15, 9},
        {"LaserFormat", "LaserForma", 1, K::Combo, 12, 10},
        {"Content", "Content", 1, K::Combo, 10, 13},
        {"Picture", "Picture", 1, K::Combo, 10, 7},
        {"Sound", "Sound", 1, K::Combo, 10, 8},
        {"RecordSpeed", "RecSpeed", 1, K::Combo, 6, 12},
        {"MediaNumber", "MediaNum", 2, K::Line, 10, 0},
        {"CounterStart", "CounterSta", 2, K::Line, 8, 0},
        {"CounterStop", "CounterSto", 2, K::Line, 8, 0},
        {"PlayTime", "RunTime", 2, K::Line, 3, 0},
        {"Viewed", "Viewed", 2, K::Check, 0, 0},
        {"CheckOut", "CheckOut", 2, K::Check, 0, 0},
        {"CheckDate", "CheckDate", 2, K::Date, 10, 0},
        {"CheckName", "CheckName", 2, K::Combo, 25, 15},
        {"ListPrice", "ListPrice", 3, K::Line, 12, 0},
        {"PurchPrice", "PurchPrice", 3, K::Line, 12, 0},
        {"PurchDate", "PurchDate", 3, K::Date, 10, 0},
        {"WherePurch", "WherePurch", 3, K::Combo, 25, 16},
        {"OscarAward", "OscarAward", 3, K::Line, 110, 0},
        {"OscarNom", "OscarNom", 3, K::Line, 110, 0},
        {"Misc", "Miscellane", 3, K::Line, 80, 0},
        {"UserDef1", "UserDef1", 3, K::Line, 40, 0},
        {"UserDef2", "UserDef2", 3, K::Line, 40, 0},
    };
    return list;
}

// Labels and the schema position whose display name they show.
const std::vector<std::pair<const char*, int>>& labelPositions()
{
    static const std::vector<std::pair<const char*, int>> list = {
        {"Title", 1}, {"Star1", 2}, {"Producer", 8}, {"Director", 9}, {"ReleasedBy", 10}, {"YearReleased", 11},
        {"PlayTime", 12}, {"Rating", 13}, {"Category", 14}, {"Picture", 15}, {"Sound", 16}, {"Format", 17},
        {"PersRating", 18}, {"MediaNumber", 19}, {"RecordSpeed", 20}, {"CounterStart", 21}, {"CounterStop", 22},
        {"Description", 23}, {"Content", 24}, {"Misc", 25}, {"KeyWords", 26}, {"LaserFormat", 27},
        {"ListPrice", 28}, {"OscarNom", 29}, {"OscarAward", 30}, {"CheckOut", 31}, {"CheckDate", 32},
        {"CheckName", 33}, {"PurchPrice", 34}, {"PurchDate", 35}, {"WherePurch", 36}, {"Viewed", 37},
        {"Writer", 38}, {"UserDef1", 39}, {"UserDef2", 40}};
    return list;
}

// The Enter chain: a control, the next one, and whether the step shows its page.
const QMap<QString, QString>& enterChain()
{
    static const QMap<QString, QString> chain = {
        {"Title", "Star1"}, {"Star1", "Star2"}, {"Star2", "Star3"}, {"Star3", "Star4"}, {"Star4", "Star5"},
        {"Star5", "Star6"}, {"Star6", "YearReleased"}, {"YearReleased", "Producer"}, {"Producer", "Director"},
        {"Director", "Writer"}, {"Writer", "ReleasedBy"}, {"ReleasedBy", "Category"}, {"Category", "Rating"},
        {"Rating", "PersRating"}, {"PersRating", "KeyWords"}, {"KeyWords", "Description"},
        {"Description", "Format"}, {"Format", "LaserFormat"}, {"LaserFormat", "Content"}, {"Content", "Picture"},
        {"Picture", "Sound"}, {"Sound", "RecordSpeed"},
        // After the last Attributes control the Library page follows, in page order.
        {"RecordSpeed", "MediaNumber"},
        {"ListPrice", "PurchPrice"}, {"PurchPrice", "PurchDate"}, {"PurchDate", "WherePurch"},
        {"WherePurch", "OscarAward"}, {"OscarAward", "OscarNom"}, {"OscarNom", "Misc"}, {"Misc", "UserDef1"},
        {"UserDef1", "UserDef2"}, {"UserDef2", "Title"},
        {"MediaNumber", "CounterStart"}, {"CounterStart", "CounterStop"}, {"CounterStop", "PlayTime"},
        {"PlayTime", "Viewed"}, {"Viewed", "CheckOut"}, {"CheckOut", "CheckDate"}, {"CheckDate", "CheckName"},
        {"CheckName", "OscarAward"}};
    return chain;
}

int fieldWidth(const char* field)
{
    const int position = db::schemaPosition(field);
    return position ? db::schemaField(position).width : 255;
}

// Boxes whose text is stored as it stands (not read as a number or a date).
bool storedAsText(const TMyEdit::Spec& spec)
{
    const int position = db::schemaPosition(spec.field);
    return position == 0 || db::schemaField(position).kind == db::SchemaKind::Character;
}

QString displayName(const app::Settings& settings, int position)
{
    return settings.fields[static_cast<size_t>(position - 1)].displayName;
}
} // namespace

TMyEdit::TMyEdit(EditorContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Edit"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    if (!m_context.runDialog)
        m_context.runDialog = [](QDialog& d) { return d.exec(); };
    buildWindow();
    LoadAllList();
    if (m_context.browseMode) {
        for (const char* name : {"NewRecord", "ClearRecord", "UpdateRecord", "UpdateAndExit", "Cut", "Copy", "Paste",
                                 "Delete"})
            m_actions.value(name)->setEnabled(false);
        for (const char* name : {"UpdateAndExit", "Update", "Clear"})
            m_buttons.value(name)->setEnabled(false);
    }
}

// ---------------------------------------------------------------- the window

void TMyEdit::buildWindow()
{
    auto* outer = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    outer->setMenuBar(bar);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName("Notebook");
    m_pages->setAccessibleName(tr("Record pages"));
    const std::array<const char*, 4> pageNames = {QT_TR_NOOP("Par&ticulars"), QT_TR_NOOP("&Attributes"),
                                                   QT_TR_NOOP("Li&brary"), QT_TR_NOOP("&Other")};
    std::array<QGridLayout*, 4> grids{};
    QHBoxLayout* coverRow = nullptr;
    for (size_t p = 0; p < pageNames.size(); ++p) {
        auto* page = new QWidget(m_pages);
        auto* pageLayout = new QVBoxLayout(page);
        if (p > 0) {
            auto* titleLine = new QLabel(page);
            QFont bold = titleLine->font();
            bold.setBold(true);
            titleLine->setFont(bold);
            pageLayout->addWidget(titleLine);
            (p == 1 ? m_warrantyItem : p == 2 ? m_libraryItem : m_worthItem) = titleLine;
        }
        grids[p] = new QGridLayout;
        if (p == 0) {
            // The film's cover beside its particulars (made after them, so that Tab reaches it last).
            coverRow = new QHBoxLayout;
            coverRow->addLayout(grids[p], 1);
            pageLayout->addLayout(coverRow);
        } else {
            pageLayout->addLayout(grids[p]);
        }
        pageLayout->addStretch(1);
        m_pages->addTab(page, tr(pageNames[p]));
    }
    std::array<int, 4> rows{};
    for (const Spec& spec : specs()) {
        QWidget* page = m_pages->widget(spec.page);
        QGridLayout* grid = grids[static_cast<size_t>(spec.page)];
        QWidget* control = nullptr;
        switch (spec.kind) {
        case Spec::Line: {
            auto* line = new QLineEdit(page);
            line->setMaxLength(spec.maxLength);
            control = line;
            break;
        }
        case Spec::Date: {
            auto* line = new QLineEdit(page);
            control = line;
            break;
        }
        case Spec::Combo: {
            auto* box = new QComboBox(page);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->lineEdit()->setMaxLength(spec.maxLength);
            box->setMinimumContentsLength(std::min(spec.maxLength, 28));
            control = box;
            break;
        }
        case Spec::Check:
            control = new QCheckBox(QString::fromLatin1(spec.name) == "CheckOut" ? tr("Checked Out") : tr("Viewed"), page);
            break;
        }
        control->setObjectName(spec.name);
        control->installEventFilter(this);
        if (auto* box = qobject_cast<QComboBox*>(control))
            box->lineEdit()->installEventFilter(this);
        m_controls.insert(spec.name, control);
        int& row = rows[static_cast<size_t>(spec.page)];
        const QString name = spec.name;
        if (name.startsWith("Star")) {
            // The six star boxes stand in two columns of three rows, their one
            // label beside the first.
            const int n = name.mid(4).toInt() - 1;
            if (n == 0) {
                auto* label = new QLabel(page);
                label->setBuddy(control);
                m_labels.insert("Star1", label);
                grid->addWidget(label, row, 0);
            }
            if (n > 0) // the one label names the first box; a screen reader needs each named
                control->setAccessibleName(tr("Star %1").arg(n + 1));
            grid->addWidget(control, row + n / 2, 1 + n % 2);
            if (n == 5)
                row += 3;
            continue;
        }
        if (spec.kind != Spec::Check) {
            auto* label = new QLabel(page);
            label->setBuddy(control);
            m_labels.insert(spec.name, label);
            grid->addWidget(label, row, 0);
        }
        grid->addWidget(control, row, 1, 1, spec.kind == Spec::Line && spec.maxLength > 30 ? 2 : 1);
        if (spec.kind == Spec::Date) {
            auto* blank = new QPushButton(tr("Blan&k Date"), page);
            blank->setObjectName(name == "CheckDate" ? "BlankCheckOut" : "BlankPurchDate");
            connect(blank, &QPushButton::clicked, this, [this, name] { lineEdit(name)->clear(); });
            grid->addWidget(blank, row, 2);
        }
        if (name == "OscarAward" || name == "OscarNom" || name == "Misc") {
            auto* select = new QPushButton(tr("Select"), page);
            select->setObjectName("Select" + name);
            connect(select, &QPushButton::clicked, this, [this, name] {
                if (name == "OscarAward")
                    SelectOscarAwardClick();
                else if (name == "OscarNom")
                    SelectOscarNomClick();
                else
                    SelectMiscClick();
            });
            grid->addWidget(select, row, 3);
        }
        ++row;
    }
    m_cover = new covers_ui::CoverPanel(m_context.prompter, m_pages->widget(Particulars));
    m_cover->setReadOnly(m_context.browseMode);
    coverRow->addWidget(m_cover);
    outer->addWidget(m_pages, 1);

    connect(lineEdit("Title"), &QLineEdit::editingFinished, this, &TMyEdit::SetCaptions);
    connect(lineEdit("ListPrice"), &QLineEdit::editingFinished, this, &TMyEdit::ListPriceExit);
    connect(lineEdit("PurchPrice"), &QLineEdit::editingFinished, this, &TMyEdit::PurchPriceExit);
    connect(checkBox("CheckOut"), &QCheckBox::clicked, this, &TMyEdit::CheckOutClick);

    auto* buttons = new QHBoxLayout;
    const std::array<std::pair<const char*, const char*>, 6> captions = {{{"UpdateAndExit", QT_TR_NOOP("&Update && Exit")},
                                                                          {"Update", QT_TR_NOOP("Up&date")},
                                                                          {"Clear", QT_TR_NOOP("C&lear")},
                                                                          {"Exit", QT_TR_NOOP("E&xit")},
                                                                          {"Previous", QT_TR_NOOP("&Previous")},
                                                                          {"Next", QT_TR_NOOP("&Next")}}};
    for (const auto& [name, caption] : captions) {
        auto* b = new QPushButton(tr(caption), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        m_buttons.insert(name, b);
    }
    outer->addLayout(buttons);
    connect(m_buttons["UpdateAndExit"], &QPushButton::clicked, this, &TMyEdit::DoUpdateAndExit);
    connect(m_buttons["Update"], &QPushButton::clicked, this, &TMyEdit::DoAnUpdate);
    connect(m_buttons["Clear"], &QPushButton::clicked, this, &TMyEdit::DoClear);
    connect(m_buttons["Exit"], &QPushButton::clicked, this, &TMyEdit::DoExit);
    connect(m_buttons["Previous"], &QPushButton::clicked, this, &TMyEdit::DoPreviousRecord);
    connect(m_buttons["Next"], &QPushButton::clicked, this, &TMyEdit::DoNextRecord);
    buildMenus(bar);
    resize(600, 420);
}

void TMyEdit::buildMenus(QMenuBar* bar)
{
    auto add = [this](QMenu* menu, const char* name, const char* caption, const char* keys, std::function<void()> work) {
        QAction* a = menu->addAction(tr(caption));
        a->setObjectName(name);
        if (keys)
            a->setShortcut(QKeySequence(keys));
        connect(a, &QAction::triggered, this, std::move(work));
        m_actions.insert(name, a);
    };
    QMenu* file = bar->addMenu(tr("&File"));
    add(file, "NewRecord", QT_TR_NOOP("N&ew Record"), "Ctrl+E", [this] { MenuNewClick(); });
    add(file, "CopyRecord", QT_TR_NOOP("Cop&y Record"), "Ctrl+Y", [this] { MenuCopyRecordClick(); });
    add(file, "ClearRecord", QT_TR_NOOP("&Clear Record"), "Ctrl+L", [this] { DoClear(); });
    add(file, "UpdateRecord", QT_TR_NOOP("Up&date Record"), "Ctrl+R", [this] { DoAnUpdate(); });
    add(file, "UpdateAndExit", QT_TR_NOOP("&Update && Exit"), "Ctrl+U", [this] { DoUpdateAndExit(); });
    file->addSeparator();
    add(file, "PreviousRecord", QT_TR_NOOP("&Previous Record"), "Ctrl+P", [this] { DoPreviousRecord(); });
    add(file, "NextRecord", QT_TR_NOOP("&Next Record"), "Ctrl+N", [this] { DoNextRecord(); });
    file->addSeparator();
    add(file, "ExitEditor", QT_TR_NOOP("E&xit"), nullptr, [this] { DoExit(); });
    QMenu* editing = bar->addMenu(tr("&Edit"));
    // Each acts on the focused edit or drop-down box and on nothing else.
    auto focusedLine = [this]() -> QLineEdit* {
        QWidget* w = focusWidget();
        if (auto* box = qobject_cast<QComboBox*>(w))
            return box->lineEdit();
        return qobject_cast<QLineEdit*>(w);
    };
    add(editing, "Cut", QT_TR_NOOP("Cu&t"), "Ctrl+X", [focusedLine] { if (QLineEdit* l = focusedLine()) l->cut(); });
    add(editing, "Copy", QT_TR_NOOP("&Copy"), "Ctrl+C", [focusedLine] { if (QLineEdit* l = focusedLine()) l->copy(); });
    add(editing, "Paste", QT_TR_NOOP("&Paste"), "Ctrl+V", [focusedLine] { if (QLineEdit* l = focusedLine()) l->paste(); });
    // Delete removes the selected text only; with nothing selected it does nothing.
    add(editing, "Delete", QT_TR_NOOP("&Delete"), "Ctrl+D", [focusedLine] {
        if (QLineEdit* l = focusedLine(); l && l->hasSelectedText())
            l->del();
    });
    editing->addSeparator();
    // A picture copied in another program, or a picture file copied in the file manager.
    add(editing, "PasteCover", QT_TR_NOOP("Paste as Co&ver"), "Ctrl+Shift+V", [this] { m_cover->Paste(); });
    editing->addSeparator();
    add(editing, "FillIn", QT_TR_NOOP("&Fill In..."), "Ctrl+Shift+F", [this] { DoFillIn(); });
    QAction* help = bar->addAction(tr("&Help"));
    help->setObjectName("Help");
    help->setShortcut(QKeySequence("Ctrl+H"));
    app::setHelpKeyword(this, "Input Window"); // F1 opens the same section
    connect(help, &QAction::triggered, this, [this] { app::showHelp(this, "Input Window"); });
    m_actions.insert("Help", help);
}

const TMyEdit::Spec& TMyEdit::specNamed(const QString& name) const
{
    for (const Spec& spec : specs())
        if (name == spec.name)
            return spec;
    throw std::out_of_range("no editor control " + name.toStdString());
}

QWidget* TMyEdit::control(const QString& name) const
{
    return m_controls.value(name, nullptr);
}

QLineEdit* TMyEdit::lineEdit(const QString& name) const
{
    return qobject_cast<QLineEdit*>(control(name));
}

QComboBox* TMyEdit::comboBox(const QString& name) const
{
    return qobject_cast<QComboBox*>(control(name));
}

QCheckBox* TMyEdit::checkBox(const QString& name) const
{
    return qobject_cast<QCheckBox*>(control(name));
}

QAction* TMyEdit::menuAction(const QString& name) const
{
    return m_actions.value(name, nullptr);
}

QPushButton* TMyEdit::button(const QString& name) const
{
    return m_buttons.value(name, nullptr);
}

int TMyEdit::pageOf(const QString& controlName) const
{
    for (const Spec& spec : specs())
        if (controlName == spec.name)
            return spec.page;
    return -1;
}

QString TMyEdit::textOf(const Spec& spec) const
{
    QWidget* w = control(spec.name);
    if (auto* box = qobject_cast<QComboBox*>(w))
        return box->currentText();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return spec.kind == Spec::Date ? line->displayText().replace('_', ' ') : line->text();
    return {};
}

void TMyEdit::DoFillIn()
{
    if (m_context.browseMode)
        return;
    // The lookup index when it is built, TMDb when a key is set: either will do.
    std::unique_ptr<lookup::ImdbIndex> index;
    QString noIndex;
    try {
        index = std::make_unique<lookup::ImdbIndex>(app::lookupIndexPath().toStdString());
    } catch (const std::exception& e) {
        noIndex = ui::errorText(e);
    }
    std::unique_ptr<lookup::TmdbClient> tmdb;
    if (!m_context.settings.tmdbKey.trimmed().isEmpty())
        tmdb = std::make_unique<lookup::TmdbClient>(lookup::tmdbSettings(m_context.settings));
    if (!index && !tmdb) {
        m_context.prompter.message(this, tr("Fill In"),
                                   noIndex + "\n\n"
                                       + tr("Download IMDb's dataset files (title.basics, title.ratings, title.crew, "
                                            "title.principals, name.basics and title.akas .tsv.gz) into a folder and choose it "
                                            "in Options, IMDb Lookup Index; or give your TMDb API key in Options, TMDb Online Lookup."),
                                   app::Prompter::Icon::Information);
        return;
    }
    const auto specOf = [](const std::string& storedName) -> const Spec* {
        for (const Spec& spec : specs())
            if (storedName == spec.field)
                return &spec;
        return nullptr;
    };
    db::Table& table = m_context.table;
    const auto first = m_context.settings.fillInSource == "tmdb" ? lookup_ui::TFillIn::Source::Tmdb : lookup_ui::TFillIn::Source::Imdb;
    lookup_ui::TFillIn window(
        index.get(), tmdb.get(), table,
        [&](int field) {
            const Spec* spec = specOf(table.field(field).name);
            return spec ? textOf(*spec).trimmed().toStdString() : std::string();
        },
        lineEdit("Title")->text(), lineEdit("YearReleased")->text().trimmed().toInt(), this, first);
    window.setCover(m_cover->hasPicture(), m_context.settings.coverLongestSide);
    ui::applyWindowLook(&window, m_context.settings, app::EditWindowColors, m_context.scaleFactor ? m_context.scaleFactor() : 1.0);
    const int answer = m_context.runDialog(window);
    m_context.settings.fillInSource = window.source() == lookup_ui::TFillIn::Source::Tmdb ? "tmdb" : "imdb";
    if (answer != QDialog::Accepted)
        return;
    for (const lookup::FillChange& change : window.chosenChanges())
        if (const Spec* spec = specOf(table.field(change.field).name))
            setTextOf(*spec, QString::fromStdString(change.after));
    if (const std::optional<std::string> poster = window.chosenCover())
        m_cover->takePicture(*poster, tr("the poster from TMDb").toStdString());
}

void TMyEdit::setTextOf(const Spec& spec, const QString& text)
{
    QWidget* w = control(spec.name);
    if (auto* box = qobject_cast<QComboBox*>(w))
        box->setEditText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setText(text);
}

// ---------------------------------------------------------------- pick lists

void TMyEdit::LoadAllList()
{
    PickListStore files(m_context.programFolder);
    for (const Spec& spec : specs()) {
        if (spec.listCode <= 0)
            continue;
        QComboBox* box = comboBox(spec.name);
        box->clear();
        box->addItems(files.readFile(spec.listCode));
    }
}

void TMyEdit::SaveAllLists()
{
    PickListStore files(m_context.programFolder);
    for (const db::PickListInfo& list : db::pickLists())
        if (*list.fieldName && list.code != 2)
            files.writeFile(list.code, listOf(list.code));
    // STAR.LST keeps Star1's list as it stands (duplicates too), then the
    // names that only another star box learnt.
    QStringList stars;
    QComboBox* first = comboBox("Star1");
    for (int i = 0; i < first->count(); ++i)
        stars << first->itemText(i);
    const QStringList ofStar1 = stars;
    for (const char* name : {"Star2", "Star3", "Star4", "Star5", "Star6"}) {
        QComboBox* box = comboBox(name);
        for (int i = 0; i < box->count(); ++i)
            if (!ofStar1.contains(box->itemText(i)) && !stars.mid(ofStar1.size()).contains(box->itemText(i)))
                stars << box->itemText(i);
    }
    files.writeFile(2, stars);
}

QStringList TMyEdit::listOf(int code) const
{
    for (const Spec& spec : specs()) {
        if (spec.listCode != code)
            continue;
        QComboBox* box = comboBox(spec.name);
        QStringList entries;
        for (int i = 0; i < box->count(); ++i)
            entries << box->itemText(i);
        return entries;
    }
    return {};
}

void TMyEdit::setList(int code, const QStringList& entries)
{
    for (const Spec& spec : specs()) {
        if (spec.listCode != code)
            continue;
        QComboBox* box = comboBox(spec.name);
        const QString text = box->currentText();
        box->clear();
        box->addItems(entries);
        box->setEditText(text);
    }
}

void TMyEdit::AddToList(QComboBox* box)
{
    const QString text = box->currentText().trimmed();
    if (text.isEmpty() || box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    const QString shown = box->currentText();
    box->addItem(text);
    box->setEditText(shown);
}

// ---------------------------------------------------------------- showing and loading

void TMyEdit::setVisible(bool visible)
{
    // The window takes its fonts, size and place before it is shown: moved
    // while it is being shown, it landed now where it was asked to be, now
    // at the screen's corner with its title bar above the screen.
    if (visible && !isVisible()) {
        const app::Settings& s = m_context.settings;
        ui::SetFonts(this, {s.labelFont, s.editFont, s.buttonFont});
        ui::scaleAndCentre(this, m_context.scaleFactor ? m_context.scaleFactor() : 1.0);
        if (y() > 10)
            move(x(), y() - 10);
    }
    QDialog::setVisible(visible);
}

void TMyEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const app::Settings& s = m_context.settings;
    for (const auto& [name, position] : labelPositions()) {
        if (QLabel* label = m_labels.value(name, nullptr))
            label->setText(displayName(s, position));
        else if (QCheckBox* box = checkBox(name))
            box->setText(displayName(s, position));
    }
    applyDateMasks();
    SetCaptions();
    m_pages->setCurrentIndex(Particulars);
    ui::applyColorSet(this, s.colorsOf(app::EditWindowColors), [this](const QLabel* label) {
        return label == m_warrantyItem || label == m_libraryItem || label == m_worthItem;
    });
    if (m_mode == EditMode || m_mode == CopyMode)
        LoadInData();
    else
        DoClear();
    SaveValues();
    focusControl(lineEdit("Title")); // typing starts in the title, in every mode
}

void TMyEdit::focusControl(QWidget* target)
{
    target->setFocus();
    // A masked box reached by Enter or by a failed check takes typing from
    // its start (its text selected), not at the end of its mask.
    if (auto* line = qobject_cast<QLineEdit*>(target); line && !line->inputMask().isEmpty()) {
        line->setCursorPosition(0);
        line->selectAll();
    }
}

void TMyEdit::applyDateMasks()
{
    // "!99/99/9999" with the regional separator: digits may be left blank.
    const QChar separator = QChar::fromLatin1(db::editTextFormat().dateSeparator);
    const QString mask = QString("00") + separator + "00" + separator + "0000;_";
    for (const char* name : {"CheckDate", "PurchDate"}) {
        QLineEdit* box = lineEdit(name);
        const QString text = box->text();
        box->setInputMask(mask);
        box->setText(text);
    }
}

QString TMyEdit::dateForBox(const QString& fieldText) const
{
    // A stored date shown with two-digit day and month and a four-digit year
    // so that it fills the date box's mask, in the order of the date format.
    const auto date = db::parseShortDate(fieldText.toStdString());
    if (!date)
        return {};
    db::EditTextFormat format = db::editTextFormat();
    const bool dayFirst = QString::fromStdString(format.shortDatePattern).toLower().startsWith('d');
    format.shortDatePattern = dayFirst ? "dd/mm/yyyy" : "mm/dd/yyyy";
    return QString::fromStdString(db::formatShortDate(*date, format));
}

void TMyEdit::LoadInData()
{
    db::Table& t = m_context.table;
    if (!t.active() || t.isEmpty()) {
        DoClear();
        return;
    }
    const db::Record record = t.current();
    for (const Spec& spec : specs()) {
        const int field = t.fieldIndex(spec.field);
        if (field < 0)
            continue;
        const QString text = QString::fromStdString(record.text(field));
        if (spec.kind == Spec::Check)
            checkBox(spec.name)->setChecked(text == "Yes");
        else if (spec.kind == Spec::Date)
            lineEdit(spec.name)->setText(dateForBox(text));
        else
            setTextOf(spec, text);
    }
    m_rememberedCheckDate = textOf(specNamed("CheckDate")).left(10);
    m_rememberedCheckName = comboBox("CheckName")->currentText().left(30);
    showStoredCover();
    // Prices are read as the numbers they are and shown as money amounts: the
    // stored text (with the system's decimal character) is not a typed price.
    for (const char* price : {"ListPrice", "PurchPrice"}) {
        const int field = t.fieldIndex(specNamed(price).field);
        if (field >= 0 && !lineEdit(price)->text().trimmed().isEmpty())
            lineEdit(price)->setText(m_context.numbers.moneyAmount(record.number(field), 1).trimmed());
    }
    SetCaptions();
}

void TMyEdit::SetCaptions()
{
    const QString line = displayName(m_context.settings, 1) + ": " + lineEdit("Title")->text();
    m_warrantyItem->setText(line);
    m_libraryItem->setText(line);
    m_worthItem->setText(line);
}

void TMyEdit::SaveValues()
{
    m_snapshot.texts.clear();
    for (const Spec& spec : specs())
        if (spec.kind != Spec::Check)
            m_snapshot.texts.push_back(textOf(spec).left(fieldWidth(spec.field)));
    m_snapshot.checkOut = checkBox("CheckOut")->isChecked();
    m_snapshot.viewed = checkBox("Viewed")->isChecked();
    setWindowTitle(tr("Edit"));
}

bool TMyEdit::ValuesChanged() const
{
    size_t i = 0;
    for (const Spec& spec : specs()) {
        if (spec.kind == Spec::Check) {
            const bool now = checkBox(spec.name)->isChecked();
            if (now != (QString(spec.name) == "CheckOut" ? m_snapshot.checkOut : m_snapshot.viewed))
                return true;
            continue;
        }
        const QString now = textOf(spec).left(fieldWidth(spec.field));
        const QString was = i < m_snapshot.texts.size() ? m_snapshot.texts[i] : QString();
        ++i;
        if (spec.kind == Spec::Date ? now.trimmed() != was.trimmed() : now != was)
            return true;
    }
    return false;
}

void TMyEdit::showStoredCover()
{
    // The cover of the record as the collection has it (a title typed but not
    // yet updated names no cover yet).
    db::Table& t = m_context.table;
    const int year = t.fieldIndex("Year");
    const bool stored = t.active() && !t.isEmpty() && m_mode != NewMode;
    // The user's Cover Size, which Options may have changed since the window was made.
    m_cover->setLimits(covers::CoverLimits::sized(m_context.settings.coverLongestSide, m_context.settings.coverJpegQuality));
    m_cover->showFilm(t.active() ? t.filePath() : std::string(), stored ? t.current().text(0) : std::string(),
                      stored && year >= 0 ? t.current().text(year) : std::string(), stored);
}

void TMyEdit::DoClear()
{
    for (const Spec& spec : specs()) {
        if (spec.kind == Spec::Check)
            checkBox(spec.name)->setChecked(false);
        else
            setTextOf(spec, QString(spec.name) == "PlayTime" || QString(spec.name) == "ListPrice"
                                    || QString(spec.name) == "PurchPrice"
                                ? "0"
                                : "");
    }
    // A cleared editor is a new record: it has no cover until one is chosen.
    // The user's Cover Size, which Options may have changed since the window was made.
    m_cover->setLimits(covers::CoverLimits::sized(m_context.settings.coverLongestSide, m_context.settings.coverJpegQuality));
    m_cover->showFilm(m_context.table.active() ? m_context.table.filePath() : std::string(), "", "", false);
    SetCaptions();
}

// ---------------------------------------------------------------- updating

bool TMyEdit::fail(const QString& message, int page, QWidget* focus)
{
    m_context.prompter.message(this, tr("Error"), message, app::Prompter::Icon::Error);
    m_pages->setCurrentIndex(page);
    focusControl(focus);
    return false;
}

bool TMyEdit::DoUpdate()
{
    const app::NumberFormats& numbers = m_context.numbers;
    auto dateValid = [this](const char* name) {
        const QString text = textOf(specNamed(name)).trimmed();
        return isBlankDate(text) || db::parseShortDate(text.toStdString()).has_value();
    };
    auto price = [&numbers](QLineEdit* box) -> std::optional<double> {
        if (box->text().trimmed().isEmpty())
            return 0.0;
        return normalisedPrice(box->text(), numbers.currencyFormat, numbers.regional.decimal,
                               numbers.regional.thousand);
    };
    auto wholeNumber = [](QLineEdit* box) {
        const QString text = box->text().trimmed();
        bool ok = true;
        if (!text.isEmpty())
            text.toInt(&ok);
        return ok;
    };
    // 1. The six checks, each with its message, page and box.
    if (!dateValid("CheckDate"))
        return fail(tr("Invalid check out date specified.  Please correct."), Library, lineEdit("CheckDate"));
    if (!dateValid("PurchDate"))
        return fail(tr("Invalid purchase date specified.  Please correct."), Other, lineEdit("PurchDate"));
    const std::optional<double> listPrice = price(lineEdit("ListPrice"));
    if (!listPrice)
        return fail(tr("Invalid list price specified.  Please correct."), Other, lineEdit("ListPrice"));
    const std::optional<double> purchPrice = price(lineEdit("PurchPrice"));
    if (!purchPrice)
        return fail(tr("Invalid purchase price specified.  Please correct."), Other, lineEdit("PurchPrice"));
    if (!wholeNumber(lineEdit("PlayTime")))
        return fail(tr("Invalid play time specified.  Please correct."), Library, lineEdit("PlayTime"));
    if (!wholeNumber(lineEdit("YearReleased")))
        return fail(tr("Invalid year specified.  Please correct."), Particulars, lineEdit("YearReleased"));
    // Text the collection cannot hold whole (characters a Windows-1252
    // collection lacks, more bytes than the field's width) is refused, never
    // changed or cut silently; boxes stored as numbers or dates were read above.
    for (const Spec& spec : specs()) {
        if (spec.kind == Spec::Check || !storedAsText(spec))
            continue;
        const db::Table& table = m_context.table;
        switch (table.fit(table.requireField(spec.field), textOf(spec).toStdString())) {
        case db::Table::Fit::Whole: break;
        case db::Table::Fit::NotHeld:
            return fail(tr("The text \"%1\" holds characters that a collection cannot store.  Please correct.")
                            .arg(textOf(spec).trimmed()),
                        spec.page, control(spec.name));
        case db::Table::Fit::TooLong:
            return fail(tr("The text \"%1\" is longer than the field holds (%2 bytes in a Unicode collection).  "
                           "Please shorten it.")
                            .arg(textOf(spec).trimmed())
                            .arg(table.field(table.requireField(spec.field)).width),
                        spec.page, control(spec.name));
        }
    }

    // 2. New box values join the pick lists of the editor and of the grid.
    for (const Spec& spec : specs()) {
        if (spec.kind != Spec::Combo)
            continue;
        AddToList(comboBox(spec.name));
        if (spec.listCode > 0 && m_context.addToGridList) {
            const QString text = comboBox(spec.name)->currentText().trimmed();
            if (!text.isEmpty())
                m_context.addToGridList(spec.listCode, text);
        }
    }

    // 3 to 5. Insert or edit, set every field by its kind, post.
    db::Table& t = m_context.table;
    try {
        if (m_mode == NewMode || m_mode == CopyMode)
            t.insert();
        else
            t.edit();
        for (const Spec& spec : specs()) {
            const int field = t.requireField(spec.field);
            const QString name = spec.name;
            if (spec.kind == Spec::Check) {
                t.setText(field, checkBox(spec.name)->isChecked() ? "Yes" : "No");
            } else if (name == "ListPrice" || name == "PurchPrice") {
                t.setNumber(field, name == "ListPrice" ? *listPrice : *purchPrice);
            } else if (spec.kind == Spec::Date) {
                const QString text = textOf(spec).trimmed();
                if (isBlankDate(text))
                    t.clearField(field);
                else
                    t.setText(field, text.toStdString());
            } else {
                t.setText(field, textOf(spec).toStdString());
            }
        }
        t.post();
    } catch (const std::exception& e) {
        if (t.active() && t.state() != db::Table::State::Browse)
            t.cancel();
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return false;
    }
    m_mode = EditMode;
    // A new record's picture is kept now that the record has its title and year.
    const int yearField = t.fieldIndex("Year");
    const std::string title = t.current().text(0), year = yearField >= 0 ? t.current().text(yearField) : std::string();
    if (m_cover->hasPending())
        m_cover->storePending(title, year);
    // The user's Cover Size, which Options may have changed since the window was made.
    m_cover->setLimits(covers::CoverLimits::sized(m_context.settings.coverLongestSide, m_context.settings.coverJpegQuality));
    m_cover->showFilm(t.filePath(), title, year, true);
    return true;
}

void TMyEdit::DoAnUpdate()
{
    if (DoUpdate())
        SaveValues();
}

void TMyEdit::DoUpdateAndExit()
{
    if (DoUpdate())
        done(Accepted);
}

void TMyEdit::normalisePriceBox(QLineEdit* box)
{
    const app::NumberFormats& numbers = m_context.numbers;
    const auto value = normalisedPrice(box->text(), numbers.currencyFormat, numbers.regional.decimal,
                                       numbers.regional.thousand);
    // Text that is not a number stays as typed; the update reports it.
    if (value)
        box->setText(numbers.moneyAmount(*value, 1));
}

void TMyEdit::ListPriceExit()
{
    if (!lineEdit("ListPrice")->text().trimmed().isEmpty())
        normalisePriceBox(lineEdit("ListPrice"));
}

void TMyEdit::PurchPriceExit()
{
    if (!lineEdit("PurchPrice")->text().trimmed().isEmpty())
        normalisePriceBox(lineEdit("PurchPrice"));
}

// ---------------------------------------------------------------- questions and moves

bool TMyEdit::askToUpdate(const QString& question, bool always)
{
    if (m_context.browseMode || !(always || ValuesChanged()))
        return true;
    const auto answer = m_context.prompter.ask(this, tr("Warning"), question, app::Prompter::Buttons::YesNoCancel,
                                               app::Prompter::Answer::No, true);
    if (answer == app::Prompter::Answer::Cancel)
        return false;
    if (answer == app::Prompter::Answer::Yes)
        return DoUpdate();
    return true;
}

void TMyEdit::MenuNewClick()
{
    if (ValuesChanged()
        && !askToUpdate(tr("Data has changed.  Update this record before creating new one?"), false))
        return;
    DoClear();
    m_mode = NewMode;
    SaveValues();
    setWindowTitle(tr("Edit (New Record)"));
}

void TMyEdit::MenuCopyRecordClick()
{
    if (ValuesChanged()
        && !askToUpdate(tr("Data has changed.  Update this record before creating new one with the current data?"),
                        false))
        return;
    m_mode = NewMode;
    SaveValues();
    setWindowTitle(tr("Edit (New Copied Record)"));
}

void TMyEdit::moveRecord(bool forward)
{
    const bool adding = m_mode == NewMode || m_mode == CopyMode;
    QString question;
    if (adding)
        question = forward ? tr("This record has not been updated yet.  Update this record before moving to the next record?")
                           : tr("This record has not been updated yet.  Update this record before moving to the previous record?");
    else
        question = forward ? tr("Data has changed.  Update this record before moving to the next record?")
                           : tr("Data has changed.  Update this record before moving to the previous record?");
    if (!askToUpdate(question, adding))
        return;
    try {
        if (forward)
            m_context.table.next();
        else
            m_context.table.prior();
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
    LoadInData();
    SaveValues();
    m_mode = EditMode;
}

void TMyEdit::DoPreviousRecord()
{
    moveRecord(false);
}

void TMyEdit::DoNextRecord()
{
    moveRecord(true);
}

void TMyEdit::DoExit()
{
    if (!m_context.browseMode && ValuesChanged()
        && m_context.prompter.ask(this, tr("Warning"), tr("Data has changed.  Do you want to exit without updating?"),
                                  app::Prompter::Buttons::YesNo, app::Prompter::Answer::No, true)
            != app::Prompter::Answer::Yes)
        return;
    done(Rejected);
}

void TMyEdit::reject()
{
    // Escape and the window's close button ask as Exit does.
    DoExit();
}

void TMyEdit::done(int result)
{
    SaveAllLists();
    QDialog::done(result);
}

void TMyEdit::CheckOutClick()
{
    QLineEdit* date = lineEdit("CheckDate");
    QComboBox* name = comboBox("CheckName");
    if (checkBox("CheckOut")->isChecked()) {
        date->setText(m_rememberedCheckDate);
        name->setEditText(m_rememberedCheckName);
    } else {
        m_rememberedCheckDate = date->text().left(10);
        m_rememberedCheckName = name->currentText().left(30);
        date->clear();
        name->setEditText(QString());
    }
}

// ---------------------------------------------------------------- pickers

void TMyEdit::selectAward(int mode, const QString& boxName, const QString& listFile)
{
    QLineEdit* box = lineEdit(boxName);
    TMyOscarAward picker(static_cast<TMyOscarAward::Mode>(mode), m_context.programFolder + "/" + listFile,
                         box->text(), this);
    ui::SetFonts(&picker, {m_context.settings.labelFont, m_context.settings.editFont,
                                   m_context.settings.buttonFont});
    ui::scaleAndCentre(&picker, m_context.scaleFactor ? m_context.scaleFactor() : 1.0);
    if (m_context.runDialog(picker) == QDialog::Accepted)
        box->setText(picker.choice());
}

void TMyEdit::SelectOscarAwardClick()
{
    selectAward(TMyOscarAward::OscarAward, "OscarAward", "OSCAR.LST");
}

void TMyEdit::SelectOscarNomClick()
{
    selectAward(TMyOscarAward::OscarNomination, "OscarNom", "OSCAR.LST");
}

void TMyEdit::SelectMiscClick()
{
    selectAward(TMyOscarAward::Miscellaneous, "Misc", "MISC.LST");
}

// ---------------------------------------------------------------- the Enter key

bool TMyEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QWidget* from = qobject_cast<QWidget*>(watched);
            if (from && qobject_cast<QComboBox*>(from->parentWidget()))
                from = from->parentWidget();
            FormKeyPress(from);
            return true; // Enter never reaches a control
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMyEdit::FormKeyPress(QWidget* from)
{
    if (!from)
        return;
    const auto next = enterChain().find(from->objectName());
    if (next == enterChain().end())
        return;
    const int page = pageOf(next.value());
    if (page != m_pages->currentIndex())
        m_pages->setCurrentIndex(page);
    focusControl(control(next.value()));
}

} // namespace edit
