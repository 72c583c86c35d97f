#include "TUserReport.h"

#include "CoreText.h"
#include "Cp1252.h"
#include "HelpViewer.h"
#include "ReportDesign.h"
#include "Schema.h"
#include "WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace report_ui {

namespace {

QString fromTable(const std::string& text) { return QString::fromStdString(db::cp1252ToUtf8(text)); }
std::string toTable(const QString& text) { return db::utf8ToCp1252(text.toStdString()); }

constexpr std::array<report::FontRole, 4> kFontRoles = {report::TitleFont, report::ColumnHeaderFont, report::BodyFont,
                                                        report::FootnoteFont};

void refuse(app::Prompter& prompter, QWidget* owner, const QString& caption, const QString& text, QWidget* focus)
{
    QApplication::beep();
    prompter.message(owner, caption, text, app::Prompter::Icon::Warning);
    if (focus)
        focus->setFocus();
}

QPushButton* addButton(QBoxLayout* row, QWidget* owner, const QString& caption)
{
    auto* button = new QPushButton(caption, owner);
    row->addWidget(button);
    return button;
}

} // namespace

QString fontText(const FontBlock& font) { return QString("%1 %2pt").arg(fromTable(font.face)).arg(font.size); }

// ---------------------------------------------------------------- fonts

