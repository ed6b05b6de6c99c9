// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window's layout: three bands (input bar, results area, status line), the
// results area in four columns whose four rows share their heights, and the sizing of the
// fields to the glyph size.
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "mainwin/glyph_field.h"
#include "mainwin/tform1.h"
#include "platform/qt/application.h"

namespace mainwin {

namespace {

QFrame* LoweredPanel(const char* name) {
    auto* panel = new QFrame;
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return panel;
}

bool IsGlyphField(const std::string& name) {
    return std::find(std::begin(GlyphFieldNames), std::end(GlyphFieldNames), name) !=
           std::end(GlyphFieldNames);
}

}  // namespace

void TForm1::BuildLayout() {
    auto* central = new QWidget;
    auto* bands = new QVBoxLayout(central);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    // Input bar: hour, day, month, year.
    QFrame* panel5 = LoweredPanel("Panel5");
    auto* inputs = new QHBoxLayout(panel5);
    inputs->setContentsMargins(6, 3, 6, 3);
    const char* captions[] = {"&Stunde", "&Tag", "&Monat", "&Jahr"};
    for (const cycle::InputField field : cycle::InputFields) {
        auto* label = new QLabel(QString::fromUtf8(captions[cycle::IndexOf(field)]));
        QLineEdit* edit = AddField(cycle::NameOf(field), new QLineEdit);
        label->setBuddy(edit);
        edit->setMinimumWidth(std::max(65, edit->fontMetrics().horizontalAdvance("-99999") + 14));
        edit->setMaximumWidth(edit->minimumWidth());
        connect(edit, &QLineEdit::textChanged, this,
                [this] { platform::RunGuarded([this] { calc_.ZeitEditChange(); }); });
        inputs->addWidget(label);
        inputs->addWidget(edit);
        inputs->addSpacing(10);
    }
    inputs->addStretch(1);
    bands->addWidget(panel5);

    // Results area: row captions, the positions in the cycle of sixty, stems, branches.
    auto* panel1 = new QWidget;
    panel1->setObjectName(QStringLiteral("Panel1"));
    auto* columns = new QHBoxLayout(panel1);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    BuildResultColumns(columns);
    bands->addWidget(panel1);

    // Status line: year start and winter solstice.
    QFrame* panel6 = LoweredPanel("Panel6");
    auto* status = new QHBoxLayout(panel6);
    status->setContentsMargins(6, 2, 6, 2);
    for (const char* name : {"JstLabel", "SoLabel"}) {
        auto* label = new QLabel;
        label->setObjectName(QString::fromLatin1(name));
        labels_.emplace(name, label);
        status->addWidget(label);
        status->addStretch(1);
    }
    bands->addWidget(panel6);

    setCentralWidget(central);
    // The window takes the size of its content and cannot be resized or maximised.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm1::BuildResultColumns(QHBoxLayout* columns) {
    const char* rows[] = {"S", "T", "M", "J"};
    struct Column {
        const char* panel;
        const char* heading;
        std::vector<std::string> perRow;  // field name patterns, '#' stands for the row letter
        std::vector<const char*> spoken;  // what a screen reader calls each, after the row
    };
    const Column groups[] = {
        {"Panel7", "", {}, {}},
        {"Panel2", "Periode 60", {"#60Edit"}, {"Periode 60"}},
        {"Panel3", "himmlische Zeichen", {"Stem#Edit", "Stem#Edit2"},
         {"himmlisches Zeichen", "himmlisches Zeichen, Name"}},
        {"Panel4", "irdische Zeichen", {"Branch#Edit", "Branch#Edit2"},
         {"irdisches Zeichen", "irdisches Zeichen, Name"}},
    };
    const char* captions[] = {"Std.-Rhythmus", "Tages-Rhythmus", "Monats-Rhythmus",
                              "Jahres-Rhythmus"};
    for (const Column& group : groups) {
        QFrame* panel = LoweredPanel(group.panel);
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(8, 6, 8, 8);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(14);
        // Space the window does not need goes below the last row, never between rows.
        grid->setRowStretch(5, 1);
        auto* heading = new QLabel(QString::fromUtf8(group.heading));
        if (std::string_view(group.panel) == "Panel2") heading->setObjectName("P60Label");
        grid->addWidget(heading, 0, 0, 1, std::max<int>(1, group.perRow.size()), Qt::AlignHCenter);
        headings_.push_back(heading);
        for (int r = 0; r < 4; ++r) {
            if (group.perRow.empty()) {
                auto* caption = new QLabel(QString::fromUtf8(captions[r]));
                caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                grid->addWidget(caption, r + 1, 0);
                rowWidgets_.push_back(caption);
                continue;
            }
            for (std::size_t c = 0; c < group.perRow.size(); ++c) {
                std::string name = group.perRow[c];
                name.replace(name.find('#'), 1, rows[r]);
                QLineEdit* edit =
                    AddField(name, IsGlyphField(name) ? new GlyphField : new QLineEdit);
                edit->setAccessibleName(QString::fromUtf8(captions[r]) + ", " +
                                        QString::fromUtf8(group.spoken[c]));
                edit->setReadOnly(true);
                edit->setFocusPolicy(Qt::ClickFocus);
                QPalette pal = edit->palette();
                pal.setColor(QPalette::Base, pal.color(QPalette::Button));
                edit->setPalette(pal);
                grid->addWidget(edit, r + 1, static_cast<int>(c));
                rowWidgets_.push_back(edit);
            }
        }
        columns->addWidget(panel);
    }
    // The hour has no position in the cycle of sixty and no stem; its fields keep their
    // place so that the rows stay aligned.
    for (const char* hidden : {"S60Edit", "StemSEdit", "StemSEdit2"}) {
        QLineEdit* edit = fields_.at(hidden);
        QSizePolicy policy = edit->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        edit->setSizePolicy(policy);
        edit->hide();
    }
}

// Every row of every column has the height of the tallest field, the glyph fields, and
// every heading the same height, so the rows stay aligned across the columns at any symbol
// size; no text is clipped.
void TForm1::SizeFields() {
    const QLineEdit* glyph = Field("StemTEdit");
    const QFontMetrics glyphMetrics(glyph->font());
    const int rowHeight = std::max(24, glyph->sizeHint().height());
    const int glyphWidth = std::max(72, glyphMetrics.height() + 16);
    const QFontMetrics text(Field("StemTEdit2")->font());
    const int positionWidth = std::max(64, text.horizontalAdvance("60") + 24);
    const int stemWidth = std::max(136, text.horizontalAdvance("10  lebendes Wasser") + 16);
    const int branchWidth = std::max(120, text.horizontalAdvance("12  Wildschwein") + 16);
    for (QWidget* heading : headings_) heading->setFixedHeight(text.height());
    for (QWidget* w : rowWidgets_) {
        w->setFixedHeight(rowHeight);
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (!edit) continue;
        const std::string name = w->objectName().toStdString();
        if (IsGlyphField(name)) {
            edit->setFixedWidth(glyphWidth);
            edit->setAlignment(Qt::AlignCenter);
        } else if (name.ends_with("60Edit")) {
            edit->setFixedWidth(positionWidth);
        } else if (name.starts_with("Stem")) {
            edit->setFixedWidth(stemWidth);
        } else {
            edit->setFixedWidth(branchWidth);
        }
    }
    FitToContent();
}

// The window takes exactly the size of its content, smaller or larger, as at start-up.
// The layouts from a glyph field up to the window forget their cached sizes, so that the
// window's fixed size is computed anew at once and not on a later layout request.
void TForm1::FitToContent() {
    for (QWidget* w = Field("StemTEdit"); w; w = w->parentWidget()) {
        if (w->layout()) w->layout()->invalidate();
        if (w == this) break;
    }
    layout()->activate();
}

}  // namespace mainwin
