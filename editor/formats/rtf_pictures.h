// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures in RTF (\pict): read into the document as images with their original bytes kept
// beside them, and written back as \pict groups.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QTextImageFormat>

#include <cstddef>
#include <string_view>

class QTextDocument;

namespace editor {

// Decoded pictures of one document may take this much memory together; a picture beyond it
// shows as a box and is still written back whole.
constexpr std::size_t kPictureMemoryBound = 64u << 20;

// One \pict group: its words as written (without the data) and its bytes.
class RtfPictureReader {
public:
    void begin();
    void word(std::string_view name, bool hasParameter, int parameter);
    // The hex digits of the data; blanks and anything else between them are passed over.
    void readHex(std::string_view text);
    void appendBinary(QByteArrayView data);
    // The size of the shape that holds the picture (twips), its size where it has no goal.
    void setFrame(int width, int height);

    // Puts the picture into the document's resources and gives the format that shows it.
    // `used` is the picture memory the document's earlier pictures took.
    QTextImageFormat finish(QTextDocument& document, std::size_t& used);

private:
    enum class Kind { Png, Jpeg, Other };
    Kind kind_ = Kind::Other;
    QByteArray words_;
    QByteArray data_;
    int high_ = -1;  // the first hex digit of a byte not yet complete
    int width_ = 0, height_ = 0;          // \picw \pich: pixels, or 0.01 mm for metafiles
    int goalWidth_ = 0, goalHeight_ = 0;  // \picwgoal \pichgoal: twips
    int scaleX_ = 100, scaleY_ = 100;     // \picscalex \picscaley: percent
};

// The \pict group of an image in the document, from its original bytes where it has them,
// else as PNG; empty when the document holds no such image.
QByteArray PictureGroup(const QTextDocument& document, const QTextImageFormat& format);

}  // namespace editor
