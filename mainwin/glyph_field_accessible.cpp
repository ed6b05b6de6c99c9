// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph fields' accessible interface: named by row and column like every result field,
// with the drawn character as value and description.
#include "mainwin/glyph_field_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QVariant>

namespace mainwin {

namespace {

// The character a glyph field draws; only glyph fields have it.
constexpr char Character[] = "tolvaneGlyphCharacter";

class GlyphFieldAccessible : public QAccessibleWidget {
public:
    explicit GlyphFieldAccessible(QWidget* field)
        : QAccessibleWidget(field, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return widget()->property(Character).toString();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* GlyphFieldFactory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType() || !object->property(Character).isValid())
        return nullptr;
    return new GlyphFieldAccessible(static_cast<QWidget*>(object));
}

}  // namespace

void MakeGlyphFieldAccessible(QLineEdit* field) {
    static const bool installed = [] {
        QAccessible::installFactory(GlyphFieldFactory);
        return true;
    }();
    (void)installed;
    field->setProperty(Character, QString());
}

void SetSpokenGlyph(QLineEdit* field, const QString& character) {
    if (!field->property(Character).isValid()) return;
    field->setProperty(Character, character);
    // Tells a listening screen reader that the field changed.
    field->setAccessibleDescription(character);
}

}  // namespace mainwin
