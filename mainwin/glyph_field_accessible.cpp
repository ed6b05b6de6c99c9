// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph fields' accessible interface: named by row and column like every result field,
// a read-only text whose text and value are the drawn character.
#include <QAccessible>
#include <QAccessibleWidget>

#include "mainwin/glyph_field.h"

namespace mainwin {

namespace {

class GlyphFieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit GlyphFieldAccessible(GlyphField* field)
        : QAccessibleWidget(field, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Character();
        return QAccessibleWidget::text(t);
    }

    // The text: the one character, nothing selectable, no caret.
    QString text(int start, int end) const override {
        return Character().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Character().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return 0; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    const QString& Character() const { return static_cast<GlyphField*>(widget())->Character(); }
};

QAccessibleInterface* GlyphFieldFactory(const QString&, QObject* object) {
    auto* field = dynamic_cast<GlyphField*>(object);
    return field ? new GlyphFieldAccessible(field) : nullptr;
}

}  // namespace

void InstallGlyphFieldAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(GlyphFieldFactory);
        return true;
    }();
    (void)installed;
}

namespace {

void Drop(QAccessibleEvent*) {}

}  // namespace

// The line edit tells screen readers of each change of its text, here the stand-in letter:
// while the letter is set, nothing is passed on, and the field tells of its character.
void GlyphField::SetGlyph(const QString& letter, const QString& character) {
    const QString old = character_;
    character_ = character;
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(Drop);
    setText(letter);
    setCursorPosition(0);
    QAccessible::installUpdateHandler(previous);
    if (character_ != old && QAccessible::isActive()) {
        QAccessibleTextUpdateEvent changed(this, 0, old, character_);
        QAccessible::updateAccessibility(&changed);
    }
}

}  // namespace mainwin
