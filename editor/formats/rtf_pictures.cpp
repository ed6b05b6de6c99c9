// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures between RTF and the document. Each picture is two resources of the document:
// "tolvane-picture:N", the image Qt draws (PNG and JPEG decoded, at most at twice the size
// shown; other kinds and pictures beyond the memory bound a grey box), and
// "tolvane-picture-rtf:N", the words and bytes of its \pict group, written back unchanged.
#include "editor/formats/rtf_pictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QThread>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <array>
#include <atomic>

namespace editor {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kMaxPixels = 20'000;  // wider or higher than any page: damage
constexpr int kMaxBox = 256;        // a box is drawn at most this large and scaled
constexpr qsizetype kHexPerLine = 128;

const QString kImagePrefix = QStringLiteral("tolvane-picture:");
const QString kOriginalPrefix = QStringLiteral("tolvane-picture-rtf:");

// -1 for a character that is no hex digit.
constexpr std::array<signed char, 256> kHexValues = [] {
    std::array<signed char, 256> values{};
    for (auto& v : values) v = -1;
    for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<signed char>(i);
    for (int i = 0; i < 6; ++i) {
        values['a' + i] = values['A' + i] = static_cast<signed char>(10 + i);
    }
    return values;
}();

int Percent(int parameter) { return std::clamp(parameter, 1, 10'000); }

QImage Box(int width, int height) {
    QImage box(std::clamp(width, 2, kMaxBox), std::clamp(height, 2, kMaxBox), QImage::Format_RGB32);
    box.fill(QColor(235, 235, 235));
    QPainter painter(&box);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, box.width() - 1, box.height() - 1);
    return box;
}

std::size_t ImageBytes(QSize size) {
    return static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()) * 4;
}

void AppendHex(QByteArray& out, QByteArrayView data) {
    static constexpr char kHex[] = "0123456789abcdef";
    const qsizetype start = out.size();
    const qsizetype lines = (data.size() + kHexPerLine / 2 - 1) / (kHexPerLine / 2);
    out.resize(start + data.size() * 2 + lines * 2);
    char* at = out.data() + start;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i % (kHexPerLine / 2) == 0) {
            *at++ = '\r';
            *at++ = '\n';
        }
        const auto b = static_cast<unsigned char>(data[i]);
        *at++ = kHex[b >> 4];
        *at++ = kHex[b & 0x0F];
    }
}

}  // namespace

void RtfPictureReader::begin() { *this = RtfPictureReader{}; }

void RtfPictureReader::word(std::string_view name, bool hasParameter, int parameter) {
    if (name == "bin") return;  // the data is written back as hex
    words_ += '\\';
    words_.append(name.data(), static_cast<qsizetype>(name.size()));
    if (hasParameter) words_ += QByteArray::number(parameter);
    const int positive = std::max(parameter, 0);
    if (name == "pngblip") {
        kind_ = Kind::Png;
    } else if (name == "jpegblip") {
        kind_ = Kind::Jpeg;
    } else if (name == "emfblip" || name == "wmetafile" || name == "macpict" ||
               name == "pmmetafile" || name == "dibitmap" || name == "wbitmap") {
        kind_ = Kind::Other;
    } else if (name == "picw") {
        width_ = positive;
    } else if (name == "pich") {
        height_ = positive;
    } else if (name == "picwgoal") {
        goalWidth_ = positive;
    } else if (name == "pichgoal") {
        goalHeight_ = positive;
    } else if (name == "picscalex") {
        scaleX_ = Percent(parameter);
    } else if (name == "picscaley") {
        scaleY_ = Percent(parameter);
    }
}

void RtfPictureReader::readHex(std::string_view text) {
    // Written straight into the data's buffer: a picture of 5 MB is 10 MB of digits.
    const qsizetype start = data_.size();
    data_.resize(start + static_cast<qsizetype>(text.size() / 2) + 1);
    char* out = data_.data() + start;
    int high = high_;
    for (const char c : text) {
        const int value = kHexValues[static_cast<unsigned char>(c)];
        if (value < 0) continue;
        if (high < 0) {
            high = value;
        } else {
            *out++ = static_cast<char>(high * 16 + value);
            high = -1;
        }
    }
    high_ = high;
    data_.truncate(out - data_.constData());
}

void RtfPictureReader::appendBinary(QByteArrayView data) { data_ += data; }

void RtfPictureReader::setFrame(int width, int height) {
    // Written into the picture's words, so that the picture keeps its size without the shape.
    if (goalWidth_ == 0 && width > 0) {
        word("picwgoal", true, static_cast<int>(static_cast<long long>(width) * 100 / scaleX_));
    }
    if (goalHeight_ == 0 && height > 0) {
        word("pichgoal", true, static_cast<int>(static_cast<long long>(height) * 100 / scaleY_));
    }
}

