// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures, links, the sizes shown and the font names: read into the document and written
// back so that a reload and other word processors see the same.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <memory>

#include "editor/formats/rtf_pictures.h"
#include "editor/formats/rtf_writer.h"
#include "rtf_test_support.h"

namespace {

using editor_test::FormatAt;

QByteArray Png(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0, 102, 204));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QTextImageFormat PictureAt(const QTextDocument& document) {
    const QTextCharFormat format = FormatAt(document, QString(QChar::ObjectReplacementCharacter));
    EXPECT_TRUE(format.isImageFormat());
    return format.toImageFormat();
}

TEST(RtfPictures, ShownAtTheirSizeAndWrittenBackWithTheirBytes) {
    const QByteArray png = Png(12, 8);
    const struct {
        const char* name;
        QByteArray pict;  // the words before the data
        QByteArray data;
        int width, height;  // shown, pixels
        QRgb centre;        // of the image Qt draws
    } cases[] = {
        {"PNG at its own size", "\\pngblip\\picw12\\pich8", png, 12, 8, qRgb(0, 102, 204)},
        {"goal size and scale", "\\pngblip\\picw12\\pich8\\picwgoal600\\pichgoal300\\picscalex50\\picscaley200",
         png, 20, 40, qRgb(0, 102, 204)},
        {"no size words: the picture's own", "\\pngblip", png, 12, 8, qRgb(0, 102, 204)},
        {"a width beyond int: the widest we show", "\\pngblip\\picw2147483647\\pich8\\picscalex8010", png,
         20'000, 8, qRgb(0, 102, 204)},
        {"a metafile: a box of its size (0.01 mm)", "\\wmetafile8\\picw2540\\pich1270", "\x01\x00\x09", 96, 48,
         qRgb(235, 235, 235)},
        {"a Mac picture with its goal", "\\macpict\\picwgoal150\\pichgoal300", "\x00\x11", 10, 20, qRgb(235, 235, 235)},
        {"damaged PNG: a box", "\\pngblip\\picwgoal150\\pichgoal150", "\x89PNG", 10, 10, qRgb(235, 235, 235)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray rtf = "{\\rtf1 a{\\pict" + c.pict + "\r\n" + c.data.toHex() + "}b}";
        QTextDocument document;
        editor::ReadRtf(rtf, document);
        EXPECT_EQ(editor_test::Text(document), QStringLiteral("a\uFFFCb"));
        const QTextImageFormat picture = PictureAt(document);
        EXPECT_EQ(picture.width(), c.width);
        EXPECT_EQ(picture.height(), c.height);
        const QImage image = document.resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.pixel(image.width() / 2, image.height() / 2), c.centre);
        // Written back: the same words and bytes, and the same picture when read again.
        const QByteArray written = editor::WriteRtf(document);
        EXPECT_TRUE(QByteArray(written).replace("\r\n", "").contains("{\\pict" + c.pict + c.data.toHex() + "}"))
            << written.toStdString();
        QTextDocument reread;
        editor::ReadRtf(written, reread);
        EXPECT_EQ(PictureAt(reread).width(), c.width);
        // The recovery copy writes a clone: the picture's bytes go with it.
        const std::unique_ptr<QTextDocument> clone(document.clone());
        EXPECT_EQ(editor::WriteRtf(*clone), written);
    }
}

TEST(RtfPictures, ReadInEveryShapeWordProcessorsWrite) {
    const QByteArray hex = Png(12, 8).toHex();
    const struct {
        const char* name;
        QByteArray rtf;
        int width;
    } cases[] = {
        {"\\shppict beside \\nonshppict", "{\\*\\shppict{\\pict\\pngblip " + hex + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}", 12},
        {"properties and uid inside the picture",
         "{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\pngblip{\\blipuid 00ff}" + hex + "}", 12},
        {"binary data", "{\\pict\\pngblip\\bin" + QByteArray::number(hex.size() / 2) + " " + QByteArray::fromHex(hex) + "}", 12},
        {"a shape's picture at the shape's size, not its fill",
         "{\\shp{\\*\\shpinst\\shpleft0\\shptop0\\shpright300\\shpbottom150{\\sp{\\sn fillBlip}{\\sv{\\pict\\wmetafile8 01}}}"
         "{\\sp{\\sn pib}{\\sv{\\pict\\pngblip " + hex + "}}}}{\\shprslt{\\pict\\wmetafile8 01}}}",
         20},
    };
    for (const auto& c : cases) {
        QTextDocument document;
        editor::ReadRtf("{\\rtf1 a" + c.rtf + "b}", document);
        EXPECT_EQ(editor_test::Text(document), QStringLiteral("a\uFFFCb")) << c.name;
        EXPECT_EQ(PictureAt(document).width(), c.width) << c.name;
    }
    QTextDocument frame;
    editor::ReadRtf("{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt Rahmen\\par}}}b}", frame);
    EXPECT_EQ(editor_test::Text(frame), QStringLiteral("aRahmen\nb"));
}

// Pictures beyond the memory bound show as a box (a small one, whatever their size) and
// are still written back whole.
TEST(RtfPictures, CountTowardsTheMemoryBound) {
    const QByteArray png = Png(100, 50);
    const auto read = [&png](std::size_t used) {
        editor::RtfPictureReader reader;
        reader.begin();
        reader.word("pngblip", false, 0);
        reader.appendBinary(png);
        QTextDocument document;
        const std::size_t before = used;
        const QTextImageFormat format = reader.finish(document, used);
        const QImage image = document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
        return std::pair{image, used - before};
    };
    const auto [fits, fitsCost] = read(editor::kPictureMemoryBound - 100 * 50 * 4);
    EXPECT_EQ(fits.size(), QSize(100, 50));
    EXPECT_EQ(fits.pixel(50, 25), qRgb(0, 102, 204));
    EXPECT_EQ(fitsCost, 100u * 50 * 4);
    const auto [box, boxCost] = read(editor::kPictureMemoryBound - 100 * 50 * 4 + 1);
    EXPECT_EQ(box.size(), QSize(2, 2));
    EXPECT_EQ(boxCost, 0u);
}

TEST(RtfLinks, HyperlinkFieldsAreAnchorsAndWrittenBackAsFields) {
    const struct {
        const char* instruction;
        const char* target;  // empty: no link
    } cases[] = {
        {"HYPERLINK \"https://example.org/a b\"", "https://example.org/a b"},
        {" HYPERLINK https://example.org/x ", "https://example.org/x"},
        {"hyperlink \"https://example.org\" \\\\l \"Teil\" \\\\o \"Tipp\"", "https://example.org#Teil"},
        {"HYPERLINK \\\\l \"Marke\"", "#Marke"},
        {"HYPERLINK \"C:\\\\\\\\Notizen\\\\\\\\a.rtf\"", "C:\\Notizen\\a.rtf"},
        {"PAGE", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.instruction);
        QTextDocument document;
        editor::ReadRtf(QByteArray("{\\rtf1 a{\\field{\\*\\fldinst{") + c.instruction +
                            "}}{\\fldrslt{\\plain\\ul Link}}} b}",
                        document);
        EXPECT_EQ(editor_test::Text(document), QStringLiteral("aLink b"));
        EXPECT_EQ(FormatAt(document, "Link").anchorHref().toStdString(), c.target);
        EXPECT_FALSE(FormatAt(document, " b").isAnchor());
        QTextDocument reread;
        editor::ReadRtf(editor::WriteRtf(document), reread);
        EXPECT_EQ(FormatAt(reread, "Link").anchorHref().toStdString(), c.target);
        EXPECT_EQ(editor_test::Text(reread), QStringLiteral("aLink b"));
    }
    // Pasted HTML: its links and its heading's size are what the writer writes.
    QTextDocument pasted;
    pasted.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    pasted.setHtml(QStringLiteral("<h1>Titel</h1><p>Siehe <a href=\"https://example.org/\">hier</a>.</p>"
                                  "<p><span style=\"font-size:16px\">Pixel</span></p>"));
    const QByteArray written = editor::WriteRtf(pasted);
    EXPECT_TRUE(written.contains("{\\field{\\*\\fldinst{HYPERLINK \"https://example.org/\"}}{\\fldrslt{"));
    QTextDocument reread;
    editor::ReadRtf(written, reread);
    EXPECT_EQ(FormatAt(reread, "Titel").fontPointSize(), 20);  // Qt shows <h1> at twice the size
    EXPECT_EQ(FormatAt(reread, "Pixel").fontPointSize(), 12);
    EXPECT_EQ(FormatAt(reread, "hier").anchorHref(), QStringLiteral("https://example.org/"));
}

TEST(RtfFonts, NamesGoInTheirOwnCharacterSet) {
    const struct {
        QString family;
        const char* entry;  // in the font table
    } cases[] = {
        {QString::fromUtf8("ＭＳ 明朝"), "\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;"},
        {QString::fromUtf8("微软雅黑"), "\\fcharset134 \\'ce\\'a2\\'c8\\'ed\\'d1\\'c5\\'ba\\'da;"},
        {QString::fromUtf8("Шрифт"), "\\fcharset204 \\'d8\\'f0\\'e8\\'f4\\'f2;"},
        {QString::fromUtf8("Grün"), "\\fcharset0 Gr\\'fcn;"},
    };
    for (const auto& c : cases) {
        QTextDocument document;
        QTextCharFormat format;
        format.setFontFamilies({c.family});
        // Backslash, tilde and DEL are other characters in some sets: they go as \uN there.
        QTextCursor(&document).insertText(QString::fromUtf8("Grüße 甲 \\~\x7f"), format);
        const QByteArray written = editor::WriteRtf(document);
        EXPECT_TRUE(written.contains(c.entry)) << written.left(200).toStdString();
        QTextDocument reread;
        editor::ReadRtf(written, reread);
        EXPECT_EQ(editor_test::Family(FormatAt(reread, QString::fromUtf8("Grüße"))), c.family);
        EXPECT_EQ(editor_test::Text(reread), QString::fromUtf8("Grüße 甲 \\~\x7f"));
    }
    // The character set the file declared wins: 宋体 is Japanese too, but this one is Chinese.
    QTextDocument declared;
    editor::ReadRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0 x}", declared);
    EXPECT_TRUE(editor::WriteRtf(declared).contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;"));
}

TEST(RtfFonts, EastAsianSymbolsTakeTheEastAsianSize) {
    QTextDocument document;
    editor::ReadRtf("{\\rtf1\\fs20\\dbch\\afs28 \\u26085?\\u9312?\\u8555? x}", document);
    EXPECT_EQ(FormatAt(document, QString::fromUtf8("①")).fontPointSize(), 14);
    EXPECT_EQ(FormatAt(document, QString::fromUtf8("Ⅻ")).fontPointSize(), 14);
    EXPECT_EQ(FormatAt(document, QStringLiteral("x")).fontPointSize(), 10);
}

}  // namespace
