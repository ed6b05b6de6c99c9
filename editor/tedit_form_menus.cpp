// SPDX-License-Identifier: GPL-3.0-or-later
// The notes window's commands: tool bar (with images drawn here), menus, context menu and
// status bar.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include "editor/tedit_form.h"
#include "platform/qt/application.h"

namespace editor {

namespace {

constexpr int ImageSize = 24;

enum class Image { Open, Save, Print, Find, Exit };

void DrawImage(QPainter& p, Image image, const QColor& ink) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.5));
    switch (image) {
    case Image::Open:  // an open folder
        p.setBrush(QColor(235, 200, 90));
        p.drawPolygon(QPolygonF({{2, 6}, {9, 6}, {11, 8}, {20, 8}, {20, 19}, {2, 19}}));
        p.setBrush(QColor(250, 225, 130));
        p.drawPolygon(QPolygonF({{5, 11}, {23, 11}, {20, 19}, {2, 19}}));
        break;
    case Image::Save:  // a floppy disk
        p.setBrush(QColor(70, 110, 190));
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 12, 7));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(7, 14, 10, 7));
        break;
    case Image::Print:  // a printer with a sheet
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 2, 10, 8));
        p.setBrush(QColor(160, 160, 160));
        p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 15, 10, 7));
        break;
    case Image::Find:  // a magnifying glass
        p.setBrush(QColor(200, 230, 250));
        p.drawEllipse(QRectF(3, 3, 12, 12));
        p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(21, 21));
        break;
    case Image::Exit:  // a door with an arrow out of it
        p.setBrush(QColor(170, 110, 60));
        p.drawRect(QRectF(3, 2, 11, 20));
        p.setPen(QPen(QColor(190, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 12), QPointF(22, 12));
        p.drawLine(QPointF(18, 8), QPointF(22, 12));
        p.drawLine(QPointF(18, 16), QPointF(22, 12));
        break;
    }
}

QPixmap MakePixmap(Image image, bool disabled) {
    QPixmap pixmap(ImageSize, ImageSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (disabled) p.setOpacity(0.35);
    DrawImage(p, image, disabled ? QColor(120, 120, 120) : QColor(30, 30, 30));
    return pixmap;
}

// Every button has its own image for the disabled state.
QIcon MakeIcon(Image image) {
    QIcon icon;
    icon.addPixmap(MakePixmap(image, false), QIcon::Normal);
    icon.addPixmap(MakePixmap(image, true), QIcon::Disabled);
    return icon;
}

}  // namespace

QAction* TEditForm::Action(std::string_view name) const {
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

// An action with its hint as tool tip and status tip; without a handler it stays
// disabled until its command exists.
QAction* TEditForm::AddAction(const char* name, const QString& text, const QString& hint,
                              void (TEditForm::*handler)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint.isEmpty() ? QString(text).remove(u'&') : hint);
    action->setStatusTip(hint);
    if (handler)
        connect(action, &QAction::triggered, this,
                [this, handler] { platform::RunGuarded([&] { (this->*handler)(); }); });
    else
        action->setEnabled(false);
    actions_.emplace(name, action);
    return action;
}

void TEditForm::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Werkzeuge"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(ImageSize, ImageSize));
    struct Button {
        const char* name;
        Image image;
        const char* hint;
        void (TEditForm::*handler)();
    };
    const Button buttons[] = {
        {"SpeedButton1", Image::Open, "Datei öffnen", &TEditForm::Open1Click},
        {"SaveBtn", Image::Save, "Datei speichern; alte Datei wird überschrieben",
         &TEditForm::Save1Click},
        {"SpeedButton4", Image::Print, "Datei drucken", &TEditForm::Print1Click},
        {"SuchBtn", Image::Find, "Text suchen", &TEditForm::Suchen1Click},
        {"ExitBtn", Image::Exit, "Editor beenden", &TEditForm::Exit1Click},
    };
    for (const Button& b : buttons) {
        QAction* action = AddAction(b.name, QString(), QString::fromUtf8(b.hint), b.handler);
        action->setIcon(MakeIcon(b.image));
        bar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
            button->setFixedSize(31, 31);
            button->setAutoRaise(true);
            button->setAccessibleName(action->toolTip());  // the button shows an image only
        }
    }
}

