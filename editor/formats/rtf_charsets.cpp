// SPDX-License-Identifier: GPL-3.0-or-later
// Character sets and code pages of RTF files.
#include "editor/formats/rtf_charsets.h"

#include <QStringEncoder>

#include <array>
#include <utility>

#include "platform/code_pages.h"

namespace editor {

int CodePageOfCharset(int charset) {
    // The character sets of Windows' LOGFONT, as RTF writers use them.
    // 77 to 89 are the Mac's, read in the Mac code pages as Windows numbers them.
    static constexpr std::array<std::pair<int, int>, 31> kCharsets = {{
        {0, 1252},    {2, 1252},    {77, 10000},  {78, 10001},  {79, 10003},  {80, 10008},
        {81, 10002},  {82, 10003},  {83, 10005},  {84, 10004},  {85, 10006},  {86, 10081},
        {87, 10021},  {88, 10029},  {89, 10007},  {128, 932},   {129, 949},   {130, 1361},
        {134, 936},   {136, 950},   {161, 1253},  {162, 1254},  {163, 1258},  {177, 1255},
        {178, 1256},  {186, 1257},  {204, 1251},  {222, 874},   {238, 1250},  {254, 437},
        {255, 850},
    }};
    for (const auto& [set, codePage] : kCharsets) {
        if (set == charset) return codePage;
    }
    return 0;
}

namespace {

QByteArray QtCodecName(int codePage) {
    switch (codePage) {
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1361: return "johab";
    // The Mac's: its Chinese and Korean are the EUC and Big5 forms Windows reads them as,
    // its Thai is TIS-620 with a few extra signs; Japanese is handled apart.
    case 10001: return "Shift_JIS";
    case 10002: return "Big5";
    case 10003: return "windows-949";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10008: return "GBK";
    case 10021: return "TIS-620";
    case 10029: return "x-mac-centraleurroman";
    case 10081: return "x-mac-turkish";
    default: break;
    }
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258)) {
        return "windows-" + QByteArray::number(codePage);
    }
    return "CP" + QByteArray::number(codePage);
}

// The upper halves of the Mac's Arabic and Hebrew code pages, which Qt lacks (Apple's
// published tables, the private-use hints for right-to-left forms left out).
constexpr char16_t kMacArabic[128] = {
    0x00C4, 0x00A0, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x06BA, 0x00AB, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x2026, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00BB, 0x00F4, 0x00F6, 0x00F7, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x066A, 0x0026, 0x0027,
    0x0028, 0x0029, 0x002A, 0x002B, 0x060C, 0x002D, 0x002E, 0x002F,
    0x0660, 0x0661, 0x0662, 0x0663, 0x0664, 0x0665, 0x0666, 0x0667,
    0x0668, 0x0669, 0x003A, 0x061B, 0x003C, 0x003D, 0x003E, 0x061F,
    0x274A, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F,
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x0637,
    0x0638, 0x0639, 0x063A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0640, 0x0641, 0x0642, 0x0643, 0x0644, 0x0645, 0x0646, 0x0647,
    0x0648, 0x0649, 0x064A, 0x064B, 0x064C, 0x064D, 0x064E, 0x064F,
    0x0650, 0x0651, 0x0652, 0x067E, 0x0679, 0x0686, 0x06D5, 0x06A4,
    0x06AF, 0x0688, 0x0691, 0x007B, 0x007C, 0x007D, 0x0698, 0x06D2,
};
constexpr char16_t kMacHebrew[128] = {
    0x00C4, 0x05F2, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x20AA, 0x0027,
    0x0029, 0x0028, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x05DC, 0x201E, 0xF89B, 0xF89C, 0xF89D, 0xF89E, 0x05BC, 0xFB4B,
    0xFB35, 0x2026, 0x00A0, 0x05B8, 0x05B7, 0x05B5, 0x05B6, 0x05B4,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0xFB2A, 0xFB2B,
    0x05BF, 0x05B0, 0x05B2, 0x05B1, 0x05BB, 0x05B9, 0x05B8, 0x05B3,
    0x05D0, 0x05D1, 0x05D2, 0x05D3, 0x05D4, 0x05D5, 0x05D6, 0x05D7,
    0x05D8, 0x05D9, 0x05DA, 0x05DB, 0x05DC, 0x05DD, 0x05DE, 0x05DF,
    0x05E0, 0x05E1, 0x05E2, 0x05E3, 0x05E4, 0x05E5, 0x05E6, 0x05E7,
    0x05E8, 0x05E9, 0x05EA, 0x007D, 0x005D, 0x007B, 0x005B, 0x007C,
};

