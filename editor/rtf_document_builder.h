// The receiving end of the RTF reader: collects text runs of one character format and
// paragraph ends, and puts them into a QTextDocument.
#pragma once

#include <QColor>
#include <QString>
#include <QTextCursor>

#include <map>
#include <vector>

class QTextDocument;
class QTextCharFormat;

namespace editor {

// The character properties an RTF group carries, as indices into the font and colour tables.
struct RtfCharFormat {
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;  // colour table index; an entry without colour means automatic
    int background = 0;
    bool operator==(const RtfCharFormat&) const = default;
};

struct RtfFont {
    QString name;
    int codePage = 0;  // 0: the document's code page
};

class RtfDocumentBuilder {
public:
    // Empties the document; its undo history is off until finish().
    explicit RtfDocumentBuilder(QTextDocument& document);

    std::map<int, RtfFont> fonts;
    std::vector<QColor> colours;  // an invalid colour is "automatic"
    int defaultFont = 0;

    void appendText(const QString& text, const RtfCharFormat& format);
    // A \par: the paragraph read so far ends with this alignment. The next paragraph starts
    // only when something follows, since the last \par of a file ends the last paragraph.
    void endParagraph(Qt::Alignment alignment);
    // The end of the file; `alignment` is that of a last paragraph without \par.
    void finish(Qt::Alignment alignment);

private:
    void flushRun();
    void startPendingParagraph();
    QTextCharFormat toCharFormat(const RtfCharFormat& format) const;

    QTextDocument& document_;
    QTextCursor cursor_;
    QString run_;
    RtfCharFormat runFormat_;
    bool paragraphPending_ = false;
};

}  // namespace editor