namespace {

// One menu item; a null name is a separator. The alignment items share one handler that
// needs to know the item, and are connected apart.
struct Item {
    const char* name;
    const char* text;
    const char* hint;
    const char* shortcut;
    void (TEditForm::*handler)();
};

constexpr Item Separator{nullptr, nullptr, nullptr, nullptr, nullptr};

const Item FileItems[] = {
    {"Open1", "&Öffnen", "Datei öffnen", nullptr, &TEditForm::Open1Click},
    {"New1", "&Neu", "leere Datei erzeugen", nullptr, &TEditForm::New1Click},
    Separator,
    {"Save1", "&Speichern", "Datei speichern; alte Datei wird überschrieben", "F2",
     &TEditForm::Save1Click},
    {"Saveas1", "Speichern &unter...", "Datei unter anderem Namen speichern", nullptr,
     &TEditForm::Saveas1Click},
    Separator,
    {"Print1", "&Drucken", "Datei drucken", nullptr, &TEditForm::Print1Click},
    {"Printersetup1", "Drucker &Einstellung...", "Drucker konfigurieren oder auswählen", nullptr,
     &TEditForm::Printersetup1Click},
    Separator,
    {"Exit1", "&Beenden", "", "Esc", &TEditForm::Exit1Click},
};

const Item EditItems[] = {
    {"Undo1", "Rückgängig", "letzte Operation rückgängig machen", nullptr, &TEditForm::Undo1Click},
    {"Cut1", "&Ausschneiden", "in die Zwischenablage", nullptr, &TEditForm::Cut1Click},
    {"Copy1", "&Kopieren", "in die Zwischenablage", nullptr, &TEditForm::Copy1Click},
    {"Paste1", "&Einfügen", "aus der Zwischenablage", nullptr, &TEditForm::Paste1Click},
    {"Delete1", "&Löschen", "ohne Zwischenablage", nullptr, &TEditForm::Delete1Click},
    {"Selectall1", "Alles ausw&ählen", "ganzen Text markieren", nullptr,
     &TEditForm::Selectall1Click},
    Separator,
    {"Suchen1", "&Suchen", "Zeichen im Text suchen", "F7", &TEditForm::Suchen1Click},
    {"Ersetzen1", "E&rsetzen", "Zeichen im Text suchen und/oder  ersetzen", "F8",
     &TEditForm::Ersetzen1Click},
};

const Item TextItems[] = {
    {"Left1", "&Linksbündig", "markierte Zeilen", nullptr, nullptr},
    {"Right1", "&Rechtsbündig", "markierte Zeilen", nullptr, nullptr},
    {"Center1", "&Zentriert", "markierte Zeilen", nullptr, nullptr},
    Separator,
    {"Wordwrap1", "&Wortumbruch", "Zeilenlänge an Fensterbreite anpassen (ganzer Text)", nullptr,
     &TEditForm::Wordwrap1Click},
    Separator,
    {"Font1", "&Schriftart",
     "Schriftart wählen für markierte Zeilen (RTF) oder ganzen Text (TXT-Format)", nullptr,
     &TEditForm::Font1Click},
    Separator,
    {"Ascii1", "&Ascii zu Ansi", "Dos-Text in das Windows-Format umwandeln (ganzer Text)", nullptr,
     &TEditForm::Ascii1Click},
    {"Ansi1", "Ansi zu Ascii", "Windows-Text in das DOS-Format umwandeln (ganzer Text)", nullptr,
     &TEditForm::Ansi1Click},
};

}  // namespace

void TEditForm::BuildMenus() {
    auto fill = [this](const char* name, const char* title, const auto& items) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
        menu->setObjectName(QString::fromLatin1(name));
        for (const Item& item : items) {
            if (!item.name) {
                menu->addSeparator();
                continue;
            }
            QAction* action = AddAction(item.name, QString::fromUtf8(item.text),
                                        QString::fromUtf8(item.hint), item.handler);
            if (item.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            menu->addAction(action);
        }
        return menu;
    };
    QMenu* file = fill("File1", "&Datei", FileItems);
    // Escape is the window's key (FormKeyDown); the menu only shows it in its key column,
    // where screen readers read it as the item's key, not as part of its name. As a widget
    // shortcut of the menu, which takes Escape itself, it never fires.
    Action("Exit1")->setShortcutContext(Qt::WidgetShortcut);
    connect(file, &QMenu::aboutToShow, this,
            [this] { platform::RunGuarded([this] { File1Click(); }); });
    QMenu* edit = fill("Edit1", "&Bearbeiten", EditItems);
    connect(edit, &QMenu::aboutToShow, this,
            [this] { platform::RunGuarded([this] { Edit1Click(); }); });
    Action("Undo1")->setEnabled(false);
    QMenu* text = fill("Character1", "&Text", TextItems);
    connect(text, &QMenu::aboutToShow, this,
            [this] { platform::RunGuarded([this] { Character1Click(); }); });
    for (const char* name : {"Left1", "Right1", "Center1"}) {
        QAction* item = Action(name);
        item->setCheckable(true);
        item->setEnabled(true);
        connect(item, &QAction::triggered, this,
                [this, item] { platform::RunGuarded([&] { AlignClick(item); }); });
    }
    // Word wrap is on from the start.
    Action("Wordwrap1")->setCheckable(true);
    Action("Wordwrap1")->setChecked(true);
}

void TEditForm::EnableConversions(bool ascii, bool ansi) {
    Action("Ascii1")->setEnabled(ascii);
    Action("Ansi1")->setEnabled(ansi);
}

// The three clipboard items, with the same actions as in the "&Bearbeiten" menu.
void TEditForm::BuildContextMenu() {
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    for (const char* name : {"Cut1", "Copy1", "Paste1"}) contextMenu_->addAction(Action(name));
    connect(editor_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        contextMenu_->popup(editor_->viewport()->mapToGlobal(at));
    });
}

// Two panels: the caret's place, and one that stays empty.
void TEditForm::BuildStatusBar() {
    panel1_ = new QLabel(this);
    panel1_->setObjectName(QStringLiteral("StatusPanel1"));
    panel2_ = new QLabel(this);
    panel2_->setObjectName(QStringLiteral("StatusPanel2"));
    panel1_->setFixedWidth(50);
    // Fixed in both directions, the panel's new text lays out the status bar again only when
    // its width changes: a conversion shows its progress here at every tenth line.
    panel1_->setFixedHeight(panel1_->sizeHint().height());
    panel2_->setMinimumWidth(50);
    statusBar()->addWidget(panel1_);
    statusBar()->addWidget(panel2_, 1);
    // The second panel stays empty: out of sight it looks the same, and screen readers pass
    // over it instead of reading an empty label.
    panel2_->hide();
    if (auto* grip = statusBar()->findChild<QSizeGrip*>())
        grip->setAccessibleName(QStringLiteral("Fenstergröße ändern"));
    statusBar()->setAutoFillBackground(true);
}

}  // namespace editor
