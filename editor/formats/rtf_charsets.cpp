// Character sets and code pages of RTF files.
#include "editor/formats/rtf_charsets.h"

#include <array>
#include <utility>

#include "platform/code_pages.h"

namespace editor {

int CodePageOfCharset(int charset) {
    // The character sets of Windows' LOGFONT, as RTF writers use them.
    static constexpr std::array<std::pair<int, int>, 19> kCharsets = {{
        {0, 1252},   {2, 1252},   {77, 10000}, {128, 932},  {129, 949},
        {130, 1361}, {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
        {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
        {222, 874},  {238, 1250}, {254, 437},  {255, 850},
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
    default: break;
    }
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258)) {
        return "windows-" + QByteArray::number(codePage);
    }
    return "CP" + QByteArray::number(codePage);
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

}  // namespace editor
