// SPDX-License-Identifier: GPL-3.0-or-later
// A glyph field: it holds and draws the glyph font's stand-in letter for a stem or a branch
// ("f"), but whatever leaves the field is the Chinese character drawn (己): a copy by
// Ctrl+C or the context menu, the selection that a middle click pastes, and what a screen
// reader reads.
#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QString>

namespace mainwin {

class GlyphField : public QLineEdit {
public:
    GlyphField();

    // The character now drawn; empty while the field is.
    const QString& Character() const { return character_; }
    // Shows the glyph font's `letter`, which draws `character`.
    void SetGlyph(const QString& letter, const QString& character);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Puts the character into the clipboard when the field's letter is selected.
    void CopyCharacter(QClipboard::Mode mode) const;
    // The selection of X11 follows every change of the field's selection.
    void OfferSelection() const;

    QString character_;
};

}  // namespace mainwin
