// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph field's copies: the character, never the stand-in letter.
#include "mainwin/glyph_field.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace mainwin {

void InstallGlyphFieldAccessibility();  // glyph_field_accessible.cpp

GlyphField::GlyphField() { InstallGlyphFieldAccessibility(); }

void GlyphField::CopyCharacter(QClipboard::Mode mode) const {
    if (hasSelectedText() && !character_.isEmpty())
        QGuiApplication::clipboard()->setText(character_, mode);
}

void GlyphField::OfferSelection() const {
    if (QGuiApplication::clipboard()->supportsSelection()) CopyCharacter(QClipboard::Selection);
}

void GlyphField::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopyCharacter(QClipboard::Clipboard);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    OfferSelection();  // after Shift+arrow or Ctrl+A
}

void GlyphField::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) OfferSelection();
}

// The field's own menu, its copy item copying the character.
void GlyphField::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (!menu) return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The copy item is the one that runs the field's copy (connected by name or by pointer,
    // as Qt's versions differ).
    for (QAction* item : menu->actions()) {
        const bool copies = disconnect(item, SIGNAL(triggered()), this, SLOT(copy())) ||
                            disconnect(item, &QAction::triggered, this, &QLineEdit::copy);
        if (copies)
            connect(item, &QAction::triggered, this, [this] { CopyCharacter(QClipboard::Clipboard); });
    }
    menu->popup(event->globalPos());
}

}  // namespace mainwin