QTextImageFormat RtfPictureReader::finish(QTextDocument& document, std::size_t& used) {
    // The size shown: the goal size where the file gives one, else the picture's own
    // (pixels at 96 dpi for bitmaps, 0.01 mm for metafiles), scaled.
    const bool bitmap = kind_ != Kind::Other;
    const auto twips = [bitmap](int goal, int own) {
        if (goal > 0) return static_cast<double>(goal);
        return bitmap ? own * kTwipsPerPixel : own * 1440.0 / 2540.0;
    };
    QImage image;
    QImageReader reader;
    QBuffer buffer(&data_);
    if (bitmap) {
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setFormat(kind_ == Kind::Png ? "png" : "jpeg");
    }
    const QSize own = bitmap ? reader.size() : QSize();
    const int ownWidth = width_ > 0 || !own.isValid() ? width_ : own.width();
    const int ownHeight = height_ > 0 || !own.isValid() ? height_ : own.height();
    const double shownWidth = twips(goalWidth_, ownWidth) * scaleX_ / 100.0 / kTwipsPerPixel;
    const double shownHeight = twips(goalHeight_, ownHeight) * scaleY_ / 100.0 / kTwipsPerPixel;
    // Bounded before the conversion: a size beyond int would be no number at all.
    const auto pixels = [](double shown) {
        return static_cast<int>(std::clamp(shown + 0.5, 1.0, static_cast<double>(kMaxPixels)));
    };
    const int width = pixels(shownWidth);
    const int height = pixels(shownHeight);

    if (own.isValid() && !own.isEmpty()) {
        // Decoded at most at twice the size shown: sharp enough for print, and no bigger.
        QSize decoded = own;
        if (decoded.width() > 2 * width || decoded.height() > 2 * height) {
            decoded = own.scaled(QSize(2 * width, 2 * height), Qt::KeepAspectRatio)
                          .expandedTo(QSize(1, 1));
        }
        if (used + ImageBytes(decoded) <= kPictureMemoryBound) {
            if (decoded != own) reader.setScaledSize(decoded);
            image = reader.read();
            if (!image.isNull()) used += ImageBytes(image.size());
        }
    }
    if (image.isNull()) {
        image = Box(width, height);
        if (used + ImageBytes(image.size()) > kPictureMemoryBound) {
            static const QImage kTiny = Box(2, 2);
            image = kTiny;
        } else {
            used += ImageBytes(image.size());
        }
    }

    data_.squeeze();  // kept as long as the document: no room to spare
    static std::atomic<unsigned> counter{0};
    const QString number = QString::number(++counter);
    document.addResource(QTextDocument::ImageResource, QUrl(kImagePrefix + number), image);
    document.addResource(QTextDocument::UserResource, QUrl(kOriginalPrefix + number),
                         QVariant::fromValue(QByteArrayList{words_, data_}));
    QTextImageFormat format;
    format.setName(kImagePrefix + number);
    format.setWidth(width);
    format.setHeight(height);
    return format;
}

QByteArray PictureGroup(const QTextDocument& document, const QTextImageFormat& format) {
    const QString name = format.name();
    QByteArray out;
    if (name.startsWith(kImagePrefix)) {
        const QVariant original = document.resource(
            QTextDocument::UserResource, QUrl(kOriginalPrefix + name.mid(kImagePrefix.size())));
        if (original.userType() == QMetaType::QByteArrayList) {
            const QByteArrayList parts = original.value<QByteArrayList>();
            if (parts.size() == 2) {
                out += "{\\pict" + parts[0];
                AppendHex(out, parts[1]);
                out += '}';
                return out;
            }
        }
    }
    // An image that came another way (pasted, say) goes as PNG.
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    if (resource.userType() == QMetaType::QImage) {
        image = resource.value<QImage>();
    } else if (resource.userType() == QMetaType::QPixmap &&
               QCoreApplication::instance() != nullptr &&
               QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // Pixmaps belong to the GUI thread; the recovery copy's writer leaves them out.
        image = resource.value<QPixmap>().toImage();
    } else if (resource.userType() == QMetaType::QByteArray) {
        image.loadFromData(resource.toByteArray());
    }
    if (image.isNull()) return out;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const int width = format.hasProperty(QTextFormat::ImageWidth) ? qRound(format.width()) : image.width();
    const int height = format.hasProperty(QTextFormat::ImageHeight) ? qRound(format.height()) : image.height();
    out += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
           QByteArray::number(image.height()) + "\\picwgoal" + QByteArray::number(width * 15) +
           "\\pichgoal" + QByteArray::number(height * 15);
    AppendHex(out, png);
    out += '}';
    return out;
}

}  // namespace editor
