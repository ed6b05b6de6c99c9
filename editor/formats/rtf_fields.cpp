// SPDX-License-Identifier: GPL-3.0-or-later
// Ruby fields apart from the others.
#include "editor/formats/rtf_fields.h"

#include <QRegularExpression>

namespace editor {

EmptyField ReadEmptyField(const QString& instruction) {
    // The base is the last argument of \o: after the reading's closing bracket and its comma,
    // up to the bracket that closes \o.
    static const QRegularExpression kRuby(
        QStringLiteral(R"(^\s*EQ\b.*\\o(?:\\a[lcr])?\s*\(\s*\\s\s*\\up\s*-?\d+\s*\(.*\),)"));
    const QRegularExpressionMatch ruby = kRuby.match(instruction);
    if (ruby.hasMatch()) {
        const qsizetype begin = ruby.capturedEnd();
        const qsizetype end = instruction.lastIndexOf(u')');
        if (end > begin) {
            return {{instruction.left(begin), instruction.mid(end)},
                    instruction.mid(begin, end - begin)};
        }
    }
    return {{instruction, QString()}, QString()};
}

}  // namespace editor