const char16_t* MacUpperHalf(int codePage) {
    if (codePage == 10004) return kMacArabic;
    if (codePage == 10005) return kMacHebrew;
    return nullptr;
}

// Mac Japanese is Shift_JIS with four single bytes of its own.
char16_t MacJapaneseSingleByte(unsigned char byte) {
    switch (byte) {
    case 0x80: return u'\\';
    case 0xA0: return 0x00A0;
    case 0xFD: return 0x00A9;
    case 0xFE: return 0x2122;
    case 0xFF: return 0x2026;
    default: return 0;
    }
}

bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

QString DecodeByTable(int codePage, QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t cp = platform::CodePageByteToCodePoint(codePage, byte);
        *out++ = QChar(static_cast<char16_t>(cp));
    }
    return text;
}

}  // namespace

QString CodePageDecoder::decode(int codePage, QByteArrayView bytes) {
    if (const char16_t* upper = MacUpperHalf(codePage)) {
        QString text(bytes.size(), Qt::Uninitialized);
        QChar* out = text.data();
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            *out++ = QChar(byte < 0x80 ? char16_t{byte} : upper[byte - 0x80]);
        }
        return text;
    }
    if (codePage == 10001) return decodeMacJapanese(bytes);
    if (!platform::IsKnownSingleByteCodePage(codePage)) {
        auto found = converters_.find(codePage);
        if (found == converters_.end()) {
            const QByteArray name = QtCodecName(codePage);
            QStringDecoder converter(name.constData(), QStringDecoder::Flag::Stateless);
            found = converters_.emplace(codePage, std::move(converter)).first;
        }
        if (found->second.isValid()) return found->second.decode(bytes);
        codePage = 1252;
    }
    return DecodeByTable(codePage, bytes);
}

QString CodePageDecoder::decodeMacJapanese(QByteArrayView bytes) {
    QString text;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (IsShiftJisLeadByte(byte)) {
            ++i;
        } else if (const char16_t own = MacJapaneseSingleByte(byte); own != 0) {
            text += decode(932, bytes.sliced(start, i - start));
            text += QChar(own);
            start = i + 1;
        }
    }
    if (start < bytes.size()) text += decode(932, bytes.sliced(start));
    return text;
}

}  // namespace editor

namespace editor {

std::pair<int, QByteArray> EncodeInCharset(const QString& name, int declared) {
    static constexpr int kCharsets[] = {0, 204, 161, 238, 162, 177, 178, 186, 222, 163, 128, 134, 136, 129};
    for (int charset : kCharsets) {
        if (charset == 0) charset = declared;
        if (CodePageOfCharset(charset) == 0 || CodePageOfCharset(charset) == 1252) continue;
        const int codePage = CodePageOfCharset(charset);
        QStringEncoder encoder(QtCodecName(codePage).constData());
        if (!encoder.isValid()) continue;
        QByteArray bytes = encoder.encode(name);
        // Encoders put "?" for what they cannot encode; the bytes must read back whole.
        if (encoder.hasError() || CodePageDecoder().decode(codePage, bytes) != name) continue;
        static constexpr char kHex[] = "0123456789abcdef";
        QByteArray rtf;
        for (const QChar ch : name) {
            if (ch == u'\\' || ch == u'{' || ch == u'}') {
                rtf += '\\';
                rtf += static_cast<char>(ch.unicode());
            } else if (ch.unicode() >= 0x20 && ch.unicode() < 0x80 && ch != u';') {
                rtf += static_cast<char>(ch.unicode());
            } else {
                const QByteArray encoded = encoder.encode(QStringView(&ch, 1));
                for (const char c : encoded) {
                    const auto b = static_cast<unsigned char>(c);
                    rtf += "\\'";
                    rtf += kHex[b >> 4];
                    rtf += kHex[b & 0x0F];
                }
            }
        }
        return {charset, rtf};
    }
    return {0, {}};
}

}  // namespace editor
