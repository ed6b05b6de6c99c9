// SPDX-License-Identifier: GPL-3.0-or-later
// Field instructions are words and quoted strings; inside quotes a backslash escapes the next
// character. Switches (\l, \o, \t ...) start with a backslash.
#include "editor/formats/rtf_fields.h"

#include <QRegularExpression>
#include <QStringList>

namespace editor {

namespace {

QStringList Tokens(const QString& instruction) {
    QStringList tokens;
    qsizetype i = 0;
    const qsizetype size = instruction.size();
    while (i < size) {
        while (i < size && instruction[i].isSpace()) ++i;
        if (i == size) break;
        QString token;
        if (instruction[i] == u'"') {
            for (++i; i < size && instruction[i] != u'"'; ++i) {
                if (instruction[i] == u'\\' && i + 1 < size) ++i;
                token += instruction[i];
            }
            ++i;
            tokens << token;
            continue;
        }
        while (i < size && !instruction[i].isSpace() && instruction[i] != u'"') token += instruction[i++];
        tokens << token;
    }
    return tokens;
}

}  // namespace

QString HyperlinkTarget(const QString& instruction) {
    const QStringList tokens = Tokens(instruction);
    if (tokens.isEmpty() || tokens[0].compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive) != 0) {
        return {};
    }
    QString target;
    QString place;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        const QString& token = tokens[i];
        if (token.size() == 2 && token[0] == u'\\') {
            const QChar name = token[1].toLower();
            // \l, \o and \t take an argument, \m, \n and \h none.
            if ((name == u'l' || name == u'o' || name == u't') && i + 1 < tokens.size()) {
                if (name == u'l') place = tokens[i + 1];
                ++i;
            }
        } else if (target.isEmpty()) {
            target = token;
        }
    }
    if (!place.isEmpty()) target += u'#' + place;
    return target;
}

QString HyperlinkInstruction(const QString& target) {
    // A place in the document alone ("#Marke") is the \l switch's.
    const bool place = target.startsWith(u'#');
    QString escaped = place ? target.mid(1) : target;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'"', QStringLiteral("\\\""));
    return QStringLiteral("HYPERLINK ") + (place ? QStringLiteral("\\l \"") : QStringLiteral("\"")) + escaped + u'"';
}

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