TReportFonts::TReportFonts(app::Prompter& prompter, ReportDefinition& definition, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_definition(definition)
{
    setWindowTitle(tr("Report Fonts"));
    auto* layout = new QVBoxLayout(this);
    const std::array<const char*, 4> captions = {QT_TR_NOOP("Titles Font"), QT_TR_NOOP("Column Header Font"),
                                                  QT_TR_NOOP("Report Body Font"), QT_TR_NOOP("Footnote Font")};
    for (int block = 0; block < 4; ++block) {
        auto* group = new QGroupBox(tr(captions[static_cast<size_t>(block)]), this);
        auto* row = new QHBoxLayout(group);
        FontBoxes[static_cast<size_t>(block)] = new QLineEdit(fontText(m_definition.fonts[kFontRoles[static_cast<size_t>(block)]]), group);
        FontBoxes[static_cast<size_t>(block)]->setReadOnly(true);
        row->addWidget(FontBoxes[static_cast<size_t>(block)], 1);
        connect(addButton(row, group, tr("New Font")), &QPushButton::clicked, this, [this, block] { NewFontClick(block); });
        ui::addFontColorButton(row, this, m_prompter, m_definition.fonts[kFontRoles[static_cast<size_t>(block)]].color);
        layout->addWidget(group);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    connect(addButton(buttons, this, tr("&Ok")), &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons);
}

void TReportFonts::NewFontClick(int block)
{
    FontBlock& font = m_definition.fonts[kFontRoles[static_cast<size_t>(block)]];
    const std::optional<QFont> chosen = m_prompter.chooseFont(
        this, ui::dialogFont(fromTable(font.face), font.size, font.bold, font.italic, font.underline, font.strikeOut));
    if (!chosen)
        return;
    font.face = toTable(chosen->family()).substr(0, 50);
    font.size = std::clamp(chosen->pointSize() > 0 ? chosen->pointSize() : font.size, 6, 16);
    font.bold = chosen->bold();
    font.italic = chosen->italic();
    font.underline = chosen->underline();
    font.strikeOut = chosen->strikeOut();
    FontBoxes[static_cast<size_t>(block)]->setText(fontText(font));
}

// ---------------------------------------------------------------- part

TReportPart::TReportPart(DesignerContext& context, ReportLine& line, int lineNumber, int item, int reportWidth,
                         QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_line(line)
    , m_lineNumber(lineNumber)
    , m_item(item)
    , m_reportWidth(reportWidth)
{
    setWindowTitle(tr("Select Report Part"));
    const bool totals = lineNumber < 0;
    auto* layout = new QVBoxLayout(this);
    SelectedPart = new QLabel(totals ? tr("Totals Line, Item %1").arg(item + 1)
                                     : tr("Line %1, Item %2").arg(lineNumber + 1).arg(item + 1),
                              this);
    SelectedPart->setStyleSheet("background-color: teal; color: white; padding: 4px;");
    auto* selectedGroup = new QGroupBox(tr("Selected Part"), this);
    (new QVBoxLayout(selectedGroup))->addWidget(SelectedPart);
    layout->addWidget(selectedGroup);
    auto* middle = new QHBoxLayout;
    auto* type = new QGroupBox(tr("Type"), this);
    auto* typeLayout = new QVBoxLayout(type);
    FillerButton = new QRadioButton(tr("Filler (empty space)"), type);
    LabelButton = new QRadioButton(tr("Label (constant value)"), type);
    FieldButton = new QRadioButton(tr("Field (database value)"), type);
    CoverButton = new QRadioButton(tr("Cover (the film's picture)"), type);
    for (QRadioButton* b : {FillerButton, LabelButton, FieldButton, CoverButton}) {
        typeLayout->addWidget(b);
        connect(b, &QRadioButton::toggled, this, [this] { kindChanged(); });
    }
    // A cover is as tall as a number of the record's lines, from its own down.
    auto* coverRow = new QHBoxLayout;
    auto* coverLinesLabel = new QLabel(tr("Lines tall"), type);
    CoverLines = new QSpinBox(type);
    CoverLines->setRange(1, report::kMaxBodyLines);
    CoverLines->setAccessibleName(tr("Lines tall"));
    coverLinesLabel->setBuddy(CoverLines);
    coverRow->addSpacing(20);
    coverRow->addWidget(coverLinesLabel);
    coverRow->addWidget(CoverLines);
    coverRow->addStretch();
    typeLayout->addLayout(coverRow);
    typeLayout->addStretch();
    // The totals line has no film, and so no cover.
    CoverButton->setVisible(!totals);
    coverLinesLabel->setVisible(!totals);
    CoverLines->setVisible(!totals);
    middle->addWidget(type);
    auto* fieldsGroup = new QGroupBox(tr("Fields"), this);
    auto* fieldsLayout = new QVBoxLayout(fieldsGroup);
    Fields = new QListWidget(fieldsGroup);
    Fields->setAccessibleName(tr("Fields"));
    if (totals) {
        for (int kind = 1; kind <= 3; ++kind)
            Fields->addItem(QCoreApplication::translate("report", report::totalName(kind)));
    } else {
        for (const app::FieldSettings& field : m_context.settings.fields)
            Fields->addItem(field.displayName);
    }
    fieldsLayout->addWidget(Fields);
    middle->addWidget(fieldsGroup, 1);
    layout->addLayout(middle, 1);
    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(tr("Width"), this), 0, 0);
    WidthBox = new QLineEdit(this);
    WidthBox->setAccessibleName(tr("Width"));
    WidthBox->setMaxLength(3);
    boxes->addWidget(WidthBox, 0, 1);
    boxes->addWidget(new QLabel(tr("Label Name"), this), 1, 0);
    LabelName = new QLineEdit(this);
    LabelName->setAccessibleName(tr("Label Name"));
    LabelName->setMaxLength(40);
    boxes->addWidget(LabelName, 1, 1);
    layout->addLayout(boxes);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = addButton(buttons, this, tr("&Ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TReportPart::OkClick);
    connect(addButton(buttons, this, tr("&Cancel")), &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);

    const report::ReportItem& part = m_line[static_cast<size_t>(item)];
    (part.isFiller() ? FillerButton : part.isLabel() ? LabelButton : part.isCover() ? CoverButton : FieldButton)->setChecked(true);
    if (part.isLabel())
        LabelName->setText(fromTable(part.label));
    CoverLines->setValue(part.isCover() ? std::max<int>(1, part.number) : std::min(4, report::kMaxBodyLines - std::max(lineNumber, 0)));
    if (!part.isFiller() && !part.isLabel() && !part.isCover())
        Fields->setCurrentRow(report::partListRow(part, totals));
    WidthBox->setText(QString::number(part.width));
    kindChanged();
    ui::applyWindowLook(this, m_context.settings, app::ReportWindowColors, 1.0);
}

void TReportPart::kindChanged()
{
    LabelName->setEnabled(LabelButton->isChecked());
    Fields->setEnabled(FieldButton->isChecked());
    CoverLines->setEnabled(CoverButton->isChecked());
}

void TReportPart::OkClick()
{
    bool read = false;
    const int width = WidthBox->text().trimmed().toInt(&read);
    if (!read || width < 0) {
        refuse(m_context.prompter, this, tr("Error"), tr("Invalid width entered.  Please correct."), WidthBox);
        return;
    }
    // A field part needs its field.
    if (FieldButton->isChecked() && Fields->currentRow() < 0) {
        refuse(m_context.prompter, this, tr("Error"),
               m_lineNumber < 0 ? tr("No total is selected.  Please choose one from the Fields list.")
                                : tr("No field is selected.  Please choose one from the Fields list."),
               Fields);
        return;
    }
    const report::PartKind kind = FillerButton->isChecked()  ? report::PartKind::Filler
                                  : LabelButton->isChecked() ? report::PartKind::Label
                                  : CoverButton->isChecked() ? report::PartKind::Cover
                                                             : report::PartKind::Field;
    report::setPart(m_line, m_item, width, kind, toTable(LabelName->text()),
                    kind == report::PartKind::Cover ? CoverLines->value() : Fields->currentRow() + 1, m_lineNumber < 0,
                    m_reportWidth);
    accept();
}

// ---------------------------------------------------------------- layout

LayoutView::LayoutView(const ReportDefinition& definition, const app::Settings& settings, QWidget* parent)
    : QWidget(parent)
    , m_definition(definition)
    , m_settings(settings)
{
    setMinimumSize(600, 40 + 28 * (std::max(definition.numberOfLines, 1) + 1) + 30);
}

QRect LayoutView::rowRect(int line) const
{
    // The body rows under "Report Body", the totals row under "Report Totals".
    const int rowHeight = 24, top = 20;
    const int y = line < 0 ? top + (m_definition.numberOfLines + 1) * (rowHeight + 4) + 4 : top + line * (rowHeight + 4);
    return {4, y, width() - 8, rowHeight};
}

QRect LayoutView::boxRect(int line, int item) const
{
    const ReportLine& row = line < 0 ? m_definition.totals : m_definition.lines[static_cast<size_t>(line)];
    const QRect r = rowRect(line);
    // A line wider than the report (the defaults have some) is drawn to its own width.
    int lineWidth = 0;
    for (int i = 0; i < report::kItemsPerLine && row[static_cast<size_t>(i)].width > 0; ++i)
        lineWidth += row[static_cast<size_t>(i)].width;
    const int reportWidth = std::max({m_definition.width, lineWidth, 1});
    int start = 0;
    for (int i = 0; i < item; ++i)
        start += std::max(row[static_cast<size_t>(i)].width, 0);
    const int width = std::max(row[static_cast<size_t>(item)].width, 0);
    const int left = r.left() + start * r.width() / reportWidth;
    const bool last = item == report::kItemsPerLine - 1 || row[static_cast<size_t>(item) + 1].width <= 0;
    const int right = last ? r.right() : r.left() + (start + width) * r.width() / reportWidth;
    return {left, r.top(), std::max(right - left, 1), r.height()};
}

std::pair<int, int> LayoutView::boxAt(QPoint point) const
{
    for (int line = -1; line < m_definition.numberOfLines; ++line) {
        if (!rowRect(line).contains(point))
            continue;
        const ReportLine& row = line < 0 ? m_definition.totals : m_definition.lines[static_cast<size_t>(line)];
        for (int item = 0; item < report::kItemsPerLine && row[static_cast<size_t>(item)].width > 0; ++item)
            if (boxRect(line, item).contains(point))
                return {line, item};
    }
    return {0, -1};
}

void LayoutView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(QFont("Arial", 8));
    p.drawText(QPoint(4, 14), tr("Report Body"));
    p.drawText(QPoint(4, rowRect(-1).top() - 6), tr("Report Totals"));
    for (int line = -1; line < m_definition.numberOfLines; ++line) {
        const ReportLine& row = line < 0 ? m_definition.totals : m_definition.lines[static_cast<size_t>(line)];
        for (int item = 0; item < report::kItemsPerLine && row[static_cast<size_t>(item)].width > 0; ++item) {
            const report::ReportItem& part = row[static_cast<size_t>(item)];
            const QRect box = boxRect(line, item);
            p.fillRect(box, Qt::white);
            p.setPen(Qt::black);
            p.drawRect(box.adjusted(0, 0, -1, -1));
            // Field names black, labels red, fillers green, covers blue.
            QString text;
            if (part.isFiller()) {
                p.setPen(Qt::darkGreen);
                text = tr("Filler");
            } else if (part.isLabel()) {
                p.setPen(Qt::red);
                text = fromTable(part.label);
            } else if (part.isCover()) {
                p.setPen(Qt::darkBlue);
                text = tr("Cover (lines: %1)").arg(std::max<int>(1, part.number));
            } else if (line < 0) {
                text = QCoreApplication::translate("report", report::totalName(part.number));
            } else {
                text = part.number >= 1 && part.number <= db::kSchemaFieldCount
                           ? m_settings.fields[static_cast<size_t>(part.number - 1)].displayName
                           : fromTable(part.kind);
            }
            p.drawText(box.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
        }
    }
}

void LayoutView::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? boxAt(event->position().toPoint()) : std::pair<int, int>{0, -1};
}

void LayoutView::mouseReleaseEvent(QMouseEvent* event)
{
    // A press and a release on the same box.
    const auto released = boxAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && released.second >= 0 && released == m_pressed && onBoxClicked)
        onBoxClicked(released.first, released.second);
    m_pressed = {0, -1};
}

TRepLayout::TRepLayout(DesignerContext& context, ReportDefinition& definition, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_definition(definition)
    , m_working(definition)
{
    setWindowTitle(tr("Specify Report Layout"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Report: %1").arg(fromTable(m_working.name).left(38)), this));
    layout->addWidget(new QLabel(tr("Using the left mouse button, click on the area where you would like to add or change "
                                 "the report layout."),
                                 this));
    Layout = new LayoutView(m_working, m_context.settings, this);
    Layout->onBoxClicked = [this](int line, int item) { editPart(line, item); };
    layout->addWidget(Layout, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    connect(addButton(buttons, this, tr("&Ok")), &QPushButton::clicked, this, &TRepLayout::OkClick);
    connect(addButton(buttons, this, tr("&Cancel")), &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);
    ui::applyWindowLook(this, m_context.settings, app::ReportWindowColors, 1.0);
}

void TRepLayout::editPart(int line, int item)
{
    ReportLine& row = line < 0 ? m_working.totals : m_working.lines.at(static_cast<size_t>(line));
    TReportPart part(m_context, row, line, item, m_working.width, this);
    m_context.runDialog(part);
    Layout->update();
}

void TRepLayout::OkClick()
{
    m_definition = m_working;
    accept();
}

// ---------------------------------------------------------------- definition

TUserReport::TUserReport(DesignerContext context, ReportDefinition definition, int record, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
    , m_definition(std::move(definition))
    , m_record(record)
    , m_openedName(m_definition.name)
{
    setWindowTitle(tr("Report Definition"));
    // A definition from a damaged file is shown with its lines fitted to its width.
    report::repairLines(m_definition);
    auto* layout = new QGridLayout(this);
    auto* nameGroup = new QGroupBox(tr("Report Name"), this);
    auto* nameLayout = new QVBoxLayout(nameGroup);
    NameBox = new QLineEdit(fromTable(m_definition.name), nameGroup);
    NameBox->setMaxLength(30);
    nameLayout->addWidget(NameBox);
    layout->addWidget(nameGroup, 0, 0);

    auto* widthGroup = new QGroupBox(tr("Report Width"), this);
    auto* widthLayout = new QHBoxLayout(widthGroup);
    Width90 = new QRadioButton(tr("90 Chars"), widthGroup);
    Width120 = new QRadioButton(tr("120 Chars"), widthGroup);
    Width150 = new QRadioButton(tr("150 Chars"), widthGroup);
    for (QRadioButton* b : {Width90, Width120, Width150})
        widthLayout->addWidget(b);
    layout->addWidget(widthGroup, 0, 1);
    showWidth();
    connect(Width90, &QRadioButton::clicked, this, [this] { widthChosen(90); });
    connect(Width120, &QRadioButton::clicked, this, [this] { widthChosen(120); });
    connect(Width150, &QRadioButton::clicked, this, [this] { widthChosen(150); });

    auto* fontGroup = new QGroupBox(tr("Report Fonts"), this);
    auto* fontLayout = new QGridLayout(fontGroup);
    const std::array<const char*, 4> fontCaptions = {QT_TR_NOOP("Title Lines"), QT_TR_NOOP("Column Headers"),
                                                      QT_TR_NOOP("Report Body"), QT_TR_NOOP("Footnotes")};
    for (int i = 0; i < 4; ++i) {
        fontLayout->addWidget(new QLabel(tr(fontCaptions[static_cast<size_t>(i)]), fontGroup), i, 0);
        FontBoxes[static_cast<size_t>(i)] = new QLineEdit(fontGroup);
        FontBoxes[static_cast<size_t>(i)]->setReadOnly(true);
        fontLayout->addWidget(FontBoxes[static_cast<size_t>(i)], i, 1);
    }
    auto* setFonts = new QPushButton(tr("&Set Fonts"), fontGroup);
    fontLayout->addWidget(setFonts, 4, 1);
    connect(setFonts, &QPushButton::clicked, this, &TUserReport::SetFontsClick);
    layout->addWidget(fontGroup, 1, 0);
    showFonts();

    auto* titleGroup = new QGroupBox(tr("Report Titles"), this);
    auto* titleLayout = new QVBoxLayout(titleGroup);
    for (size_t i = 0; i < TitleBoxes.size(); ++i) {
        TitleBoxes[i] = new QLineEdit(fromTable(m_definition.titles[i]), titleGroup);
        TitleBoxes[i]->setMaxLength(80);
        titleLayout->addWidget(TitleBoxes[i]);
    }
    layout->addWidget(titleGroup, 1, 1);

    auto* options = new QGroupBox(tr("Miscellaneous"), this);
    auto* optionsLayout = new QGridLayout(options);
    auto option = [&](const QString& caption, bool on, int at) {
        auto* box = new QCheckBox(caption, options);
        box->setChecked(on);
        optionsLayout->addWidget(box, at / 2, at % 2);
        return box;
    };
    ColumnHeaders = option(tr("Column Headers"), m_definition.columnHeaders, 0);
    PageNumbers = option(tr("Page Numbers"), m_definition.pageNumbers, 1);
    DateOnPages = option(tr("Date On Pages"), m_definition.dateOnPages, 2);
    UseTotals = option(tr("Use Totals"), m_definition.useTotals, 3);
    HorizontalLines = option(tr("Horizontal Lines"), m_definition.horizontalLines, 4);
    VerticalLines = option(tr("Vertical Lines"), m_definition.verticalLines, 5);
    Landscape = option(tr("Print Landscape"), m_definition.landscape, 6);
    GroupLevel1 = option(tr("Group by Level 1 Sort"), m_definition.groupByLevel1, 7);
    GroupLevel2 = option(tr("Group by Level 2 Sort"), m_definition.groupByLevel1 && m_definition.groupByLevel2, 8);
    GroupLevel2->setEnabled(GroupLevel1->isChecked());
    connect(GroupLevel1, &QCheckBox::toggled, this, [this](bool on) { GroupLevel2->setEnabled(on); });
    layout->addWidget(options, 2, 0);

    auto* right = new QVBoxLayout;
    auto* content = new QGroupBox(tr("Report Content"), this);
    auto* contentLayout = new QHBoxLayout(content);
    contentLayout->addWidget(new QLabel(tr("Number of Lines"), content));
    NumberOfLines = new QLineEdit(QString::number(m_definition.numberOfLines), content);
    NumberOfLines->setMaxLength(2);
    contentLayout->addWidget(NumberOfLines);
    auto* specify = new QPushButton(tr("&Specify Report Content"), content);
    contentLayout->addWidget(specify);
    connect(specify, &QPushButton::clicked, this, &TUserReport::SpecifyContentClick);
    connect(NumberOfLines, &QLineEdit::editingFinished, this, &TUserReport::numberOfLinesLeft);
    right->addWidget(content);
    auto* marginGroup = new QGroupBox(tr("Margins (in inches)"), this);
    auto* marginLayout = new QGridLayout(marginGroup);
    const std::array<const char*, 4> marginCaptions = {QT_TR_NOOP("Top"), QT_TR_NOOP("Bottom"), QT_TR_NOOP("Left"), QT_TR_NOOP("Right")};
    const std::array<double, 4> margins = {m_definition.topMargin, m_definition.bottomMargin, m_definition.leftMargin,
                                           m_definition.rightMargin};
    for (int i = 0; i < 4; ++i) {
        marginLayout->addWidget(new QLabel(tr(marginCaptions[static_cast<size_t>(i)]), marginGroup), i / 2, (i % 2) * 2);
        Margins[static_cast<size_t>(i)] = new QLineEdit(QString::number(margins[static_cast<size_t>(i)], 'f', 2), marginGroup);
        Margins[static_cast<size_t>(i)]->setMaxLength(5);
        marginLayout->addWidget(Margins[static_cast<size_t>(i)], i / 2, (i % 2) * 2 + 1);
        connect(Margins[static_cast<size_t>(i)], &QLineEdit::editingFinished, this, &TUserReport::numberOfLinesLeft);
    }
    right->addWidget(marginGroup);
    auto* buttons = new QHBoxLayout;
    UpdateButton = addButton(buttons, this, tr("&Update"));
    QPushButton* help = addButton(buttons, this, tr("&Help"));
    DeleteButton = addButton(buttons, this, tr("&Delete"));
    QPushButton* cancel = addButton(buttons, this, tr("&Cancel"));
    right->addStretch();
    right->addLayout(buttons);
    layout->addLayout(right, 2, 1);
    connect(UpdateButton, &QPushButton::clicked, this, &TUserReport::UpdateClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TUserReport::DeleteClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    app::setHelpKeyword(this, "User Defined Reports"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "User Defined Reports"); });
    connect(NameBox, &QLineEdit::editingFinished, this, &TUserReport::nameLeft);
    DeleteButton->setEnabled(m_record >= 0);
    enableOneLineOptions();
    ui::applyWindowLook(this, m_context.settings, app::ReportWindowColors, 1.0);
    NameBox->setFocus();
}

void TUserReport::showWidth()
{
    (m_definition.width == 150 ? Width150 : m_definition.width == 120 ? Width120 : Width90)->setChecked(true);
}

void TUserReport::showFonts()
{
    for (size_t i = 0; i < FontBoxes.size(); ++i)
        FontBoxes[i]->setText(fontText(m_definition.fonts[kFontRoles[i]]));
}

void TUserReport::enableOneLineOptions()
{
    // Column headers and box lines go only with one body line.
    const bool oneLine = m_definition.numberOfLines < 2;
    for (QCheckBox* box : {ColumnHeaders, HorizontalLines, VerticalLines})
        box->setEnabled(oneLine);
}

void TUserReport::nameLeft()
{
    if (m_record < 0)
        return;
    m_definition.name = toTable(NameBox->text().trimmed()).substr(0, 30);
    DeleteButton->setEnabled(m_definition.name == m_openedName);
}

void TUserReport::numberOfLinesLeft()
{
    if (const auto lines = report::readNumberOfLines(toTable(NumberOfLines->text()))) {
        m_definition.numberOfLines = *lines;
        NumberOfLines->setText(QString::number(*lines));
        enableOneLineOptions();
    }
}

bool TUserReport::checkNumberOfLines()
{
    const auto lines = report::readNumberOfLines(toTable(NumberOfLines->text()));
    if (!lines) {
        refuse(m_context.prompter, this, tr("Notice"), tr("Number of lines must be in range of 0 to 12.  Please correct."),
               NumberOfLines);
        return false;
    }
    m_definition.numberOfLines = *lines;
    NumberOfLines->setText(QString::number(*lines));
    enableOneLineOptions();
    return true;
}

void TUserReport::widthChosen(int width)
{
    const int previous = m_definition.width;
    if (width == previous)
        return;
    auto ask = [this](const QString& text) {
        QApplication::beep();
        return m_context.prompter.ask(this, tr("Warning"), text, app::Prompter::Buttons::YesNo, app::Prompter::Answer::No,
                                      false, app::Prompter::Icon::Error)
               == app::Prompter::Answer::Yes;
    };
    if (width == 90) {
        if (!ask(tr("Switching to 90 characters from 120 or 150 will truncate the current defined lines.  In addition, "
                 "the font size will be reset to a 10 point as a default.  Are you sure you wish to do this?"))) {
            showWidth();
            return;
        }
        report::switchWidth(m_definition, 90);
    } else if (width == 120) {
        if (previous == 150
            && !ask(tr("Switching to 120 characters from 150 will truncate the current defined lines.  In addition, the "
                    "font size will be reset to a 8 point as a default.  Are you sure you wish to do this?"))) {
            showWidth();
            return;
        }
        report::switchWidth(m_definition, 120);
        refuse(m_context.prompter, this, tr("Notice"), tr("The Report Body font size has been set to a 8 Point default size as."),
               nullptr);
    } else {
        report::switchWidth(m_definition, 150);
        refuse(m_context.prompter, this, tr("Notice"),
               tr("The Report Body font size has been set to a 6 Point default size as a result of switching to 150 "
               "characters per line."),
               nullptr);
    }
    showWidth();
    showFonts();
}

void TUserReport::SetFontsClick()
{
    TReportFonts fonts(m_context.prompter, m_definition, this);
    m_context.runDialog(fonts);
    showFonts();
}

void TUserReport::SpecifyContentClick()
{
    if (!checkNumberOfLines())
        return;
    m_definition.name = toTable(NameBox->text().trimmed()).substr(0, 30);
    TRepLayout layout(m_context, m_definition, this);
    m_context.runDialog(layout);
}

bool TUserReport::store()
{
    if (!checkNumberOfLines())
        return false;
    std::array<double, 4> margins{};
    const char decimal = QLocale().decimalPoint().at(0).toLatin1();
    for (size_t i = 0; i < Margins.size(); ++i) {
        const auto margin = report::readMargin(toTable(Margins[i]->text()), decimal ? decimal : '.');
        if (!margin) {
            refuse(m_context.prompter, this, tr("Notice"),
                   tr("A margin must be a number of inches from 0 to 20.  Please correct."), Margins[i]);
            return false;
        }
        margins[i] = *margin;
    }
    ReportDefinition d = m_definition;
    d.topMargin = margins[0];
    d.bottomMargin = margins[1];
    d.leftMargin = margins[2];
    d.rightMargin = margins[3];
    d.name = toTable(NameBox->text().trimmed()).substr(0, 30);
    for (size_t i = 0; i < TitleBoxes.size(); ++i)
        d.titles[i] = toTable(TitleBoxes[i]->text()).substr(0, 80);
    d.width = Width150->isChecked() ? 150 : Width120->isChecked() ? 120 : 90;
    d.columnHeaders = ColumnHeaders->isChecked();
    d.pageNumbers = PageNumbers->isChecked();
    d.dateOnPages = DateOnPages->isChecked();
    d.useTotals = UseTotals->isChecked();
    d.horizontalLines = HorizontalLines->isChecked();
    d.verticalLines = VerticalLines->isChecked();
    d.landscape = Landscape->isChecked();
    d.groupByLevel1 = GroupLevel1->isChecked();
    d.groupByLevel2 = GroupLevel1->isChecked() && GroupLevel2->isChecked();
    const std::string problem = report::definitionProblem(d, ui::speakerFor("report"));
    if (!problem.empty()) {
        refuse(m_context.prompter, this, tr("Notice"), QString::fromStdString(problem), nullptr);
        return false;
    }
    m_definition = d;
    return true;
}

void TUserReport::UpdateClick()
{
    if (!store())
        return;
    report::fitWideLines(m_definition);
    if (m_record >= 0 && m_definition.name != m_openedName) {
        QApplication::beep();
        const app::Prompter::Answer answer = m_context.prompter.ask(
            this, tr("Warning"),
            tr("Report Title has changed!  Do you wish to save this as a new report?   (YES saves as new report.  NO "
               "overwrites old report.  CANCEL aborts.)"),
            app::Prompter::Buttons::YesNoCancel, app::Prompter::Answer::Cancel, false, app::Prompter::Icon::Error);
        if (answer == app::Prompter::Answer::Cancel)
            return;
        if (answer == app::Prompter::Answer::Yes)
            m_record = -1;
    }
    try {
        report::DefinitionsFile file(m_context.definitionsFile.toStdString());
        ReportDefinition saved = m_definition;
        if (m_record < 0)
            saved.stored.clear(); // a new record starts from nothing
        int record = m_record;
        if (record < 0)
            record = file.append(saved);
        else
            file.write(record, saved);
        if (m_context.reloadList)
            m_context.reloadList(record);
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return;
    }
    accept();
}

void TUserReport::DeleteClick()
{
    if (m_record < 0)
        return;
    QApplication::beep();
    if (m_context.prompter.ask(this, tr("Warning"), tr("Are you sure you want to delete this report?"),
                               app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
        != app::Prompter::Answer::Yes)
        return;
    try {
        report::DefinitionsFile(m_context.definitionsFile.toStdString()).remove(m_record);
        if (m_context.reloadList)
            m_context.reloadList(-1);
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return;
    }
    accept();
}

} // namespace report_ui
